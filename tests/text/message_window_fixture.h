#pragma once
// A fixture game with a message window: a `_config` giving every layout key, a window skin of a
// solid colour and half opacity, a tint mask over the skin's left half, a four-frame click-wait
// sheet and two speakers. Engines run on the headless platform through the real start-up.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/picture.h"
#include "common/png_io.h"
#include "common/sjis.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"

namespace quill::test {

// The game's layout.
constexpr int kWinX = 0, kWinY = 400, kWinW = 800, kWinH = 200;
constexpr int kTxOfsX = 40, kTxOfsY = 40, kPitchX = 13, kPitchY = 30;
constexpr int kMojiMaxX = 52, kMojiMaxY = 5;
constexpr int kTx2OfsX = 30, kTx2OfsY = 20, kPitch2X = 12, kPitch2Y = 28;
constexpr int kPlateX = 20, kPlateY = 405, kPlateW = 200, kPlateH = 36;
constexpr int kIconX = 760, kIconY = 560, kIconSize = 24, kIconFrames = 4, kIconTiming = 1;
// The skin's colour and opacity, the tint mask's half.
constexpr Bgr kSkinColour{200, 100, 50};
constexpr int kSkinOpacity = 128;
constexpr int kTintedWidth = 400;
// Frame k of the click-wait sheet is a solid (0, 0, 60 + 60 k).
inline Bgr IconFrameColour(int k) { return {0, 0, 60 + 60 * k}; }

inline std::string WindowConfig() {
  return "TITLE:窓のテスト\n"
         "MAKER_REG:QuillTests\n"
         "GAME_ID:MessageWindow\n"
         "FONT_NAME:ＭＳ ゴシック\n"
         "TXW_OFS_X:" +
         std::to_string(kWinX) + "\nTXW_OFS_Y:" + std::to_string(kWinY) +
         "\nTXW_SIZE_X:" + std::to_string(kWinW) + "\nTXW_SIZE_Y:" + std::to_string(kWinH) +
         "\nTX_OFS_X:" + std::to_string(kTxOfsX) + "\nTX_OFS_Y:" + std::to_string(kTxOfsY) +
         "\nTX_PITCH_X:" + std::to_string(kPitchX) + "\nTX_PITCH_Y:" + std::to_string(kPitchY) +
         "\nMOJI_MAX_X:" + std::to_string(kMojiMaxX) + "\nMOJI_MAX_Y:" + std::to_string(kMojiMaxY) +
         "\nTX2_OFS_X:" + std::to_string(kTx2OfsX) + "\nTX2_OFS_Y:" + std::to_string(kTx2OfsY) +
         "\nTX2_PITCH_X:" + std::to_string(kPitch2X) + "\nTX2_PITCH_Y:" + std::to_string(kPitch2Y) +
         "\nMOJI_MAX2_X:40\nMOJI_MAX2_Y:17"
         "\nNP_OFS_X:" +
         std::to_string(kPlateX) + "\nNP_OFS_Y:" + std::to_string(kPlateY) +
         "\nNP_SZ_X:" + std::to_string(kPlateW) + "\nNP_SZ_Y:" + std::to_string(kPlateH) +
         "\nCLICK_WAIT_OFS_X:" + std::to_string(kIconX) +
         "\nCLICK_WAIT_OFS_Y:" + std::to_string(kIconY) +
         "\nCLICK_WAIT_SIZE_X:" + std::to_string(kIconSize) +
         "\nCLICK_WAIT_SIZE_Y:" + std::to_string(kIconSize) +
         "\nCLICK_WAIT_PAT:" + std::to_string(kIconFrames) +
         "\nCLICK_WAIT_TIMING:" + std::to_string(kIconTiming) +
         "\nTXW_COLOR_R:0\nTXW_COLOR_G:0\nTXW_COLOR_B:0\nTXW_ALPHA:128\nTXW_ALPHA2:100"
         "\nNAME:1,ユキ,G00"  // red
         "\nNAME:2,ハル,0G0"  // green
         "\n";
}

// The skin: the colour above, the opacity below; the tint mask: opaque on the left half.
inline void AddWindowPictures(FixtureGame& game) {
  Picture skin(kWinW, 2 * kWinH);
  skin.FillRect({0, 0, kWinW, kWinH}, kSkinColour.b, kSkinColour.g, kSkinColour.r);
  skin.FillRect({0, kWinH, kWinW, kWinH}, kSkinOpacity, kSkinOpacity, kSkinOpacity);
  Picture tint(kWinW, kWinH);
  tint.FillRect({0, 0, kTintedWidth, kWinH}, 255, 255, 255);
  Picture sheet(kIconSize * kIconFrames, 2 * kIconSize);
  for (int k = 0; k < kIconFrames; ++k) {
    Bgr c = IconFrameColour(k);
    sheet.FillRect({k * kIconSize, 0, kIconSize, kIconSize}, c.b, c.g, c.r);
  }
  sheet.FillRect({0, kIconSize, kIconSize * kIconFrames, kIconSize}, 255, 255, 255);
  game.Resource("mg_gra.qlm", "sys_tw", Packed(skin));
  game.Resource("mg_gra.qlm", "sys_tw1", Packed(tint));
  game.Resource("mg_gra.qlm", "sys_clickw", Packed(sheet));
}

// The headless platform, recording the time and one probe pixel of every whole-screen Present;
// a hook may act on the engine at the n-th one (as a click during a fade would).
class RecordingPlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  struct Shown {
    uint32_t time;
    Bgr probe;
  };
  void Present(const Picture& screen) override {
    HeadlessPlatform::Present(screen);
    shown.push_back({NowMs(), At(screen, probe_x, probe_y)});
    if (on_present) on_present(static_cast<int>(shown.size()));
  }
  std::vector<Shown> shown;
  int probe_x = 400, probe_y = 300;
  std::function<void(int)> on_present;
};

