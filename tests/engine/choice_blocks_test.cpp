#include "engine/choice_blocks.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace quill {
namespace {

std::vector<uint8_t> Lines(std::initializer_list<std::string> lines) {
  std::vector<uint8_t> out;
  for (const std::string& line : lines) {
    out.insert(out.end(), line.begin(), line.end());
    out.push_back(0);
  }
  return out;
}

uint32_t OffsetOf(const std::vector<uint8_t>& buffer, const std::string& text) {
  const std::string s(buffer.begin(), buffer.end());
  for (size_t at = 0; at < s.size(); at = s.find('\0', at) + 1) {
    if (s.compare(at, text.size(), text) == 0) return static_cast<uint32_t>(at);
  }
  ADD_FAILURE() << "no line " << text;
  return 0;
}

// Conditions are "1" (true) or anything else (false), up to their ")".
bool Holds(std::string_view condition) { return condition.substr(0, 1) == "1"; }
std::string_view Slot(int n) {
  static const std::string slots[10] = {"zero", "one", "two", "three"};
  return n < 4 ? std::string_view(slots[n]) : std::string_view();
}

std::vector<std::string> Texts(const SelectBlock& b) {
  std::vector<std::string> out;
  for (const SelectChoice& c : b.choices) out.push_back(c.text);
  return out;
}

TEST(SelectBlockTest, MarkupOfTheChoiceLines) {
  const std::string t63(63, 'x'), t64(64, 'x');
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"a false condition drops its choice, the rest move up",
       {"{First", "a", "{(0)Second", "b", "{(1)Third", "c", "}"},
       {"First", "Third"}},
      {"a condition anywhere is cut out", {"{Go (1)north", "}"}, {"Go north"}},
      {"63 bytes are kept, 64 drop the choice", {"{" + t63, "{" + t64, "}"}, {t63}},
      {"$d takes the slot's text", {"{ignored $3 rest", "{$x", "}"}, {"three", "zero"}},
      {"no { before the }", {"}", "{late"}, {}},
      {"lines after a choice are not choices", {"{a", "text", "*cmd", "{b", "}"}, {"a", "b"}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> script = Lines({"*select"});
    for (const std::string& l : c.lines) {
      script.insert(script.end(), l.begin(), l.end());
      script.push_back(0);
    }
    SelectBlock b = ReadSelectBlock(script, 8, Holds, Slot);
    EXPECT_EQ(Texts(b), c.texts) << c.what;
  }
}

TEST(SelectBlockTest, ResumePositions) {
  const auto script = Lines({"*select", "{A", "a1", "{(0)B", "b1", "{C$2tail", "c1", "}", "after"});
  SelectBlock b = ReadSelectBlock(script, OffsetOf(script, "{A"), Holds, Slot);
  ASSERT_EQ(b.choices.size(), 2u);
  EXPECT_EQ(b.choices[0].resume, OffsetOf(script, "a1"));
  // "$2" resumes right after the digit: "tail" is read as a line of its own.
  EXPECT_EQ(b.choices[1].resume, OffsetOf(script, "{C$2tail") + 4);
  EXPECT_EQ(b.choices[1].text, "two");
  EXPECT_EQ(b.close, OffsetOf(script, "}"));
}

TEST(SelectBlockTest, BadBlocksStayInsideTheScript) {
  // No "}" at all, a last line without its NUL, 40 choices (32 are taken), a 2047-byte line.
  std::vector<uint8_t> script = Lines({"*select", "{one", "{two"});
  script.push_back('{');
  script.push_back('z');
  SelectBlock open = ReadSelectBlock(script, 8, Holds, Slot);
  EXPECT_EQ(Texts(open), (std::vector<std::string>{"one", "two", "z"}));
  EXPECT_GE(open.close, script.size());
  EXPECT_LE(open.choices.back().resume, script.size());

  std::vector<uint8_t> many = Lines({"*select"});
  for (int i = 0; i < 40; ++i) {
    std::string l = "{c" + std::to_string(i);
    many.insert(many.end(), l.begin(), l.end());
    many.push_back(0);
  }
  many.push_back('}');
  many.push_back(0);
  SelectBlock capped = ReadSelectBlock(many, 8, Holds, Slot);
  EXPECT_EQ(capped.choices.size(), 32u);
  EXPECT_EQ(capped.close, many.size() - 2);

  const auto long_line = Lines({"*select", "{" + std::string(2046, 'y'), "{ok", "}"});
  EXPECT_EQ(Texts(ReadSelectBlock(long_line, 8, Holds, Slot)), (std::vector<std::string>{"ok"}));
}

TEST(ClickmapBlockTest, LinesBelongToTheirZones) {
  const auto script = Lines({"{", "a", "{(0)door", "b", "{(1)*lamp", "c", "{@5", "d", "}"});
  ClickmapBlock b = ReadClickmapBlock(script, 0, Holds);
  ASSERT_EQ(b.lines.size(), 4u);
  EXPECT_EQ(b.lines[0].kind, ClickmapLine::Kind::kChoice);
  EXPECT_EQ(b.lines[0].text, "");  // keeps the map's name
  EXPECT_EQ(b.lines[0].resume, OffsetOf(script, "a"));
  EXPECT_EQ(b.lines[1].kind, ClickmapLine::Kind::kDisabled);
  EXPECT_EQ(b.lines[2].text, "*lamp");
  EXPECT_EQ(b.lines[3].kind, ClickmapLine::Kind::kTimeout);
  EXPECT_EQ(b.lines[3].timeout, 5);
  EXPECT_EQ(b.lines[3].resume, OffsetOf(script, "d"));
  EXPECT_EQ(b.close, OffsetOf(script, "}"));
}

TEST(SwitchTest, CasesInOrderAndTheDefault) {
  struct Case {
    const char* what;
    std::vector<std::string> lines;
    std::string name;
    const char* taken;  // the line switch goes on at
  };
  const Case cases[] = {
      {"the bare { is taken where it stands",
       {"{(0)", "one", "{", "default", "{(1)", "two", "}", "after"},
       "",
       "default"},
      {"the first true case", {"{(0)", "one", "{(1)", "two", "{", "default", "}"}, "", "two"},
      {"nothing matches: the } line", {"{(0)", "one", "{x", "other", "}", "after"}, "", "}"},
      {"named cases skip the unnamed ones",
       {"{(1)", "plain", "{:sw(0)", "one", "{:SW", "default", "}:sw", "after"},
       "sw",
       "default"},
      {"a named switch without a match ends at }:NAME",
       {"{:sw(0)", "one", "{:other", "x", "}", "}:sw", "after"},
       "sw",
       "}:sw"},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> script = Lines({"*switch"});
    for (const std::string& l : c.lines) {
      script.insert(script.end(), l.begin(), l.end());
      script.push_back(0);
    }
    EXPECT_EQ(FindSwitchCase(script, 8, c.name, Holds), OffsetOf(script, c.taken)) << c.what;
  }
}

}  // namespace
}  // namespace quill
