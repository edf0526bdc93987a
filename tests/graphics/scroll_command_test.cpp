#include "graphics/scroll_command.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Solid;

// A picture whose every pixel tells where it is: blue x / 8, green y / 8, red 77.
Picture Landscape(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x / 8);
      px[1] = static_cast<uint8_t>(y / 8);
      px[2] = 77;
    }
  }
  return p;
}

Bgr Place(int x, int y) { return {x / 8, y / 8, 77}; }

struct DirectionCase {
  int dir;
  int w, h;
  int start_x, start_y;  // the view's top-left at the start
  int end_x, end_y;      // and at the end
};

TEST(ScrollCommandTest, EveryDirectionRunsFromEdgeToEdgeOnePixelPerPeriod) {
  const DirectionCase cases[] = {
      {0, 800, 1000, 0, 400, 0, 0},
      {1, 1200, 600, 0, 0, 400, 0},
      {2, 800, 1000, 0, 0, 0, 400},
      {3, 1200, 600, 400, 0, 0, 0},
  };
  for (const DirectionCase& c : cases) {
    GameRig rig;
    rig.AddPicture("WIDE", Landscape(c.w, c.h));
    Engine& e = rig.Start();
    e.screen() = Solid({1, 2, 3});
    e.pictures().scene = Solid({4, 5, 6});
    const uint32_t t0 = rig.platform().NowMs();
    // Half-way: 200 pixels of 400 at 2 ms each.
    rig.platform().ProbeAt(t0 + 401);
    ScrollCommand(e, "WIDE," + std::to_string(c.dir) + ",2,4");
    rig.platform().FinishProbes();
    EXPECT_EQ(rig.platform().NowMs(), t0 + 800) << c.dir;
    const Picture& half = rig.platform().Probe(t0 + 401);
    const int hx = (c.start_x + c.end_x) / 2, hy = (c.start_y + c.end_y) / 2;
    EXPECT_EQ(At(half, 0, 0), Place(hx, hy)) << c.dir;
    EXPECT_EQ(At(e.screen(), 0, 0), Place(c.end_x, c.end_y)) << c.dir;
    EXPECT_EQ(At(e.screen(), 799, 599), Place(c.end_x + 799, c.end_y + 599)) << c.dir;
    EXPECT_EQ(At(rig.platform().display(), 0, 0), Place(c.end_x, c.end_y)) << c.dir;
    // The layers stay as they were; the modes and flags are back.
    EXPECT_EQ(At(e.pictures().scene, 0, 0), (Bgr{4, 5, 6})) << c.dir;
    EXPECT_EQ(e.screen_mode, 0);
    EXPECT_FALSE(e.busy);
    EXPECT_FALSE(e.menus_off);
  }
}

TEST(ScrollCommandTest, AClickJumpsToTheEndView) {
  GameRig rig;
  rig.AddPicture("TALL", Landscape(800, 1200));
  Engine& e = rig.Start("100 click 10 10\n");
  ASSERT_LT(rig.platform().NowMs(), 100u);
  ScrollCommand(e, "TALL,0,10,0");
  EXPECT_LT(rig.platform().NowMs(), 200u);
  EXPECT_EQ(At(e.screen(), 0, 0), Place(0, 0));
  EXPECT_EQ(At(rig.platform().display(), 0, 0), Place(0, 0));
}

TEST(ScrollCommandTest, SmallPicturesShowBlackAndBadDirectionsDoNothing) {
  GameRig rig;
  rig.AddPicture("SMALL", Landscape(400, 300));
  Engine& e = rig.Start();
  e.screen() = Solid({1, 2, 3});
  const uint32_t t0 = rig.platform().NowMs();
  ScrollCommand(e, "SMALL,4,5,0");
  ScrollCommand(e, "SMALL,-1,5,0");
  ScrollCommand(e, "MISSING,1,5,0");
  EXPECT_EQ(rig.platform().NowMs(), t0);
  EXPECT_EQ(At(e.screen(), 0, 0), (Bgr{1, 2, 3}));
  EXPECT_FALSE(e.menus_off);
  // Direction 0 starts 300 rows above the picture: no pan, black above it.
  ScrollCommand(e, "SMALL,0,5,0");
  EXPECT_EQ(At(e.screen(), 0, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(e.screen(), 0, 300), Place(0, 0));
  EXPECT_EQ(At(e.screen(), 400, 300), (Bgr{0, 0, 0}));
}

TEST(ScrollArgumentsTest, AMissingCommaReadsTheSameTextAgain) {
  ScrollArguments a = ReadScrollArguments("PANO,1,7");
  EXPECT_EQ(a.name, "PANO");
  EXPECT_EQ(a.direction, 1);
  EXPECT_EQ(a.period, 7);
  EXPECT_EQ(a.transition, 7);
}

}  // namespace
}  // namespace quill
