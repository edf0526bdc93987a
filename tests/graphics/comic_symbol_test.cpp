#include "graphics/comic_symbol.h"

#include <gtest/gtest.h>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Solid;

constexpr Bgr kScene{90, 60, 30};
constexpr Bgr kDrop{250, 120, 10};
// The drop as the full mask draws it over the scene.
const Bgr kDrawn = test::Masked(kScene, kDrop, 255);

// A 20 × 16 symbol: the image on the left, a mask that covers all but its first column.
Picture Symbol() {
  Picture p(40, 16);
  p.FillRect({0, 0, 20, 16}, kDrop.b, kDrop.g, kDrop.r);
  p.FillRect({21, 0, 19, 16}, 255, 255, 255);
  return p;
}

Engine& StartWithSymbol(GameRig& rig) {
  rig.AddPicture("DROP", Symbol());
  Engine& e = rig.Start();
  rig.RunUntil(100);  // the game has started and shows its first (black) screen
  e.pictures().scene = Solid(kScene);
  e.screen() = e.pictures().scene;
  rig.platform().Present(e.screen());
  return e;
}

TEST(ComicSymbolTest, ModeTwoBlinksFourTicksOnFourOff) {
  GameRig rig;
  Engine& e = StartWithSymbol(rig);
  const uint32_t ticks = e.tick_counter;
  ASSERT_EQ(ticks, 1u);  // the next ticks come at 110, 165, 220 …
  e.comic_symbol().Command("DROP,2,100,50");
  EXPECT_EQ(e.banks().S(32), 100);
  EXPECT_EQ(e.banks().S(33), 50);
  for (uint32_t t : {150u, 300u, 500u, 700u}) rig.platform().ProbeAt(t);
  rig.RunUntil(800);
  rig.platform().FinishProbes();
  auto shows = [&](uint32_t t) { return At(rig.platform().Probe(t), 110, 58) == kDrawn; };
  EXPECT_TRUE(shows(150));   // drawn by the command
  EXPECT_TRUE(shows(300));   // tick 4 (220): on
  EXPECT_FALSE(shows(500));  // tick 8 (440): off
  EXPECT_TRUE(shows(700));   // tick 12 (660): on
  // The clear column is in a blended group: one level darker. The screen buffer never had it.
  EXPECT_EQ(At(rig.platform().Probe(300), 100, 58), test::Masked(kScene, kDrop, 0));
  EXPECT_EQ(At(e.screen(), 110, 58), kScene);
}

TEST(ComicSymbolTest, ARebuildRemovesItAndModeOneKeepsItInTheScreenBuffer) {
  GameRig rig;
  Engine& e = StartWithSymbol(rig);
  e.comic_symbol().Command("DROP,1,200,300");
  EXPECT_EQ(At(e.screen(), 210, 305), kDrawn);
  EXPECT_EQ(At(rig.platform().display(), 210, 305), kDrawn);
  EXPECT_TRUE(e.comic_symbol().active());
  e.composition().RebuildScreen();
  EXPECT_FALSE(e.comic_symbol().active());
  EXPECT_EQ(At(rig.platform().display(), 210, 305), kScene);
  // Mode and place stay for the next symbol given by name only.
  e.comic_symbol().Command("DROP");
  EXPECT_EQ(e.comic_symbol().mode(), 1);
  EXPECT_EQ(At(rig.platform().display(), 210, 305), kDrawn);
}

TEST(ComicSymbolTest, AMissingPictureKeepsThePreviousSymbolAndNothingDrawsWithoutAny) {
  GameRig rig;
  Engine& e = StartWithSymbol(rig);
  e.comic_symbol().Command("NONE,0,10,10");  // never loaded: an empty symbol
  EXPECT_EQ(At(rig.platform().display(), 10, 10), kScene);
  e.comic_symbol().Command("DROP,0,10,10");
  e.comic_symbol().Command("NONE,0,300,10");
  EXPECT_EQ(At(rig.platform().display(), 310, 12), kDrawn);
  e.comic_symbol().Command("");  // an empty argument does nothing
  EXPECT_EQ(e.banks().S(32), 300);
}

}  // namespace
}  // namespace quill
