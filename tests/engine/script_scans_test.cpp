#include "engine/script_scans.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace quill {
namespace {

// A script buffer: every line followed by its NUL.
std::vector<uint8_t> Lines(std::initializer_list<std::string> lines) {
  std::vector<uint8_t> out;
  for (const std::string& line : lines) {
    out.insert(out.end(), line.begin(), line.end());
    out.push_back(0);
  }
  return out;
}

// The offset of the first line beginning with `text` (to state expected offsets).
uint32_t OffsetOf(const std::vector<uint8_t>& buffer, const std::string& text) {
  const std::string s(buffer.begin(), buffer.end());
  for (size_t at = 0; at < s.size(); at = s.find('\0', at) + 1) {
    if (s.compare(at, text.size(), text) == 0) return static_cast<uint32_t>(at);
  }
  ADD_FAILURE() << "no line " << text;
  return 0;
}

TEST(FindLabelTest, MatchesTheWholeRestOfTheLine) {
  const auto script =
      Lines({"*go loop", ":start", "text", ":Loop ", ":loop", "after loop", ":\x82\x61", "end"});
  struct Case {
    std::string name;
    int32_t offset;  // -1: not found
  };
  const Case cases[] = {
      {"start", static_cast<int32_t>(OffsetOf(script, "text"))},
      {"START", static_cast<int32_t>(OffsetOf(script, "text"))},
      {"LOOP", static_cast<int32_t>(OffsetOf(script, "after loop"))},  // ":Loop " has a blank
      {"loop ", static_cast<int32_t>(OffsetOf(script, ":loop"))},
      {"lo", -1},
      {"missing", -1},
      {"\x82\x61", static_cast<int32_t>(OffsetOf(script, "end"))},
      {"\x82\x41", -1},  // a trail byte is not a letter to fold
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLabel(script, c.name), c.offset) << c.name;
  }
}

TEST(FindLabelTest, ColonsInsideLinesCount) {
  const auto script = Lines({"say:here", "{:blk", "x"});
  EXPECT_EQ(FindLabel(script, "here"), static_cast<int32_t>(OffsetOf(script, "{:blk")));
  EXPECT_EQ(FindLabel(script, "blk"), static_cast<int32_t>(OffsetOf(script, "x")));
}

TEST(FindLabelTest, StaysInsideTheSpan) {
  const auto buffer = Lines({"a", ":lab"});
  const std::span<const uint8_t> whole(buffer);
  // The span ends inside ":lab": its end closes the line.
  const auto cut = whole.first(buffer.size() - 2);
  EXPECT_EQ(FindLabel(cut, "la"), static_cast<int32_t>(cut.size()));
  EXPECT_EQ(FindLabel(cut, "lab"), -1);
  EXPECT_EQ(FindLabel(whole, "la"), -1);
  EXPECT_EQ(FindLabel(std::span<const uint8_t>(), ""), -1);
  EXPECT_EQ(FindLabel(whole.first(1), ""), -1);
}

TEST(FindLineStartTest, OnlyAtTheStartOfALine) {
  const auto script = Lines({"}first", "ab", "c}", "}x", "{", "}"});
  struct Case {
    uint32_t from;
    uint8_t c;
    uint32_t found;
  };
  const uint32_t size = static_cast<uint32_t>(script.size());
  const Case cases[] = {
      {0, '}', 0},  // the buffer's first byte begins a line
      {1, '}', OffsetOf(script, "}x")},
      {OffsetOf(script, "}x"), '}', OffsetOf(script, "}x")},
      {OffsetOf(script, "}x") + 1, '}', OffsetOf(script, "{") + 2},
      {0, '{', OffsetOf(script, "{")},
      {0, 'q', kScanNotFound},
      {size - 1, '}', kScanNotFound},
      {size, '}', kScanNotFound},
      {kScanNotFound, '}', kScanNotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLineStart(script, c.from, c.c), c.found) << c.from << " " << c.c;
  }
}

TEST(SkipNamedBlockTest, FindsTheClosingLineOfTheSameName) {
  const auto script = Lines({"{:blk(1)", "text", "}:other", "}:BLKX", "}:blk ", "}:Blk", "}:blk"});
  const uint32_t body = OffsetOf(script, "text");
  const uint32_t close = OffsetOf(script, "}:Blk");
  EXPECT_EQ(SkipNamedBlock(script, body, "{:blk(1)"), close);
  EXPECT_EQ(SkipNamedBlock(script, body, "blk(1)"), close);
  EXPECT_EQ(SkipNamedBlock(script, body, "{:BLK"), close);
  EXPECT_EQ(SkipNamedBlock(script, close + 1, "{:blk"), close + 6);  // the last line
  EXPECT_EQ(SkipNamedBlock(script, body, "{:other"), OffsetOf(script, "}:other"));
  EXPECT_EQ(SkipNamedBlock(script, body, "{:none"), kScanNotFound);
  EXPECT_EQ(SkipNamedBlock(script, kScanNotFound, "{:blk"), kScanNotFound);
}

TEST(SkipNamedBlockTest, ByteScanAndSpanEnd) {
  const auto script = Lines({"{:b", "say}:b"});
  EXPECT_EQ(SkipNamedBlock(script, 4, "{:b"), 4u + 3u);  // "}:" inside a line
  // A closing line cut by the span's end: its end is the span's end.
  const auto buffer = Lines({"{:b", "x", "}:b", "more"});
  const std::span<const uint8_t> whole(buffer);
  EXPECT_EQ(SkipNamedBlock(whole.first(9), 4, "{:b"), 6u);
  EXPECT_EQ(SkipNamedBlock(whole.first(8), 4, "{:b"), kScanNotFound);
  EXPECT_EQ(SkipNamedBlock(whole.first(7), 4, "{:b"), kScanNotFound);
}

TEST(FindNamedBlockTest, ComparesOverTheNamesLength) {
  const auto script = Lines({"a", "{:choiceB", "x", "{:Choice(2)", "x{:choice"});
  const uint32_t first = OffsetOf(script, "{:choiceB");
  const uint32_t second = OffsetOf(script, "{:Choice(2)");
  EXPECT_EQ(FindNamedBlock(script, 0, "CHOICE"), first);
  EXPECT_EQ(FindNamedBlock(script, first, "choice"), first);
  EXPECT_EQ(FindNamedBlock(script, first + 1, "choice"), second);
  EXPECT_EQ(FindNamedBlock(script, second + 1, "choice"), OffsetOf(script, "x{:choice") + 1);
  EXPECT_EQ(FindNamedBlock(script, 0, "choiceC"), kScanNotFound);
  // Bytes past the span are never compared.
  const std::span<const uint8_t> whole(script);
  EXPECT_EQ(FindNamedBlock(whole.first(first + 5), 0, "choice"), kScanNotFound);
  EXPECT_EQ(FindNamedBlock(whole.first(first + 8), 0, "choice"), first);
}

TEST(FindByteTest, SearchesAfterFrom) {
  const std::string text = "a,b,c";
  const std::vector<uint8_t> buffer(text.begin(), text.end());
  struct Case {
    uint32_t from;
    uint32_t found;
  };
  const Case cases[] = {{0, 1}, {1, 3}, {3, 3}, {4, 4}, {100, 100}, {kScanNotFound, kScanNotFound}};
  for (const Case& c : cases) {
    EXPECT_EQ(FindByte(buffer, c.from, ','), c.found) << c.from;
  }
  EXPECT_EQ(FindByte(std::span<const uint8_t>(buffer).first(3), 1, ','), 1u);
}

}  // namespace
}  // namespace quill
