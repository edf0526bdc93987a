#include "graphics/sprite_motion.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Solid;

constexpr Bgr kSky{200, 100, 50};
constexpr Bgr kFigure{10, 220, 30};
// What the full mask draws: (d × 0 + s × 255) >> 8.
const Bgr kDrawn = test::Masked(kSky, kFigure, 255);

// A game with a plain background and a 40 × 100 standing picture with a full mask.
Engine& StartWithFigure(GameRig& rig, const std::string& scenario = "") {
  rig.game().Script("_config",
                    "TITLE:Motion\nMAKER_REG:QuillTests\nGAME_ID:Motion\n"
                    "TACHI_DEFAULT:410,220,580,150,430,610,110,320,510,690\n");
  rig.AddPicture("BG01", Solid(kSky));
  Picture figure(40, 100), mask(40, 100);
  figure.Fill(kFigure.b, kFigure.g, kFigure.r);
  mask.Fill(255, 255, 255);
  rig.AddPicture("B01", figure).AddPicture("M01", mask);
  Engine& e = rig.Start(scenario);
  e.composition().BackgroundCommand("BG01,0");
  return e;
}

TEST(SpriteMotionTest, InitRestoresTheLayoutFromTachiDefault) {
  GameRig rig;
  Engine& e = StartWithFigure(rig);
  for (int i = 80; i < 100; ++i) e.banks().SetS(i, -5);
  SpriteMotion(e, "init");
  const int centres[] = {410, 220, 580, 150, 430, 610, 110, 320, 510, 690};
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(e.banks().S(80 + k), centres[k]) << k;
    EXPECT_EQ(e.banks().S(90 + k), 0) << k;
  }
}

TEST(SpriteMotionTest, GlidesFrameByFrameToTheTarget) {
  GameRig rig;
  Engine& e = StartWithFigure(rig);
  const uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {10u, 40u, 100u}) rig.platform().ProbeAt(t0 + dt);
  // One picture: centre S080 from 410 to 310, top S090 from 0 to 20, in 4 frames of 30 ms.
  SpriteMotion(e, "B01,310,20,4");
  rig.platform().FinishProbes();
  EXPECT_EQ(e.banks().S(80), 310);
  EXPECT_EQ(e.banks().S(90), 20);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 120);
  // Frame 0 at 410 (left edge 390), frame 1 at 385 (365), frame 3 at 335 (315).
  struct Probe {
    uint32_t dt;
    int left, top;
  };
  for (Probe p : {Probe{10, 390, 0}, Probe{40, 365, 5}, Probe{100, 315, 15}}) {
    const Picture& shot = rig.platform().Probe(t0 + p.dt);
    EXPECT_EQ(At(shot, p.left, p.top + 50), kDrawn) << p.dt;
    EXPECT_EQ(At(shot, p.left - 1, p.top + 50), kSky) << p.dt;
    EXPECT_EQ(At(shot, p.left + 40, p.top + 50), kSky) << p.dt;
  }
  EXPECT_FALSE(e.busy);
  EXPECT_FALSE(e.transition_running);
  EXPECT_TRUE(e.screen() == e.pictures().scene);
}

TEST(SpriteMotionTest, ZeroFramesStayPutAndBadFieldCountsDoNothing) {
  GameRig rig;
  Engine& e = StartWithFigure(rig);
  SpriteMotion(e, "B01,100,100,0");
  EXPECT_EQ(e.banks().S(80), 410);
  EXPECT_EQ(e.banks().S(90), 0);
  const uint32_t t0 = rig.platform().NowMs();
  for (const char* arg : {"B01,1,2", "B01,1,2,3,4", ""}) {
    SpriteMotion(e, arg);
    EXPECT_EQ(e.banks().S(80), 410) << arg;
  }
  EXPECT_EQ(rig.platform().NowMs(), t0);
}

TEST(SpriteMotionTest, AClickJumpsToTheEnd) {
  GameRig rig;
  Engine& e = StartWithFigure(rig, "45 click 5 5\n");
  ASSERT_EQ(rig.platform().NowMs(), 0u);
  e.banks().SetS(19, 0);
  SpriteMotion(e, "B01,10,0,100");
  EXPECT_EQ(e.banks().S(80), 10);
  EXPECT_EQ(e.banks().S(19), 1);
  // The click is seen by the wait after the frame drawn at 60 ms.
  EXPECT_EQ(rig.platform().NowMs(), 90u);
  EXPECT_EQ(At(rig.platform().display(), 0, 50), kDrawn);  // centre 10: left edge -10
  EXPECT_FALSE(e.busy);
}

}  // namespace
}  // namespace quill
