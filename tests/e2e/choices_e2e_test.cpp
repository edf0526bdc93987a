// A headless run that answers a choice with a click on its plate.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "common/png_io.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"
#include "tests/support/test_pictures.h"

namespace quill::test {
namespace {

Picture Plate(uint8_t b, uint8_t g, uint8_t r) {
  Picture p(300, 80);
  p.FillRect({0, 0, 300, 40}, b, g, r);
  p.FillRect({0, 40, 300, 40}, 255, 255, 255);
  return p;
}

TEST(ChoicesE2eTest, AClickOnAPlateRunsItsBranch) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("_config",
              "SELECT_Y_POS:300\nSELECT_Y_PITCH:50\nFONT_SIZE:20\nMOJI_MAX_X:50\nMOJI_MAX_Y:4\n"
              "TX_PITCH_X:13\nTX_PITCH_Y:30\n");
  game.Script("main",
              "*select\n{北へ行く\n北に着いた。\n\\\n{(V001==1)隠れた道\n隠れた\n\\\n"
              "{南へ行く\n南に着いた。\n\\\n}\n");
  game.Resource("mg_gra.qlm", "sys_sw", Packed(Plate(160, 60, 20)));
  game.Resource("mg_gra.qlm", "sys_sw2", Packed(Plate(40, 140, 230)));
  game.Write();
  // Two rows: 250-300 and 300-350; the plates are 300 wide, centred.
  std::ofstream(dir / "run.scenario") << "200  move 400 330\n"
                                         "250  shot out/choice.png\n"
                                         "260  state out/choice.json\n"
                                         "300  click 400 330\n"
                                         "1500 state out/branch.json\n"
                                         "1600 quit\n";
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.scenario").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  nlohmann::json choice = ReadJson(dir / "out/choice.json");
  EXPECT_EQ(choice["choice_mode"], 1);
  EXPECT_EQ(choice["choice_count"], 2);
  EXPECT_EQ(choice["hover_index"], 2);
  ASSERT_EQ(choice["choices"].size(), 2u);
  EXPECT_EQ(choice["choices"][1]["text"], "南へ行く");
  EXPECT_EQ(choice["choices"][1]["index"], 2);
  EXPECT_EQ(choice["cursor"], 0);
  // The hovered plate is the lit one, the other plain (through their opaque masks: × 255 / 256).
  std::optional<Picture> shot = ReadPng(dir / "out/choice.png");
  ASSERT_TRUE(shot);
  EXPECT_EQ(At(*shot, 260, 310), (Bgr{39, 139, 229}));
  EXPECT_EQ(At(*shot, 260, 260), (Bgr{159, 59, 19}));

  nlohmann::json branch = ReadJson(dir / "out/branch.json");
  EXPECT_EQ(branch["choice_mode"], 0);
  EXPECT_EQ(branch["wait_kind"], 1);
  EXPECT_EQ(branch["text_log"], nlohmann::json({"南に着いた。", ""}));
}

}  // namespace
}  // namespace quill::test
