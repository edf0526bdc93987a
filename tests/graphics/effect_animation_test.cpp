#include "graphics/effect_animation.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Masked;
using test::Solid;

constexpr Bgr kScreen{20, 40, 60};

Bgr FrameColour(int k) { return {50 * k, 255 - 20 * k, 100}; }

// Frames k = 1..n: solid colours; masks opaque on the left half, clear on the right.
Engine& StartWithFrames(GameRig& rig, int n) {
  for (int k = 1; k <= n; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "FX_%03d", k);
    Bgr c = FrameColour(k);
    rig.AddPicture(name, Solid(c));
    Picture mask(800, 600);
    mask.FillRect({0, 0, 400, 600}, 200, 200, 200);
    std::snprintf(name, sizeof name, "FX_%03d_m", k);
    rig.AddPicture(name, mask);
  }
  Engine& e = rig.Start();
  e.screen() = Solid(kScreen);
  return e;
}

TEST(EffectAnimationTest, PlaysTheFramesThroughTheirMasksFromTheSecondEntry) {
  GameRig rig;
  Engine& e = StartWithFrames(rig, 3);
  const uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {10u, 50u, 90u}) rig.platform().ProbeAt(t0 + dt);
  EffectAnimation(e, "FX,40");
  rig.platform().FinishProbes();
  // Sequence 0, 1, 2, …: frame 0 is never shown, frame 4 is missing and ends it.
  EXPECT_EQ(At(rig.platform().Probe(t0 + 10), 10, 10), Masked(kScreen, FrameColour(1), 200));
  EXPECT_EQ(At(rig.platform().Probe(t0 + 10), 500, 10), kScreen);
  EXPECT_EQ(At(rig.platform().Probe(t0 + 50), 10, 10), Masked(kScreen, FrameColour(2), 200));
  EXPECT_EQ(At(rig.platform().Probe(t0 + 90), 10, 10), Masked(kScreen, FrameColour(3), 200));
  EXPECT_EQ(rig.platform().NowMs(), t0 + 120);
  EXPECT_EQ(At(rig.platform().display(), 10, 10), kScreen);
  // The pictures it borrowed are back to the screen's size.
  EXPECT_EQ(e.pictures().saved.width(), kScreenWidth);
  EXPECT_EQ(e.pictures().full_overlay.width(), kScreenWidth);
}

TEST(EffectAnimationTest, AGivenSequenceAndAMissingFirstFrame) {
  GameRig rig;
  Engine& e = StartWithFrames(rig, 3);
  const uint32_t t0 = rig.platform().NowMs();
  rig.platform().ProbeAt(t0 + 5);
  EffectAnimation(e, "FX,,9,3,1,3");  // default period, frames 3, 1, 3
  rig.platform().FinishProbes();
  EXPECT_EQ(At(rig.platform().Probe(t0 + 5), 10, 10), Masked(kScreen, FrameColour(3), 200));
  EXPECT_EQ(rig.platform().NowMs(), t0 + 150);

  // Frame 001 missing: nothing is shown and the screen comes back at once.
  const uint32_t t1 = rig.platform().NowMs();
  rig.platform().Present(Solid({9, 9, 9}));
  EffectAnimation(e, "NONE,40");
  EXPECT_EQ(rig.platform().NowMs(), t1);
  EXPECT_EQ(At(rig.platform().display(), 10, 10), kScreen);
}

TEST(EffectAnimationArgumentsTest, SequenceStopsAtTheFirstEmptyField) {
  EffectAnimationArguments a = ReadEffectAnimationArguments("BURST,30,0,2,,5");
  EXPECT_EQ(a.name, "BURST");
  EXPECT_EQ(a.period, 30);
  EXPECT_EQ(a.sequence, (std::vector<int>{0, 2}));
  EXPECT_EQ(ReadEffectAnimationArguments("BURST").sequence.size(), 100u);
}

}  // namespace
}  // namespace quill
