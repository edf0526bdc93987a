#include "graphics/screen_objects.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Masked;
using test::Solid;

constexpr Bgr kScreen{30, 60, 90};
constexpr Bgr kBody{240, 200, 10};

// A 16 × 8 object: the image above, the mask below — opaque on the left half, a quarter on the
// right half.
Picture Object() {
  Picture p(16, 16);
  p.FillRect({0, 0, 16, 8}, kBody.b, kBody.g, kBody.r);
  p.FillRect({0, 8, 8, 8}, 255, 255, 255);
  p.FillRect({8, 8, 8, 8}, 64, 64, 64);
  return p;
}

Engine& StartWithObject(GameRig& rig, const std::string& scenario = "") {
  rig.AddPicture("OBJ", Object());
  Engine& e = rig.Start(scenario);
  e.screen() = Solid(kScreen);
  rig.platform().Present(e.screen());
  return e;
}

TEST(ScreenObjectsTest, SetDrawsThroughTheMaskAtItsPlaceAndFixKeepsIt) {
  GameRig rig;
  Engine& e = StartWithObject(rig);
  ScreenObjects& o = e.objects();
  o.Command("load 3,OBJ");
  const uint32_t t0 = rig.platform().NowMs();
  o.Command("set 3,100,50,40");
  EXPECT_EQ(rig.platform().NowMs(), t0 + 40);
  const Picture& d = rig.platform().display();
  EXPECT_EQ(At(d, 100, 50), Masked(kScreen, kBody, 255));
  EXPECT_EQ(At(d, 110, 57), Masked(kScreen, kBody, 64));
  EXPECT_EQ(At(d, 99, 50), kScreen);
  EXPECT_EQ(At(d, 116, 50), kScreen);
  EXPECT_EQ(At(d, 100, 58), kScreen);
  EXPECT_EQ(At(e.screen(), 100, 50), kScreen);  // set draws on the display only
  EXPECT_EQ(o.object(3).x, 100);
  // era puts the screen buffer back there; fix draws into the screen buffer too.
  o.Command("era 3,100,50");
  EXPECT_EQ(At(rig.platform().display(), 100, 50), kScreen);
  e.banks().SetV(5, 20);
  o.Command("fix 3,V005,V005+10");
  EXPECT_EQ(At(e.screen(), 20, 30), Masked(kScreen, kBody, 255));
  EXPECT_EQ(At(rig.platform().display(), 20, 30), Masked(kScreen, kBody, 255));
}

TEST(ScreenObjectsTest, AMissingYRepeatsXAndUnknownNumbersAreRefused) {
  GameRig rig;
  Engine& e = StartWithObject(rig);
  ScreenObjects& o = e.objects();
  o.Command("load 0,OBJ");
  o.Command("set 0,40");
  EXPECT_EQ(At(rig.platform().display(), 40, 40), Masked(kScreen, kBody, 255));
  for (const char* bad : {"load 32,OBJ", "load -1,OBJ", "set 40,1,1", "del 99", "era 32,1,1"}) {
    o.Command(bad);
  }
  // Never loaded: nothing drawn.
  o.Command("set 5,200,200");
  EXPECT_EQ(At(rig.platform().display(), 200, 200), kScreen);
  o.Command("del 0");
  EXPECT_FALSE(o.object(0).created);
  o.Command("set 0,300,300");
  EXPECT_EQ(At(rig.platform().display(), 300, 300), kScreen);
  o.Command("nothing 1,2,3");
}

TEST(ScreenObjectsTest, TheBoardCollectsObjectsAndShowsThemAtOnce) {
  GameRig rig;
  Engine& e = StartWithObject(rig);
  ScreenObjects& o = e.objects();
  o.Command("load 1,OBJ");
  o.Command("b_set 1,10,10");  // no board yet: nothing
  o.Command("b_make");
  EXPECT_TRUE(o.board_made());
  o.Command("b_reset");
  o.Command("b_set 1,10,10");
  o.Command("b_set 1,500,400");
  EXPECT_EQ(At(rig.platform().display(), 10, 10), kScreen);
  o.Command("b_show");
  EXPECT_EQ(At(rig.platform().display(), 10, 10), Masked(kScreen, kBody, 255));
  EXPECT_EQ(At(rig.platform().display(), 500, 400), Masked(kScreen, kBody, 255));
  o.Command("b_end");
  EXPECT_FALSE(o.board_made());
  o.Reset();
  EXPECT_FALSE(o.object(1).created);
}

}  // namespace
}  // namespace quill
