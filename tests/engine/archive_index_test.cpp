#include "engine/archive_index.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "common/byte_io.h"
#include "common/file_util.h"
#include "engine/script_mask.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(ArchiveIndex, BothLayoutsRoundTrip) {
  for (ArchiveLayout layout : {ArchiveLayout::FixedWidth, ArchiveLayout::DeclaredWidth}) {
    std::vector<ArchiveMember> members{
        {"main", Bytes("first")}, {"Bg01", Bytes("")}, {"se_long_name", Bytes("xyz")}};
    std::string error;
    auto file = BuildArchive(layout, members, 16, &error);
    ASSERT_TRUE(file) << error;
    ArchiveReadResult r = ParseArchiveIndex(*file, layout);
    ASSERT_TRUE(r.index) << r.error;
    EXPECT_TRUE(r.skipped.empty());
    ASSERT_EQ(r.index->count(), 3u);
    // Names are upper-cased when read.
    EXPECT_EQ(r.index->names, (std::vector<std::string>{"MAIN", "BG01", "SE_LONG_NAME"}));
    for (size_t i = 0; i < members.size(); ++i) {
      std::vector<uint8_t> data(file->begin() + r.index->offsets[i],
                                file->begin() + r.index->offsets[i] + r.index->sizes[i]);
      EXPECT_EQ(data, members[i].data);
    }
  }
}

TEST(ArchiveIndex, FixedLayoutHasSixtyFourByteEntries) {
  std::string error;
  auto file = BuildArchive(ArchiveLayout::FixedWidth, {{"a", Bytes("q")}}, 0, &error);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->size(), 4u + 64 + 1);
  ByteReader r(*file);
  EXPECT_EQ(r.U32(), 1u);
  EXPECT_EQ(r.FixedString(56), "a");
  EXPECT_EQ(r.U32(), 68u);
  EXPECT_EQ(r.U32(), 1u);
}

TEST(ArchiveIndex, LookupIgnoresCaseAndTheFirstEqualNameWins) {
  ArchiveIndex index;
  index.names = {"MAIN", "SUB", "MAIN"};
  index.offsets = {10, 20, 30};
  index.sizes = {1, 2, 3};
  EXPECT_EQ(index.Find("main"), 0);
  EXPECT_EQ(index.Find("Main"), 0);
  EXPECT_EQ(index.Find("sub"), 1);
  EXPECT_EQ(index.Find("missing"), -1);
  EXPECT_EQ(index.Find("MAI"), -1);
}

std::vector<uint8_t> Header(std::initializer_list<uint32_t> words, size_t pad) {
  ByteWriter w;
  for (uint32_t v : words) w.U32(v);
  for (size_t i = 0; i < pad; ++i) w.U8(0);
  return w.Take();
}

TEST(ArchiveIndex, DamagedIndexesAreRefusedOrSkipped) {
  struct Case {
    const char* what;
    ArchiveLayout layout;
    std::vector<uint8_t> file;
    bool refused;
  };
  const Case cases[] = {
      {"empty file", ArchiveLayout::FixedWidth, {}, true},
      {"huge count", ArchiveLayout::FixedWidth, Header({0xFFFFFFFF}, 64), true},
      {"count one past the table", ArchiveLayout::FixedWidth, Header({2}, 64), true},
      {"huge name width", ArchiveLayout::DeclaredWidth, Header({1, 0xFFFFFFF0}, 32), true},
      {"zero name width", ArchiveLayout::DeclaredWidth, Header({1, 0}, 32), true},
      {"count past the table", ArchiveLayout::DeclaredWidth, Header({100000, 8}, 64), true},
      {"no width word", ArchiveLayout::DeclaredWidth, Header({0}, 0), true},
      {"zero entries", ArchiveLayout::DeclaredWidth, Header({0, 8}, 0), false},
  };
  for (const Case& c : cases) {
    ArchiveReadResult r = ParseArchiveIndex(c.file, c.layout);
    EXPECT_EQ(!r.index, c.refused) << c.what;
    if (c.refused) {
      EXPECT_FALSE(r.error.empty()) << c.what;
    }
  }
}

// A two-member declared-width archive (name width 8) whose second entry, BAD, gets the given
// offset and size.
std::vector<uint8_t> WithSecondEntry(uint32_t offset, uint32_t size) {
  std::string error;
  auto file = BuildArchive(ArchiveLayout::DeclaredWidth,
                           {{"GOOD", Bytes("ab")}, {"BAD", Bytes("cd")}}, 8, &error);
  EXPECT_TRUE(file) << error;
  if (!file) return {};
  ByteWriter w;
  w.U32(offset);
  w.U32(size);
  std::vector<uint8_t> fields = w.Take();
  std::copy(fields.begin(), fields.end(), file->begin() + 8 + 16 + 8);
  return *file;
}

