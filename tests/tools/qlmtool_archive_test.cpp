// qlmtool's archive commands, run as a player or translator would run them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/file_util.h"
#include "engine/archive_index.h"
#include "engine/script_mask.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using test::WriteText;
using test::ReadText;

namespace fs = std::filesystem;
using test::RunProgram;

TEST(QlmtoolArchives, ScriptsRoundTripThroughPackListAndExtract) {
  test::TempDir dir;
  const std::string main_text = ":start1\n＄０「こんにちは」\n\\\n\n*chain sub\n";
  const std::string sub_text = "; comment\r\nｱｲｳ half-width\r\n";  // CRLF lines come back as LF
  WriteText(dir / "src/main.txt", main_text);
  WriteText(dir / "src/sub.txt", sub_text);
  auto packed = RunProgram("qlmtool", {"pack-scripts", (dir / "data.qlm").string(), (dir / "src").string()});
  ASSERT_EQ(packed.exit_code, 0) << packed.err;

  auto listed = RunProgram("qlmtool", {"list", (dir / "data.qlm").string()});
  ASSERT_EQ(listed.exit_code, 0) << listed.err;
  std::istringstream lines(listed.out);
  std::string name;
  uint32_t offset, size;
  lines >> name >> offset >> size;
  EXPECT_EQ(name, "MAIN");
  // Stored size: Shift-JIS bytes plus one NUL per line.
  EXPECT_EQ(size, 7u + 18u + 1u + 0u + 10u + 5u);
  lines >> name >> offset >> size;
  EXPECT_EQ(name, "SUB");

  auto extracted = RunProgram("qlmtool", {"extract", (dir / "data.qlm").string(), (dir / "out").string()});
  ASSERT_EQ(extracted.exit_code, 0) << extracted.err;
  EXPECT_EQ(ReadText(dir / "out/MAIN.txt"), main_text);
  EXPECT_EQ(ReadText(dir / "out/SUB.txt"), "; comment\nｱｲｳ half-width\n");

  // The stored member is masked from key position 0 even though it starts at an odd offset.
  auto index = ReadArchiveIndex(dir / "data.qlm", ArchiveLayout::FixedWidth);
  ASSERT_TRUE(index.index);
  auto member = ReadArchiveMember(dir / "data.qlm", *index.index, 1);
  ASSERT_TRUE(member);
  EXPECT_EQ(index.index->offsets[1] % 2, 1u);
  MaskScript(*member);
  EXPECT_EQ(std::string(member->begin(), member->begin() + 9), "; comment");
}

TEST(QlmtoolArchives, ResourceArchivesRoundTrip) {
  test::TempDir dir;
  WriteText(dir / "in/bg01.bmp", "picture bytes");
  WriteText(dir / "in/Voice_A.ogg", std::string("\0\1\2", 3));
  auto packed = RunProgram("qlmtool", {"pack", (dir / "res.qlm").string(), (dir / "in/bg01.bmp").string(),
                                       (dir / "in/Voice_A.ogg").string(), "--name-width", "20"});
  ASSERT_EQ(packed.exit_code, 0) << packed.err;
  auto index = ReadArchiveIndex(dir / "res.qlm", ArchiveLayout::DeclaredWidth);
  ASSERT_TRUE(index.index) << index.error;
  EXPECT_EQ(index.index->names, (std::vector<std::string>{"BG01", "VOICE_A"}));
  auto extracted = RunProgram("qlmtool", {"extract", (dir / "res.qlm").string(), (dir / "out").string()});
  ASSERT_EQ(extracted.exit_code, 0) << extracted.err;
  EXPECT_EQ(ReadText(dir / "out/BG01"), "picture bytes");
  EXPECT_EQ(ReadText(dir / "out/VOICE_A"), std::string("\0\1\2", 3));
}

TEST(QlmtoolArchives, ErrorsNameTheFileAndTheProblem) {
  test::TempDir dir;
  WriteText(dir / "bad/emoji.txt", "ok line\nsmile \xF0\x9F\x98\x80\n");
  WriteText(dir / "long/long.txt", std::string(2048, 'a') + "\n");
  WriteText(dir / "name" / (std::string(56, 'n') + ".txt"), "x\n");
  WriteText(dir / "big/big.txt", std::string(262145, '\n'));  // one NUL per line: one byte too many
  WriteText(dir / "garbage.qlm", "\xFF\xFF\xFF\xFF");
  struct Case {
    std::vector<std::string> args;
    std::string expect_in_error;
  };
  const Case cases[] = {
      {{"pack-scripts", (dir / "o.qlm").string(), (dir / "bad").string()}, "emoji.txt:2"},
      {{"pack-scripts", (dir / "o.qlm").string(), (dir / "long").string()}, "long.txt:1"},
      {{"pack-scripts", (dir / "o.qlm").string(), (dir / "name").string()}, "1 to 55"},
      {{"pack-scripts", (dir / "o.qlm").string(), (dir / "big").string()}, "262144"},
      {{"list", (dir / "garbage.qlm").string()}, "garbage.qlm"},
      {{"list", (dir / "none.qlm").string()}, "none.qlm"},
      {{"pack", (dir / "o.qlm").string(), (dir / "missing.bin").string()}, "missing.bin"},
  };
  for (const Case& c : cases) {
    auto r = RunProgram("qlmtool", c.args);
    EXPECT_NE(r.exit_code, 0) << c.args[0];
    EXPECT_NE(r.err.find(c.expect_in_error), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(fs::exists(dir / "o.qlm"));
}

TEST(QlmtoolArchives, HelpForEveryCommand) {
  for (const char* command : {"list", "extract", "pack-scripts", "pack"}) {
    auto r = RunProgram("qlmtool", {command, "--help"});
    EXPECT_EQ(r.exit_code, 0) << command;
    EXPECT_NE(r.out.find(std::string("qlmtool ") + command), std::string::npos) << r.out;
  }
  EXPECT_NE(RunProgram("qlmtool", {"frobnicate"}).exit_code, 0);
}

}  // namespace
}  // namespace quill
