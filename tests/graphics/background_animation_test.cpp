#include "graphics/background_animation.h"

#include <gtest/gtest.h>

#include "common/sjis.h"
#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Solid;

constexpr Bgr kFrames[] = {{200, 0, 0}, {0, 200, 0}, {0, 0, 200}};
// The first character's cell: row 1, column 2 (the indent), x = 2 × 13 + 20, y = 30 + 400 + 40.
constexpr int kCellX = 46, kCellY = 470;

// A window of 800 × 200 at the bottom with a grey skin at half opacity, and three solid frames.
Engine& StartWithFrames(GameRig& rig, const std::string& main) {
  rig.game().Script("_config",
                    "TITLE:Frames\nMAKER_REG:QuillTests\nGAME_ID:Frames\n"
                    "FONT_NAME:ＭＳ ゴシック\n"
                    "TXW_OFS_X:0\nTXW_OFS_Y:400\nTXW_SIZE_X:800\nTXW_SIZE_Y:200\n"
                    "TX_OFS_X:20\nTX_OFS_Y:40\nTX_PITCH_X:13\nTX_PITCH_Y:30\n"
                    "MOJI_MAX_X:50\nMOJI_MAX_Y:5\nNP_OFS_X:10\nNP_OFS_Y:405\nNP_SZ_X:200\n"
                    "NP_SZ_Y:30\n");
  rig.game().Script("main", main);
  Picture skin(800, 400);
  skin.FillRect({0, 0, 800, 200}, 100, 100, 100);
  skin.FillRect({0, 200, 800, 200}, 128, 128, 128);
  rig.AddPicture("sys_tw", skin);
  for (int i = 0; i < 3; ++i) {
    rig.AddPicture("FR" + std::to_string(i + 1), Solid(kFrames[i]));
  }
  return rig.Start();
}

bool HasText(const Picture& p) {
  for (int y = kCellY; y < kCellY + 36; ++y) {
    for (int x = kCellX; x < kCellX + 32; ++x) {
      Bgr c = At(p, x, y);
      if (c.b > 220 && c.g > 220 && c.r > 220) return true;
    }
  }
  return false;
}

TEST(BackgroundAnimationTest, FramesAdvanceUnderTypedTextThatIsInEveryFrame) {
  GameRig rig;
  Engine& e = StartWithFrames(rig,
                              "*bg_anim 2,FR1,FR2,FR3\n"
                              "あいうえおかきくけこ\n\\\n");
  for (uint32_t t : {1000u, 1040u, 1080u, 1120u}) rig.platform().ProbeAt(t);
  rig.RunUntil(1200);
  rig.platform().FinishProbes();
  BackgroundAnimation& a = e.background_animation();
  ASSERT_TRUE(a.running());
  EXPECT_EQ(a.active(), 3);
  EXPECT_EQ(a.speed(), 2);
  EXPECT_EQ(e.wait_kind, kWaitPage);
  // Each frame carries its own window (its own colour under the skin) and the page's text.
  for (int i = 0; i < 3; ++i) {
    const Picture& frame = a.slot(i).frame;
    EXPECT_EQ(At(frame, 5, 5), kFrames[i]) << i;
    const Bgr under = At(frame, 700, 590);
    EXPECT_EQ(under,
              (Bgr{(kFrames[i].b * 127 + 100 * 128) >> 8, (kFrames[i].g * 127 + 100 * 128) >> 8,
                   (kFrames[i].r * 127 + 100 * 128) >> 8}))
        << i;
    EXPECT_TRUE(HasText(frame)) << i << ": " << test::Keep(frame, "bg-anim-frame");
  }
  // A new frame every second frame of 20 ms, in order, each shown whole with the text.
  int previous = -1;
  for (uint32_t t : {1000u, 1040u, 1080u, 1120u}) {
    const Picture& shot = rig.platform().Probe(t);
    int shown = -1;
    for (int i = 0; i < 3; ++i) {
      if (At(shot, 5, 5) == kFrames[i]) shown = i;
    }
    ASSERT_GE(shown, 0) << t;
    if (previous >= 0) {
      EXPECT_EQ(shown, (previous + 1) % 3) << t;
    }
    previous = shown;
    EXPECT_TRUE(HasText(shot)) << t;
  }
  // The menus that need a still scene are off meanwhile.
  EXPECT_TRUE(e.background_animation().running());
}

TEST(BackgroundAnimationTest, EndKeepsTheShownFrameAsTheBackground) {
  GameRig rig;
  Engine& e = StartWithFrames(rig, "*bg_anim 1,FR1,FR2,FR3,#2\n*bg_anim END\n\\\n");
  rig.RunUntil(500);
  EXPECT_FALSE(e.background_animation().running());
  // The sequence "#2" shows frame 2 only; it becomes the background, under a fresh window.
  EXPECT_EQ(At(e.pictures().background, 5, 5), kFrames[2]);
  EXPECT_EQ(At(e.pictures().background, 700, 590), kFrames[2]);
  EXPECT_EQ(At(e.pictures().scene, 5, 5), kFrames[2]);
  EXPECT_EQ(e.composition().background_name(), "");
}

TEST(BackgroundAnimationTest, SequencesLettersAndTheLimits) {
  GameRig rig;
  Engine& e = StartWithFrames(rig, "\\\n");
  rig.RunUntil(100);
  BackgroundAnimation& a = e.background_animation();
  // "#0120" loops frames 0, 1, 2, 0.
  a.Command("1,FR1,FR2,FR3,#0120");
  ASSERT_TRUE(a.running());
  std::vector<Bgr> seen;
  for (uint32_t f = 1; f <= 5; ++f) {
    a.Frame(f);
    seen.push_back(At(rig.platform().display(), 5, 5));
  }
  EXPECT_EQ(seen, (std::vector<Bgr>{kFrames[1], kFrames[2], kFrames[0], kFrames[0], kFrames[1]}));
  // More than 32 names: only 32 slots are made.
  std::string many = "1";
  for (int i = 0; i < 40; ++i) many += ",FR1";
  a.Command(many);
  EXPECT_EQ(a.active(), kMaxBackgroundFrames);
  // RELEASE stops it; nothing is shown any more.
  a.Command("release");
  EXPECT_FALSE(a.running());
  Picture before = rig.platform().display();
  a.Frame(2);
  EXPECT_TRUE(rig.platform().display() == before);
}

}  // namespace
}  // namespace quill
