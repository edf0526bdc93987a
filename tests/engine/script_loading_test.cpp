// Script archives and LoadScript: which archive wins, case, unmasking, refused members, line
// limits, the start-up failure.
#include <gtest/gtest.h>

#include <filesystem>

#include "common/file_util.h"
#include "engine/archive_index.h"
#include "engine/call_stack.h"
#include "engine/script_mask.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_files.h"

namespace quill::test {
namespace {

std::string AuxText(Engine& e) {
  const ScriptBuffer& aux = e.aux_script();
  return std::string(reinterpret_cast<const char*>(aux.bytes.data()), aux.size);
}

// Writes mg_data.qlm by hand: members given as plain bytes, masked here.
void WriteRawArchive(const std::filesystem::path& folder,
                     std::vector<std::pair<std::string, std::vector<uint8_t>>> members) {
  std::vector<ArchiveMember> packed;
  for (auto& [name, bytes] : members) {
    MaskScript(bytes);
    packed.push_back({name, bytes});
  }
  std::string error;
  auto archive = BuildArchive(ArchiveLayout::FixedWidth, packed, 0, &error);
  ASSERT_TRUE(archive) << error;
  ASSERT_TRUE(WriteFileAtomic(folder / "mg_data.qlm", *archive, &error)) << error;
  // A game needs its first picture archive to start, even an empty one.
  auto pictures = BuildArchive(ArchiveLayout::DeclaredWidth, {}, 16, &error);
  ASSERT_TRUE(pictures) << error;
  ASSERT_TRUE(WriteFileAtomic(folder / "mg_gra.qlm", *pictures, &error)) << error;
}

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

TEST(ScriptLoadingTest, PatchArchiveIsSearchedFirst) {
  ScriptFixture f;
  f.game().Script("main", "*call story\n").Script("story", "old\n").Script("only_main", "m\n");
  f.game().PatchScript("story", "new\n");
  Engine& e = f.Start();
  ASSERT_TRUE(e.LoadScript("story", ScriptTarget::Aux));
  EXPECT_EQ(AuxText(e), std::string("new\0", 4));
  // Names the patch does not hold still come from the main archive.
  ASSERT_TRUE(e.LoadScript("only_main", ScriptTarget::Aux));
  EXPECT_EQ(AuxText(e), std::string("m\0", 2));
}

TEST(ScriptLoadingTest, LookupIgnoresCaseAndKeepsTheCallersSpelling) {
  ScriptFixture f;
  Engine& e = f.StartMain("text\n");
  for (const char* name : {"MAIN", "main", "Main"}) {
    SCOPED_TRACE(name);
    e.banks().SetS(10, 77);
    e.script_enabled = false;
    e.main_script().read_position = 3;
    ASSERT_TRUE(e.LoadScript(name, ScriptTarget::Main));
    EXPECT_EQ(e.loaded_script_name(), name);
    EXPECT_EQ(e.main_script().read_position, 0u);
    EXPECT_EQ(e.banks().S(10), 0);
    EXPECT_TRUE(e.fetch_line);
    EXPECT_TRUE(e.script_enabled);
  }
}

TEST(ScriptLoadingTest, EveryMemberIsUnmaskedFromKeyPositionZero) {
  // The second and third members lie at offsets that are not multiples of the key length.
  ScriptFixture f;
  f.game().Script("a", "x\n").Script("b", "0123456789abcdefghij\n").Script("main", "m\n");
  Engine& e = f.Start();
  ASSERT_TRUE(e.LoadScript("b", ScriptTarget::Aux));
  EXPECT_EQ(AuxText(e), std::string("0123456789abcdefghij\0", 21));
  ASSERT_TRUE(e.LoadScript("a", ScriptTarget::Aux));
  EXPECT_EQ(AuxText(e), std::string("x\0", 2));
}

TEST(ScriptLoadingTest, MissingScriptChangesNeitherBuffer) {
  ScriptFixture f;
  f.game().Script("cfg", "c\n");
  Engine& e = f.StartMain("line one\nline two\n");
  ASSERT_TRUE(e.LoadScript("cfg", ScriptTarget::Aux));
  e.main_script().read_position = 9;
  e.banks().SetS(10, 5);
  EXPECT_FALSE(e.LoadScript("nothing", ScriptTarget::Main));
  EXPECT_FALSE(e.LoadScript("nothing", ScriptTarget::Aux));
  EXPECT_EQ(e.main_script().read_position, 9u);
  EXPECT_EQ(e.main_script().size, 18u);
  EXPECT_EQ(e.banks().S(10), 5);
  EXPECT_EQ(e.loaded_script_name(), "main");
  EXPECT_EQ(AuxText(e), std::string("c\0", 2));
}

TEST(ScriptLoadingTest, MembersLargerThanABufferAreRefused) {
  TempDir dir;
  std::vector<uint8_t> fits(kScriptBufferBytes, 'a');
  fits.back() = 0;
  std::vector<uint8_t> too_big(kScriptBufferBytes + 1, 'b');
  WriteRawArchive(dir.path(),
                  {{"main", Bytes(std::string("m\0", 2))}, {"fits", fits}, {"big", too_big}});
  HeadlessPlatform platform(dir.path(), {});
  Engine e(platform, {});
  ASSERT_TRUE(e.FormCreate());
  ASSERT_TRUE(e.LoadScript("fits", ScriptTarget::Aux));
  EXPECT_EQ(e.aux_script().size, kScriptBufferBytes);
  EXPECT_FALSE(e.LoadScript("big", ScriptTarget::Aux));
  EXPECT_FALSE(e.LoadScript("big", ScriptTarget::Main));
  EXPECT_EQ(e.aux_script().size, kScriptBufferBytes);
  EXPECT_EQ(e.aux_script().bytes[0], 'a');
}

// Found by fuzzing: an empty member was copied from a null pointer.
TEST(ScriptLoadingTest, AnEmptyMemberLoadsAsAnEmptyScript) {
  TempDir dir;
  std::filesystem::copy_file(test::SourceDir() /
                                 "tests/fixtures/fuzz/script_archive-empty-member.qlm",
                             dir / "mg_data.qlm");
  ScriptArchives archives;
  std::string error;
  ASSERT_TRUE(archives.LoadArchiveIndexes(dir.path(), &error)) << error;
  auto found = archives.Lookup("empty");
  ASSERT_TRUE(found);
  ScriptBuffer buffer;
  buffer.size = 5;
  buffer.read_position = 3;
  ASSERT_TRUE(archives.ReadInto(*found, buffer));
  EXPECT_EQ(buffer.size, 0u);
  EXPECT_TRUE(buffer.AtEnd());
}

TEST(ScriptLoadingTest, LongLinesAreCutAndAMissingFinalNulEndsTheScript) {
  std::string long_line(3000, 'x');
  std::string plain = long_line + std::string("\0next\0last", 11);  // no NUL after "last"
  ScriptBuffer buffer;
  std::copy(plain.begin(), plain.end(), buffer.bytes.begin());
  buffer.size = static_cast<uint32_t>(plain.size());
  std::array<char, kLineBufferBytes> line{};
  buffer.FetchLine(line);
  EXPECT_EQ(std::string(line.data()), std::string(2047, 'x'));
  EXPECT_EQ(buffer.read_position, 3001u);
  buffer.FetchLine(line);
  EXPECT_EQ(std::string(line.data()), "next");
  buffer.FetchLine(line);
  EXPECT_EQ(std::string(line.data()), "last");
  EXPECT_EQ(buffer.read_position, buffer.size);
  EXPECT_TRUE(buffer.AtEnd());
}

TEST(ScriptLoadingTest, ArchiveFileNamesMatchIgnoringCase) {
  ScriptFixture f;
  f.game().Script("main", "m\n").PatchScript("extra", "p\n");
  f.game().Write();
  std::filesystem::rename(f.game().folder() / "mg_data.qlm", f.game().folder() / "MG_DATA.QLM");
  std::filesystem::rename(f.game().folder() / "mg_data2.qlm", f.game().folder() / "Mg_Data2.qlm");
  HeadlessPlatform platform(f.game().folder(), {});
  Engine e(platform, {});
  ASSERT_TRUE(e.FormCreate());
  EXPECT_TRUE(e.LoadScript("main", ScriptTarget::Aux));
  EXPECT_TRUE(e.LoadScript("extra", ScriptTarget::Aux));
}

TEST(ScriptLoadingTest, StartUpFailsWithoutTheMainArchive) {
  TempDir dir;
  HeadlessPlatform platform(dir.path(), {});
  Engine e(platform, {});
  EXPECT_FALSE(e.FormCreate());
}

TEST(ScriptLoadingTest, FirstFrameStartsMain) {
  ScriptFixture f;
  f.game().Script("main", "hello\n");
  f.game().Write();
  HeadlessPlatform platform(f.game().folder(), {});
  Engine e(platform, {});
  ASSERT_TRUE(e.FormCreate());
  EXPECT_TRUE(e.start_game);
  EXPECT_EQ(e.loaded_script_name(), "");
  e.AppIdle();
  EXPECT_FALSE(e.start_game);
  EXPECT_EQ(e.current_script_name(), "main");
  EXPECT_EQ(e.loaded_script_name(), "main");
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_TRUE(e.script_enabled);
}

TEST(ScriptLoadingTest, ScriptNamesAreCutTo29BytesWithoutSplittingACharacter) {
  struct Case {
    std::string name, expected;
  } cases[] = {
      {"short", "short"},
      {std::string(29, 'a'), std::string(29, 'a')},
      {std::string(40, 'a'), std::string(29, 'a')},
      // 28 single bytes and a two-byte character: the character would end at byte 30.
      {std::string(28, 'a') + "\x82\xa0", std::string(28, 'a')},
      {std::string(27, 'a') + "\x82\xa0" + "z", std::string(27, 'a') + "\x82\xa0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CutScriptName(c.name), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace quill::test
