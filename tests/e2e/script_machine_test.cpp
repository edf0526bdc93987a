// The script machine end to end: build/quill --headless on a fixture game, checked through the
// state dumps of a scenario.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "common/file_util.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"
#include "tests/support/temp_dir.h"

namespace quill::test {
namespace {

TEST(ScriptMachineTest, TextCallsAndValuesUpToAPageWait) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("main",
              "; the first script\n"
              "!V001=41;F005=1\n"
              "*string 2 花子\n"
              "*call sub\n"
              ">＄２\n"
              "こんにちは[?V001+1]です\n"
              "\\\n"
              "not reached\n");
  game.Script("sub", "!V003=V001*2\n*title 第一章\n");
  game.Write();
  WriteText(dir / "run.scenario",
            "1000 state out/s1.json\n"
            "1100 quit\n");
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.scenario").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  nlohmann::json s = ReadJson(dir / "out/s1.json");
  EXPECT_EQ(s["time_ms"], 1000);
  EXPECT_EQ(s["script"], "main");
  EXPECT_EQ(s["loaded_script"], "main");
  EXPECT_EQ(s["call_depth"], 0);
  EXPECT_EQ(s["V"][1], 41);
  EXPECT_EQ(s["V"][3], 82);
  EXPECT_EQ(s["F"], nlohmann::json({5}));
  EXPECT_EQ(s["name_slots"][2], "花子");
  EXPECT_EQ(s["name_slots"][9], "第一章");
  EXPECT_EQ(s["wait_kind"], 1);
  EXPECT_EQ(s["text_log"], nlohmann::json({"花子", "こんにちは42です", ""}));
  std::string row0 = s["page_grid"][0], row1 = s["page_grid"][1];
  EXPECT_EQ(row0.rfind("花子 ", 0), 0u) << row0;
  EXPECT_EQ(row1.rfind("  こんにちは42です ", 0), 0u) << row1;
  EXPECT_EQ(s["text_row"], 2);
  EXPECT_EQ(s["text_column"], 0);
  EXPECT_EQ(s["window_open"], true);
  // The wait line has been read: the next line is the one after it.
  int position = s["read_position"], line_start = s["line_start"];
  EXPECT_EQ(position - line_start, 2);  // "\" and its NUL
}

TEST(ScriptMachineTest, SleepsAndTimedWaitsPassOnTheVirtualClock) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("main", "*sleep 90\n!V001=1\n%20\n!V002=1\n*sleep 30\n");
  game.Write();
  WriteText(dir / "run.scenario",
            "200 state a.json\n"
            "2000 state b.json\n"
            "2100 quit\n");
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.scenario").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  nlohmann::json a = ReadJson(dir / "a.json"), b = ReadJson(dir / "b.json");
  EXPECT_EQ(a["V"][1], 1);  // three frames of sleep are long over
  EXPECT_EQ(a["V"][2], 0);  // 20 ticks of 55 ms are not
  EXPECT_GT(a["wait_ticks"], 0);
  EXPECT_EQ(b["V"][2], 1);
  EXPECT_EQ(b["wait_ticks"], 0);
  EXPECT_EQ(b["sleep_frames"], 0);  // "sleep 30" paused one frame, then the script ended
}

TEST(ScriptMachineTest, WithoutAScenarioTheRunEndsWithTheScript) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("main", "!V001=1\n*chain second\n");
  game.Script("second", "!V002=V001+1\n");
  game.Write();
  ProgramResult r =
      RunProgram("quill", {"--game", (dir / "game").string(), "--headless", "--trace"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("V002=V001+1"), std::string::npos) << r.err;
}

TEST(ScriptMachineTest, AGameFolderWithoutScriptsDoesNotStart) {
  TempDir dir;
  ProgramResult r = RunProgram("quill", {"--game", dir.path().string(), "--headless"});
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("mg_data.qlm"), std::string::npos) << r.err;
}

// A script that loops without a wait no longer freezes the run: the loop goes on frame after frame
// and the scenario's later events, down to its quit, still come.
TEST(ScriptMachineTest, ALoopWithoutAWaitLetsTheRunGoOn) {
  for (const char* script : {":a\n!V001=V001+1\n*go a\n", "見出し:\n!V001=V001+1\n*go \n"}) {
    SCOPED_TRACE(script);
    TempDir dir;
    FixtureGame game(dir / "game");
    game.Script("main", script);
    game.Write();
    WriteText(dir / "run.scenario",
              "500 state out/early.json\n"
              "1500 click 400 300\n"
              "2000 state out/late.json\n"
              "2100 quit\n");
    ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                           "--scenario", (dir / "run.scenario").string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    nlohmann::json early = ReadJson(dir / "out/early.json");
    nlohmann::json late = ReadJson(dir / "out/late.json");
    EXPECT_EQ(early["time_ms"], 500);
    EXPECT_EQ(late["time_ms"], 2000);
    EXPECT_GT(early["V"][1].get<int>(), 0);
    EXPECT_GT(late["V"][1].get<int>(), early["V"][1].get<int>());
  }
}

}  // namespace
}  // namespace quill::test