TEST(ArchiveIndex, AnEntryWhoseDataPassesTheEndIsSkipped) {
  struct Case {
    const char* what;
    uint32_t offset, size;
  };
  const Case cases[] = {
      {"size past the end", 42, 0xFF},
      {"offset near 4 GiB", 0xFFFFFFF0, 2},
      {"offset and size wrapping past 4 GiB to a small sum", 0xFFFFFFF0, 0x20},
  };
  for (const Case& c : cases) {
    ArchiveReadResult r =
        ParseArchiveIndex(WithSecondEntry(c.offset, c.size), ArchiveLayout::DeclaredWidth);
    ASSERT_TRUE(r.index) << c.what;
    EXPECT_EQ(r.index->names, std::vector<std::string>{"GOOD"}) << c.what;
    ASSERT_EQ(r.skipped.size(), 1u) << c.what;
    EXPECT_NE(r.skipped[0].find("BAD"), std::string::npos) << c.what;
  }
}

// Offsets and sizes are 32-bit: in a file larger than 4 GiB (sparse here), an entry ending at the
// last 32-bit position is read, one whose end does not fit in 32 bits is refused.
TEST(ArchiveIndex, AnEntryEndingPastFourGibibytesIsSkippedInALargerFile) {
  test::TempDir dir;
  struct Case {
    uint32_t offset, size;
    bool kept;
  };
  const Case cases[] = {{0xFFFFFF00, 0xFF, true}, {0xFFFFFFF0, 0x20, false}};
  for (const Case& c : cases) {
    auto path = dir / "large.qlm";
    ASSERT_TRUE(WriteFileAtomic(path, WithSecondEntry(c.offset, c.size)));
    std::error_code ec;
    std::filesystem::resize_file(path, (uint64_t{1} << 32) + 4096, ec);
    ASSERT_FALSE(ec) << ec.message();
    ArchiveReadResult r = ReadArchiveIndex(path, ArchiveLayout::DeclaredWidth);
    ASSERT_TRUE(r.index) << r.error;
    EXPECT_EQ(r.index->count(), c.kept ? 2u : 1u) << std::hex << c.offset << " + " << c.size;
    EXPECT_EQ(r.skipped.size(), c.kept ? 0u : 1u);
    if (c.kept) {
      EXPECT_EQ(ReadArchiveMember(path, *r.index, 1), std::vector<uint8_t>(c.size, 0));
    }
  }
}

TEST(ArchiveIndex, ReadsFromFilesAndDetectsTheLayout) {
  test::TempDir dir;
  std::string error;
  for (ArchiveLayout layout : {ArchiveLayout::FixedWidth, ArchiveLayout::DeclaredWidth}) {
    // Single-letter names make the fixed layout's first bytes look like a small width word.
    auto file = BuildArchive(layout, {{"A", Bytes("1")}, {"B", Bytes("22")}}, 12, &error);
    ASSERT_TRUE(file);
    auto path = dir / "archive.qlm";
    ASSERT_TRUE(WriteFileAtomic(path, *file));
    ArchiveReadResult r = ReadArchiveIndexDetect(path);
    ASSERT_TRUE(r.index) << r.error;
    EXPECT_EQ(r.layout, layout);
    EXPECT_EQ(r.index->names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(*ReadArchiveMember(path, *r.index, 1), Bytes("22"));
  }
  EXPECT_FALSE(ReadArchiveIndex(dir / "missing.qlm", ArchiveLayout::FixedWidth).index);
}

TEST(ArchiveIndex, BuildRefusesNamesTooLongForTheLayout) {
  std::string error;
  EXPECT_FALSE(BuildArchive(ArchiveLayout::FixedWidth, {{std::string(56, 'x'), {}}}, 0, &error));
  EXPECT_NE(error.find("55"), std::string::npos);
  EXPECT_TRUE(BuildArchive(ArchiveLayout::FixedWidth, {{std::string(55, 'x'), {}}}, 0, &error));
  EXPECT_FALSE(BuildArchive(ArchiveLayout::DeclaredWidth, {{"ABCD", {}}}, 4, &error));
}

TEST(ScriptMask, RestartsAtKeyPositionZeroForEveryMember) {
  std::vector<uint8_t> plain = Bytes("kite_on_moss and more");
  std::vector<uint8_t> masked = plain;
  MaskScript(masked);
  // The key XOR itself is zero: the first twelve bytes vanish.
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(masked[i], 0) << i;
  EXPECT_EQ(masked[12], ' ' ^ 'k');
  MaskScript(masked);
  EXPECT_EQ(masked, plain);
}

}  // namespace
}  // namespace quill
