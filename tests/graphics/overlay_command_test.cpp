#include "graphics/overlay_command.h"

#include <gtest/gtest.h>

#include "engine/command_table.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

// A 20 × 10 overlay stored side by side: red image on the left, its opaque mask on the right.
std::vector<uint8_t> RedOverlay() {
  Picture p(40, 10);
  p.FillRect({0, 0, 20, 10}, 0, 0, 255);
  p.FillRect({20, 0, 20, 10}, 255, 255, 255);
  return test::Packed(p);
}

// The masked blend of red over black at full mask: (0 × 0 + 255 × 255) >> 8.
constexpr int kMaskedRed = (255 * 255) >> 8;

class OverlayCommandTest : public ::testing::Test {
 protected:
  Engine& Start() {
    fixture_.game().Resource("mg_gra.qlm", "OVL", RedOverlay());
    // Below the standing pictures, drawn with its own mask.
    Engine& e = fixture_.StartMain("!S020=0;S023=0\nx\n");
    e.StepScript();
    return e;
  }
  void Run(Engine& e, const std::string& line) {
    std::string sjis = "*" + line;
    e.DispatchCommand(MatchCommand(sjis), sjis);
  }
  const uint8_t* Shown(int x, int y) { return fixture_.platform().display().Pixel(x, y); }
  test::ScriptFixture fixture_;
};

TEST_F(OverlayCommandTest, ShowsThePictureAtItsPositionAndOffHidesIt) {
  Engine& e = Start();
  Run(e, "ovr OVL,4,100,50");
  EXPECT_EQ(e.banks().S(35), 1);
  EXPECT_EQ(e.banks().S(21), 100);
  EXPECT_EQ(e.banks().S(22), 50);
  EXPECT_EQ(e.transitions().overlay_name(), "OVL");
  EXPECT_EQ(Shown(105, 55)[2], kMaskedRed);  // red inside the overlay
  EXPECT_EQ(Shown(125, 55)[2], 0);    // the mask half is not drawn as picture
  EXPECT_EQ(Shown(95, 55)[2], 0);

  Run(e, "ovr off");
  EXPECT_EQ(e.banks().S(35), 0);
  EXPECT_EQ(e.banks().S(21), 100);  // the position is kept for a later ovr
  EXPECT_EQ(e.banks().S(22), 50);
  EXPECT_EQ(Shown(105, 55)[2], 0);

  Run(e, "ovr OVL,4");  // a name and a transition keep the position
  EXPECT_EQ(e.banks().S(35), 1);
  EXPECT_EQ(Shown(105, 55)[2], kMaskedRed);
}

TEST_F(OverlayCommandTest, ArgumentForms) {
  struct Case {
    const char* line;
    int s21, s22;
  };
  const Case cases[] = {
      {"ovr OVL", 7, 8},            // the name alone keeps the position
      {"ovr OVL,4,30", 30, 8},      // only X
      {"ovr OVL 4,30,40", 30, 40},  // a blank also ends the name
      {"ovr OVL,4,-5,-6", -5, -6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    test::ScriptFixture f;
    f.game().Resource("mg_gra.qlm", "OVL", RedOverlay());
    Engine& e = f.StartMain("!S021=7;S022=8\nx\n");
    e.StepScript();
    std::string line = std::string("*") + c.line;
    e.DispatchCommand(MatchCommand(line), line);
    EXPECT_EQ(e.banks().S(21), c.s21);
    EXPECT_EQ(e.banks().S(22), c.s22);
    EXPECT_EQ(e.banks().S(35), 1);
  }
}

TEST_F(OverlayCommandTest, AMissingPictureShowsThePreviousOne) {
  Engine& e = Start();
  Run(e, "ovr OVL,4,10,10");
  Run(e, "ovr OFF,4");
  Run(e, "ovr NOSUCH,4");
  EXPECT_EQ(e.banks().S(35), 1);
  EXPECT_EQ(e.transitions().overlay_name(), "NOSUCH");
  EXPECT_EQ(Shown(15, 15)[2], kMaskedRed);
}

}  // namespace
}  // namespace quill
