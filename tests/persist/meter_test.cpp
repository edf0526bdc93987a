#include "persist/meter.h"

#include <gtest/gtest.h>

#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill::test {
namespace {

// Frame i of the sheet: image (i × 20 + 10, 0, 0) in the left half, an opaque mask in the right.
Picture MeterSheet() {
  Picture p(240, 95 * 11);
  for (int i = 0; i < 11; ++i) {
    p.FillRect({0, 95 * i, 120, 95}, static_cast<uint8_t>(i * 20 + 10), 0, 0);
    p.FillRect({120, 95 * i, 120, 95}, 255, 255, 255);
  }
  return p;
}

class MeterGame {
 public:
  explicit MeterGame(bool with_sheet = true) {
    if (with_sheet) f_.game().Resource("mg_gra.qlm", "sys_meter", Packed(MeterSheet()));
  }
  Engine& Start() {
    Engine& e = f_.StartMain("\\\n");
    f_.Frames(2);
    return e;
  }
  ScriptFixture& fixture() { return f_; }

 private:
  ScriptFixture f_;
};

// Through the opaque mask each byte comes out × 255 / 256.
int FrameBlue(int level) { return (level * 20 + 10) * 255 >> 8; }
int ShownLevel(const Picture& p) { return At(p, 700, 50).b / 20; }

TEST(MeterTest, FrameOfTheParameterLevel) {
  MeterGame g;
  Engine& e = g.Start();
  ValueBanks& b = e.banks();
  struct Case {
    int s004, v800, level, frame;
  };
  const Case cases[] = {{1, 1, 7, 7},  {1, 2, 10, 10}, {1, 1, 11, 0},
                        {1, 1, -1, 0}, {0, 1, 7, 0},   {1, 0, 7, 0}};
  for (const Case& c : cases) {
    b.SetS(4, c.s004);
    b.SetV(800, c.v800);
    if (c.v800 != 0) b.SetV(800 + c.v800, c.level);
    e.screen().Fill(1, 2, 3);
    e.meter().ShowMeter(1);
    EXPECT_EQ(e.meter().last_frame(), c.frame) << c.level;
    bool drawn = c.s004 != 0 && c.v800 != 0;
    EXPECT_EQ(At(e.screen(), 700, 50), drawn ? (Bgr{FrameBlue(c.frame), 0, 0}) : (Bgr{1, 2, 3}));
    if (drawn) {
      EXPECT_EQ(ShownLevel(g.fixture().platform().display()), c.frame);
    }
  }
}

TEST(MeterTest, ChgprmBlinksAndEndsOnTheNewLevel) {
  MeterGame g;
  Engine& e = g.Start();
  ValueBanks& b = e.banks();
  b.SetS(4, 1);
  b.SetV(800, 3);
  b.SetV(803, 2);
  e.meter().ShowMeter(1);
  b.SetV(803, 6);
  uint32_t t0 = g.fixture().platform().NowMs();
  e.meter().ChangeParameter();
  uint32_t took = g.fixture().platform().NowMs() - t0;
  EXPECT_GE(took, 1000u);
  EXPECT_LT(took, 1100u);
  EXPECT_EQ(b.V(803), 6);
  EXPECT_EQ(e.meter().last_frame(), 6);
  EXPECT_EQ(ShownLevel(g.fixture().platform().display()), 6);

  // Unchanged since the last drawing: at once, no blink.
  t0 = g.fixture().platform().NowMs();
  e.meter().ChangeParameter();
  EXPECT_EQ(g.fixture().platform().NowMs(), t0);

  // A level outside 0–10 blinks to frame 0 and leaves 0 in the cell.
  b.SetV(803, 11);
  e.meter().ChangeParameter();
  EXPECT_EQ(b.V(803), 0);
  EXPECT_EQ(e.meter().last_frame(), 0);
}

TEST(MeterTest, ChgprmWithTheMeterOffTakesItsTimeAndDrawsNothing) {
  MeterGame g;
  Engine& e = g.Start();
  ValueBanks& b = e.banks();
  b.SetS(4, 0);
  b.SetV(800, 1);
  b.SetV(801, 4);
  Picture before = g.fixture().platform().display();
  uint32_t t0 = g.fixture().platform().NowMs();
  e.meter().ChangeParameter();
  EXPECT_GE(g.fixture().platform().NowMs() - t0, 1000u);
  EXPECT_EQ(b.V(801), 4);
  EXPECT_EQ(g.fixture().platform().display(), before);
}

TEST(MeterTest, WithoutThePictureNothingIsDrawn) {
  MeterGame g(false);
  Engine& e = g.Start();
  e.banks().SetS(4, 1);
  e.banks().SetV(800, 1);
  e.banks().SetV(801, 5);
  e.screen().Fill(1, 2, 3);
  e.meter().ShowMeter(1);
  EXPECT_EQ(e.meter().last_frame(), 5);
  EXPECT_EQ(At(e.screen(), 700, 50), (Bgr{1, 2, 3}));
}

}  // namespace
}  // namespace quill::test
