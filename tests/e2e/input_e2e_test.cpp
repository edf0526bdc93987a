// Clicks and keys through a headless run: the state after each one.
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

TEST(InputE2eTest, ClicksFinishTheTextAndTurnThePages) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("main", "abcdefghijklmnopqrst\n\\\nuv\n\\\nwx\n\\\n");
  game.Write();
  std::ofstream(dir / "run.scenario") << "100  state out/typing.json\n"
                                         "110  click 400 100     # finishes the line\n"
                                         "150  state out/finished.json\n"
                                         "300  click 400 100     # turns the page\n"
                                         "301  state out/turned.json\n"
                                         "600  state out/second.json\n"
                                         "700  key F7            # auto mode on\n"
                                         "701  state out/auto.json\n"
                                         "2500 state out/auto_later.json\n"
                                         "2600 quit\n";
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.scenario").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  nlohmann::json typing = ReadJson(dir / "out/typing.json");
  EXPECT_EQ(typing["wait_kind"], 0);
  ASSERT_EQ(typing["text_log"].size(), 1u);
  std::string partial = typing["text_log"][0];
  EXPECT_GT(partial.size(), 0u);
  EXPECT_LT(partial.size(), 20u);

  nlohmann::json finished = ReadJson(dir / "out/finished.json");
  EXPECT_EQ(finished["wait_kind"], 1);
  EXPECT_EQ(finished["text_log"], nlohmann::json({"abcdefghijklmnopqrst", ""}));

  // A new page: the frame after the click may already have typed its first character.
  nlohmann::json turned = ReadJson(dir / "out/turned.json");
  EXPECT_EQ(turned["wait_kind"], 0);
  EXPECT_LE(turned["page_chars"], 1);
  for (const auto& row : turned["page_grid"]) {
    EXPECT_EQ(row.get<std::string>().find("abc"), std::string::npos);
  }

  nlohmann::json second = ReadJson(dir / "out/second.json");
  EXPECT_EQ(second["wait_kind"], 1);
  EXPECT_EQ(second["text_log"], nlohmann::json({"abcdefghijklmnopqrst", "", "uv", ""}));

  nlohmann::json auto_on = ReadJson(dir / "out/auto.json");
  EXPECT_GT(auto_on["auto_level"], 0);
  EXPECT_EQ(auto_on["quick_buttons"][1], 2);  // S061: the auto button lit
  EXPECT_EQ(auto_on["quick_buttons"].size(), 12u);

  // Auto mode turned the pages by itself, up to the end of the script.
  nlohmann::json later = ReadJson(dir / "out/auto_later.json");
  EXPECT_EQ(later["text_log"], nlohmann::json({"abcdefghijklmnopqrst", "", "uv", "", "wx", ""}));
}

}  // namespace
}  // namespace quill::test