class WindowFixture {
 public:
  // A game of the given configuration; with_pictures false leaves the window pictures out.
  explicit WindowFixture(const std::string& config = WindowConfig(), bool with_pictures = true)
      : game_(dir_ / "game") {
    // The settings store of these runs lives in the test's own folder.
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    game_.Script("_config", config);
    if (with_pictures) AddWindowPictures(game_);
  }

  FixtureGame& game() { return game_; }
  Engine& engine() { return *engine_; }
  RecordingPlatform& platform() { return *platform_; }

  // Starts a game whose main is `utf8` through the real start-up and the first frame, with the
  // scene buffer a solid colour.
  Engine& StartWith(const std::string& utf8, Bgr scene = kScene) {
    game_.Script("main", utf8);
    game_.Write();
    platform_ = std::make_unique<RecordingPlatform>(game_.folder(), std::vector<ScenarioEvent>{});
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    EXPECT_TRUE(engine_->FormCreate());
    engine_->AppIdle();
    // The background layer too, so that a recomposed scene keeps the colour, and the screen as
    // if the scene had been shown.
    for (Picture* p : {&engine_->pictures().background, &engine_->pictures().scene,
                       &engine_->pictures().screen}) {
      p->Fill(static_cast<uint8_t>(scene.b), static_cast<uint8_t>(scene.g),
              static_cast<uint8_t>(scene.r));
    }
    return *engine_;
  }

  void Frame() {
    platform_->PumpMessages();
    engine_->AppIdle();
  }
  // Frames until the script holds on a wait.
  void FramesToWait(int limit = 400) {
    for (int i = 0; i < limit && engine_->wait_kind == 0 && !engine_->finished(); ++i) Frame();
  }

  static constexpr Bgr kScene{10, 20, 30};

  // The window over a scene colour: (scene × 127 + skin × 128) / 256 per channel.
  static Bgr WindowOver(Bgr scene) {
    auto mix = [](int s, int c) { return (s * (255 - kSkinOpacity) + c * kSkinOpacity) >> 8; };
    return {mix(scene.b, kSkinColour.b), mix(scene.g, kSkinColour.g), mix(scene.r, kSkinColour.r)};
  }
  static int CellX(int column) { return column * kPitchX + kWinX + kTxOfsX; }
  static int CellY(int row) { return row * kPitchY + kWinY + kTxOfsY; }

  // Writes a picture that did not match where it can be looked at, and says where.
  static std::string Keep(const Picture& p, const std::string& name) {
    std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / (name + "-actual.png");
    WritePng(path, p);
    return path.string();
  }

 private:
  TempDir dir_;
  FixtureGame game_;
  std::unique_ptr<RecordingPlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace quill::test
