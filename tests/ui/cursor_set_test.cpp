// The game's cursors on SDL's dummy video driver: the animation steps by the cursor's own times.
#include "platform/sdl/cursor_set.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace quill {
namespace {

CursorFrame Frame() {
  CursorFrame f;
  f.width = f.height = 8;
  f.rgba.assign(8 * 8 * 4, 255);
  return f;
}

class CursorSetTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
  void TearDown() override { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
};

TEST_F(CursorSetTest, StepsByTheCursorsTimes) {
  CursorSet cursors;
  AnimatedCursor c;
  c.frames = {Frame(), Frame()};
  c.steps = {{0, 100}, {1, 50}, {0, 200}};
  cursors.Register(30, c);
  cursors.Show(30, 1000);
  struct Case {
    uint32_t now;
    size_t step;
  };
  // A late call skips the steps it missed; a whole round behind starts afresh from then.
  const Case cases[] = {{1099, 0}, {1100, 1}, {1149, 1}, {1150, 2}, {1349, 2},
                        {1350, 0}, {1520, 2}, {9000, 2}, {9199, 2}, {9200, 0}};
  for (const Case& k : cases) {
    cursors.Step(k.now);
    EXPECT_EQ(cursors.step(), k.step) << k.now;
  }
  // Another number starts at its first step; the arrow (or an unknown number) does not step.
  cursors.Show(0, 9300);
  cursors.Step(20000);
  EXPECT_EQ(cursors.shown(), 0);
  EXPECT_EQ(cursors.step(), 0u);
  cursors.Clear();
}

}  // namespace
}  // namespace quill
