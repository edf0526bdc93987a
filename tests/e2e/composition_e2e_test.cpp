// A background and two standing pictures through a headless run: the shot after bg and spr is
// the background with both pictures drawn through their masks at the two-picture positions.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/file_util.h"
#include "common/png_io.h"
#include "graphics/masked_drawing.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using test::Packed;

Picture Ramp(int w, int h, int seed) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x + seed);
      px[1] = static_cast<uint8_t>(y * 2 + seed);
      px[2] = static_cast<uint8_t>((x ^ y) + seed * 3);
    }
  }
  return p;
}

// Grey masks: a soft left-to-right ramp, and one whose left half is fully transparent.
Picture SoftMask(int w, int h) {
  Picture m(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t v = static_cast<uint8_t>(x * 255 / (w - 1));
      uint8_t* px = m.Pixel(x, y);
      px[0] = px[1] = px[2] = v;
    }
  }
  return m;
}
Picture HalfMask(int w, int h) {
  Picture m(w, h);
  m.FillRect({w / 2, 0, w - w / 2, h}, 255, 255, 255);
  return m;
}

TEST(CompositionRun, BackgroundAndStandingPicturesReachTheDisplay) {
  test::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  const Picture background = Ramp(800, 600, 5);
  const Picture left = Ramp(80, 120, 90), left_mask = SoftMask(80, 120);
  const Picture right = Ramp(60, 100, 170), right_mask = HalfMask(60, 100);
  test::FixtureGame game(dir / "game");
  game.Resource("mg_gra.qlm", "A01", Packed(background))
      .Resource("mg_gra.qlm", "B01", Packed(left))
      .Resource("mg_gra.qlm", "M01", Packed(left_mask))
      .Resource("mg_gra.qlm", "B02", Packed(right))
      .Resource("mg_gra.qlm", "M02", Packed(right_mask))
      .Script("main",
              "*calc S091=40\n"
              "*bg A01,4\n"
              "*spr b01,B02\n"
              "\\\n")
      .Write();
  std::ofstream(dir / "run.txt") << "2000 shot out/shot.png\n"
                                    "2000 state out/state.json\n"
                                    "2100 quit\n";
  auto r = test::RunProgram("quill", {"--game", game.folder().string(), "--headless", "--scenario",
                                      (dir / "run.txt").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  auto bytes = ReadFile(dir / "out/state.json");
  ASSERT_TRUE(bytes);
  auto state = nlohmann::json::parse(std::string(bytes->begin(), bytes->end()), nullptr, false);
  ASSERT_TRUE(state.is_object());
  EXPECT_EQ(state["background"], "A01");
  EXPECT_EQ(state["sprites"], "B01,B02");
  EXPECT_EQ(state["sprite_count"], 2);

  // Two pictures: centres 250 and 550 (the defaults), tops S091 = 40 and S092 = 0.
  Picture expected = background;
  DrawMasked(expected, left, 250 - 40, 40, left_mask);
  DrawMasked(expected, right, 550 - 30, 0, right_mask);
  auto shot = ReadPng(dir / "out/shot.png");
  ASSERT_TRUE(shot);
  ASSERT_EQ(shot->width(), 800);
  ASSERT_EQ(shot->height(), 600);
  // The transparent half of B02 leaves the background exactly; its opaque half shows B02.
  EXPECT_EQ(shot->Pixel(525, 10)[1], background.Pixel(525, 10)[1]);
  EXPECT_NE(shot->Pixel(575, 10)[1], background.Pixel(575, 10)[1]);
  if (!(*shot == expected)) {
    int wrong = 0;
    for (size_t i = 0; i < shot->bytes().size(); ++i)
      wrong += shot->bytes()[i] != expected.bytes()[i];
    fs::path keep = fs::temp_directory_path() / "quill-composition-e2e";
    fs::create_directories(keep);
    std::string error;
    WritePng(keep / "composition.png", expected, &error);
    WritePng(keep / "composition-actual.png", *shot, &error);
    ADD_FAILURE() << wrong << " bytes differ; see " << (keep / "composition-actual.png").string()
                  << " beside the expected composition.png";
  }
}

}  // namespace
}  // namespace quill
