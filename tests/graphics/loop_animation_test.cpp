#include "graphics/loop_animation.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Mix;
using test::Solid;

constexpr Bgr kScene{40, 40, 40};
constexpr Bgr kFrames[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}};

Engine& StartWithFrames(GameRig& rig) {
  for (int i = 0; i < 3; ++i) {
    Picture p(24, 16);
    p.Fill(kFrames[i].b, kFrames[i].g, kFrames[i].r);
    rig.AddPicture("ANIM 0" + std::to_string(i + 1), p);
  }
  Engine& e = rig.Start();
  e.pictures().scene = Solid(kScene);
  e.screen() = e.pictures().scene;
  rig.platform().Present(e.screen());
  e.banks().SetS(46, 300);
  e.banks().SetS(47, 200);
  return e;
}

Bgr Shown(GameRig& rig) { return At(rig.platform().display(), 310, 205); }

TEST(LoopAnimationTest, OncePlaysEachFrameForItsTimeAndLeavesTheLastInTheScreenBuffer) {
  GameRig rig;
  Engine& e = StartWithFrames(rig);
  const uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {10u, 70u, 130u}) rig.platform().ProbeAt(t0 + dt);
  e.loop_animation().Command("anim,3o");
  rig.platform().FinishProbes();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(At(rig.platform().Probe(t0 + 10 + 60 * i), 310, 205), kFrames[i]) << i;
  }
  EXPECT_EQ(rig.platform().NowMs(), t0 + 180);
  EXPECT_EQ(e.banks().S(44), 0);
  EXPECT_EQ(e.loop_animation().frame_count(), 0);
  EXPECT_EQ(At(e.screen(), 310, 205), kFrames[2]);
}

TEST(LoopAnimationTest, RunsOnTheFrameLoopAndFinishesThroughStateTwo) {
  GameRig rig;
  Engine& e = StartWithFrames(rig);
  e.loop_animation().Command("ANIM");  // speed 2 by default
  EXPECT_EQ(e.banks().S(44), 1);
  EXPECT_EQ(e.banks().S(45), 2);
  EXPECT_EQ(e.loop_animation().frame_count(), 3);
  EXPECT_EQ(Shown(rig), kFrames[0]);
  const int expected[] = {0, 0, 1, 1, 2, 2, 0, 0, 1};  // a new picture every second frame
  for (int step = 0; step < 9; ++step) {
    EXPECT_EQ(Shown(rig), kFrames[expected[step]]) << step;
    EXPECT_EQ(At(e.screen(), 310, 205), kFrames[expected[step]]) << step;
    if (step < 8) e.loop_animation().Step();
  }
  // Now at frame 1: the finish shows frames 1 and 2, 40 ms each, in state 2; then the name that
  // has no frames leaves it stopped.
  ASSERT_EQ(e.loop_animation().index(), 1);
  const uint32_t t0 = rig.platform().NowMs();
  rig.platform().ProbeAt(t0 + 50);
  e.loop_animation().Command("NONE,S");
  rig.platform().FinishProbes();
  EXPECT_EQ(At(rig.platform().Probe(t0 + 50), 310, 205), kFrames[2]);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 80);
  EXPECT_EQ(e.banks().S(44), 0);
  // Stopped: the frame loop changes nothing.
  Picture before = rig.platform().display();
  e.loop_animation().Step();
  e.loop_animation().Step();
  EXPECT_TRUE(rig.platform().display() == before);
}

TEST(LoopAnimationTest, FadeOutBlendsIntoTheSceneAndRestoresIt) {
  GameRig rig;
  Engine& e = StartWithFrames(rig);
  e.loop_animation().Command("ANIM,1");
  const uint32_t t0 = rig.platform().NowMs();
  rig.platform().ProbeAt(t0 + 5);
  e.loop_animation().Command("ANIM,F");
  rig.platform().FinishProbes();
  // Speed 1: j rises by 1 per 20 ms; the first shown blend has j = 0 on the next frame (1).
  EXPECT_EQ(At(rig.platform().Probe(t0 + 5), 310, 205), Mix(256, kFrames[1], kScene));
  EXPECT_EQ(rig.platform().NowMs(), t0 + 64 * 20);
  EXPECT_EQ(e.banks().S(44), 0);
  EXPECT_EQ(e.loop_animation().frame_count(), 0);
  EXPECT_EQ(Shown(rig), kScene);
  EXPECT_EQ(At(e.screen(), 310, 205), kScene);
}

TEST(LoopAnimationTest, AMissingFirstFrameDoesNothing) {
  GameRig rig;
  Engine& e = StartWithFrames(rig);
  e.banks().SetS(44, 0);
  e.loop_animation().Command("NOSUCH,2");
  EXPECT_EQ(e.banks().S(44), 0);
  EXPECT_EQ(Shown(rig), kScene);
}

}  // namespace
}  // namespace quill
