// Transitions in headless runs of the real program: a fade seen mid-way, a click cutting one
// short, the rule picture of wipeset.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

#include "common/file_util.h"
#include "common/png_io.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"
#include "tests/support/temp_dir.h"
#include "tools/picture_encoder.h"

namespace quill {
namespace {

using test::ReadJson;
using test::WriteText;

namespace fs = std::filesystem;

// The one colour of a shot, or nothing when its pixels differ.
std::optional<std::array<int, 3>> Uniform(const Picture& p) {
  const uint8_t* first = p.Pixel(0, 0);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const uint8_t* px = p.Pixel(x, y);
      if (px[0] != first[0] || px[1] != first[1] || px[2] != first[2]) return std::nullopt;
    }
  }
  return std::array<int, 3>{first[0], first[1], first[2]};
}

class TransitionRun : public ::testing::Test {
 protected:
  TransitionRun() : game_(dir_ / "game") {
    game_.Script("_config", "TITLE:Transitions\nMAKER_REG:QuillTests\nGAME_ID:TransitionsE2e\n");
    // The settings store of these runs lives in the test's own folder.
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }
  test::ProgramResult Run(const std::string& scenario) {
    game_.Write();
    WriteText(dir_ / "run.txt", scenario);
    fs::create_directories(dir_ / "out");
    return test::RunProgram("quill", {"--game", (dir_ / "game").string(), "--headless",
                                      "--scenario", (dir_ / "run.txt").string()});
  }
  std::optional<Picture> Shot(const std::string& name) { return ReadPng(dir_ / "out" / name); }
  nlohmann::json State(const std::string& name) { return ReadJson(dir_ / "out" / name); }

  test::TempDir dir_;
  test::FixtureGame game_;
};

TEST_F(TransitionRun, AFadeShowsOneLevelMidwayAndAClickCutsItShort) {
  // A slow cross-fade from black to red (S016 = 13: one level per 8 ms, about 2 s) starting in
  // the first frames; a shot at 1 s sees it midway, a click at 1.5 s ends it.
  game_.Script("main", "!S016=13\n*gra SG00,3\n\\\n");
  auto r =
      Run("1000 shot out/fade.png\n"
          "1000 state out/fade.json\n"
          "1500 click 400 300\n"
          "1600 shot out/end.png\n"
          "1600 state out/end.json\n"
          "1600 quit\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;

  auto fade = Shot("fade.png");
  ASSERT_TRUE(fade);
  auto colour = Uniform(*fade);
  ASSERT_TRUE(colour) << "the cross-fade of two solid colours shows one level everywhere";
  EXPECT_EQ((*colour)[0], 0);
  EXPECT_EQ((*colour)[1], 0);
  EXPECT_GT((*colour)[2], 0);
  EXPECT_LT((*colour)[2], 255);
  auto fade_state = State("fade.json");
  ASSERT_TRUE(fade_state.is_object());
  EXPECT_EQ(fade_state["busy"], true);
  EXPECT_EQ(fade_state["transition_running"], true);
  EXPECT_EQ(fade_state["S"][16], 13);

  auto end = Shot("end.png");
  ASSERT_TRUE(end);
  EXPECT_EQ(Uniform(*end), (std::array<int, 3>{0, 0, 255}));
  auto end_state = State("end.json");
  ASSERT_TRUE(end_state.is_object());
  EXPECT_EQ(end_state["S"][19], 1);  // cut short by the click
  EXPECT_EQ(end_state["S"][16], 0);
  EXPECT_EQ(end_state["busy"], false);
  EXPECT_EQ(end_state["transition_interrupt"], 0);  // gra has read it
  EXPECT_EQ(end_state["wait_kind"], 1);  // gra ended its step; the next frame went on to the wait
}

TEST_F(TransitionRun, WipesetGivesTransitionFiveItsRulePicture) {
  // The left half of the rule is white: it turns new first.
  Picture rule(800, 600);
  rule.FillRect({0, 0, 400, 600}, 255, 255, 255);
  auto packed = EncodePackedPicture(rule, PackedPictureOptions{});
  ASSERT_TRUE(packed);
  game_.Resource("mg_gra.qlm", "RULE", *packed);
  game_.Script("main", "*gra S000,4\n*wipeset RULE\n*gra SGGG,5\n\\\n");
  auto r =
      Run("400 shot out/wipe.png\n"
          "2000 shot out/end.png\n"
          "2000 state out/end.json\n"
          "2000 quit\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto wipe = Shot("wipe.png");
  ASSERT_TRUE(wipe);
  // In the first sweep (v from 252 down by 4 per 8 ms) only the white half of the rule has begun
  // to change.
  EXPECT_GT(wipe->Pixel(100, 300)[0], 0);
  EXPECT_EQ(wipe->Pixel(700, 300)[0], 0);
  auto end = Shot("end.png");
  ASSERT_TRUE(end);
  EXPECT_EQ(Uniform(*end), (std::array<int, 3>{255, 255, 255}));
  auto state = State("end.json");
  ASSERT_TRUE(state.is_object());
  EXPECT_EQ(state["overlay_name"], "RULE");
  EXPECT_EQ(state["transition_running"], false);
}

}  // namespace
}  // namespace quill
