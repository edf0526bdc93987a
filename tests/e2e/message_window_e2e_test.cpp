// The message window end to end: build/quill --headless types a page with a speaker over a
// background, a click turns the page; checked through shots and state dumps.
#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "common/file_util.h"
#include "common/png_io.h"
#include "tests/support/run_program.h"
#include "tests/support/test_files.h"
#include "tests/text/message_window_fixture.h"

namespace quill::test {
namespace {

// The background: blue across, red down, a little green.
Bgr Background(int x, int y) { return {x * 255 / 799, 80, y * 255 / 599}; }

Bgr WindowOverBackground(int x, int y) {
  Bgr s = Background(x, y);
  auto mix = [](int a, int c) { return (a * (255 - kSkinOpacity) + c * kSkinOpacity) >> 8; };
  return {mix(s.b, kSkinColour.b), mix(s.g, kSkinColour.g), mix(s.r, kSkinColour.r)};
}

TEST(MessageWindowE2eTest, APageWithASpeakerThenAClickToTheNextPage) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("_config", WindowConfig());
  AddWindowPictures(game);
  Picture bg(kScreenWidth, kScreenHeight);
  for (int y = 0; y < kScreenHeight; ++y) {
    for (int x = 0; x < kScreenWidth; ++x) {
      Bgr c = Background(x, y);
      bg.FillRect({x, y, 1, 1}, static_cast<uint8_t>(c.b), static_cast<uint8_t>(c.g),
                  static_cast<uint8_t>(c.r));
    }
  }
  game.Resource("mg_gra.qlm", "BG01", Packed(bg));
  game.Script("main",
              "*bg BG01,1\n"
              ">ユキ\n"
              "「ここが<まど>窓のテストです。文字は一つずつ、一こまに一つ表示されます。行の"
              "終わりでは折り返して、次の行の頭をそろえます」\n"
              "\\\n"
              "次のページ。\n"
              "\\\n");
  game.Write();
  std::ofstream(dir / "run.txt") << "3000 shot page1.png\n"
                                    "3000 state page1.json\n"
                                    "3100 click 400 300\n"
                                    "3600 shot page2.png\n"
                                    "3600 state page2.json\n"
                                    "4000 quit\n";
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  ProgramResult r = RunProgram("quill", {"--game", (dir / "game").string(), "--headless",
                                         "--scenario", (dir / "run.txt").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  nlohmann::json s1 = ReadJson(dir / "page1.json");
  EXPECT_EQ(s1["layout"], 0);
  EXPECT_EQ(s1["window_open"], true);
  EXPECT_EQ(s1["window_state"], 1);
  EXPECT_EQ(s1["wait_kind"], 1);
  EXPECT_EQ(s1["page_grid"][0].get<std::string>().substr(0, 6), "ユキ");
  EXPECT_EQ(s1["page_grid"][1].get<std::string>().substr(0, 12), "「ここが");
  // The second row starts at column 2 under the bracket's text.
  EXPECT_EQ(s1["page_grid"][2].get<std::string>().substr(0, 2), "  ");
  EXPECT_EQ(s1["S"][37], 0x0000FF);
  EXPECT_EQ(s1["speaker_name"], "ユキ");

  std::optional<Picture> shot1 = ReadPng(dir / "page1.png");
  ASSERT_TRUE(shot1);
  std::filesystem::path kept = std::filesystem::path(::testing::TempDir()) / "window-e2e-page1.png";
  WritePng(kept, *shot1);
  // Above the window the background; in the window, away from the text, the skin over it.
  EXPECT_EQ(At(*shot1, 500, 200), Background(500, 200)) << kept;
  EXPECT_EQ(At(*shot1, 700, 590), WindowOverBackground(700, 590)) << kept;
  EXPECT_EQ(At(*shot1, 10, 450), WindowOverBackground(10, 450)) << kept;
  // The speaker's name in red on the plate, the text in red in the rows.
  auto count_red = [&](const Picture& p, Rect area) {
    int n = 0;
    for (int y = area.y; y < area.y + area.h; ++y) {
      for (int x = area.x; x < area.x + area.w; ++x) {
        Bgr c = At(p, x, y);
        n += c.r >= 250 && c.g < 10 && c.b < 10;
      }
    }
    return n;
  };
  EXPECT_GT(count_red(*shot1, {kPlateX, kPlateY, kPlateW, kPlateH}), 20) << kept;
  EXPECT_GT(count_red(*shot1, {kWinX, kWinY + kTxOfsY + kPitchY, kWinW, kPitchY}), 200) << kept;

  nlohmann::json s2 = ReadJson(dir / "page2.json");
  EXPECT_EQ(s2["wait_kind"], 1);
  EXPECT_EQ(s2["page_grid"][0].get<std::string>().substr(0, 2), "  ");
  EXPECT_EQ(s2["S"][37], 0xFFFFFF);
  EXPECT_EQ(s2["speaker_name"], "");
  std::optional<Picture> shot2 = ReadPng(dir / "page2.png");
  ASSERT_TRUE(shot2);
  // The plate is gone with the old page; the new text is white.
  EXPECT_EQ(count_red(*shot2, {kWinX, kWinY, kWinW, kWinH}), 0);
  EXPECT_EQ(At(*shot2, kPlateX + kPlateW / 2, kPlateY + kPlateH / 2),
            WindowOverBackground(kPlateX + kPlateW / 2, kPlateY + kPlateH / 2));
}

}  // namespace
}  // namespace quill::test
