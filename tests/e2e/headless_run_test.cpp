// quill --headless as tests, automation and bug reports use it.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "common/file_util.h"
#include "common/png_io.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using test::ReadJson;
using test::RunProgram;
using test::WriteText;

class HeadlessRun : public ::testing::Test {
 protected:
  void SetUp() override { test::FixtureGame(dir_ / "game").Script("main", ":start\n\\\n").Write(); }
  test::ProgramResult Run(const std::string& scenario) {
    WriteText(dir_ / "run.txt", scenario);
    return RunProgram("quill", {"--game", (dir_ / "game").string(), "--headless", "--scenario",
                                (dir_ / "run.txt").string()});
  }
  test::TempDir dir_;
};

TEST_F(HeadlessRun, WritesShotsAndStatesAtTheirVirtualTimes) {
  auto r =
      Run("0 size 800 600\n"
          "1000 shot out/first.png\n"
          "30000 state out/state.json\n"
          "60000 shot out/last.png\n"
          "60000 quit\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (const char* name : {"out/first.png", "out/last.png"}) {
    auto shot = ReadPng(dir_ / name);
    ASSERT_TRUE(shot) << name;
    EXPECT_EQ(shot->width(), 800);
    EXPECT_EQ(shot->height(), 600);
  }
  auto state = ReadJson(dir_ / "out/state.json");
  ASSERT_TRUE(state.is_object());
  EXPECT_EQ(state["time_ms"], 30000);
}

TEST_F(HeadlessRun, ScenarioErrorsNameTheirLineAndStopTheRun) {
  auto r = Run("0 move 1 1\n\n500 clik 1 1\n600 quit\n");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("run.txt:3: unknown event 'clik'"), std::string::npos) << r.err;
}

TEST_F(HeadlessRun, ProblemsFoundWhileRunningGiveANonZeroExit) {
  auto r = Run("100 dialog ok\n200 quit\n");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("line 1: no dialog is open"), std::string::npos) << r.err;
}

TEST(HeadlessStart, AFolderWithoutAGameSaysWhyAndGivesTheErrorBoxText) {
  test::TempDir dir;
  auto r = RunProgram("quill", {"--game", dir.path().string(), "--headless"});
  EXPECT_NE(r.exit_code, 0);
  std::string why = "quill: " + dir.path().string() + " holds no game (mg_data.qlm is missing)\n";
  // The line of a window run's stderr, then what its message box shows.
  EXPECT_EQ(r.err, why + "Error!: ゲームデータを読み込めません。\n");
}

TEST(HeadlessStart, GameFilesMatchIgnoringCase) {
  test::TempDir dir;
  test::FixtureGame(dir / "game").Script("main", "text\n").Write();
  fs::rename(dir / "game/mg_data.qlm", dir / "game/MG_DATA.QLM");
  auto r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
}

TEST(HeadlessStart, CommandLineHelpAndErrors) {
  EXPECT_EQ(RunProgram("quill", {"--help"}).exit_code, 0);
  auto version = RunProgram("quill", {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_NE(version.out.find("quill "), std::string::npos);
  EXPECT_NE(RunProgram("quill", {"--bogus"}).exit_code, 0);
  EXPECT_NE(RunProgram("quill", {"--scenario", "x.txt"}).exit_code, 0);
}

}  // namespace
}  // namespace quill
