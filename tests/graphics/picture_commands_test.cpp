#include "graphics/picture_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/composition.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

using test::Solid;
using test::Packed;
using test::At;
using test::Bgr;
using Bytes = std::vector<uint8_t>;

TEST(PictureArgument, NameTransitionAndSide) {
  struct Case {
    const char* argument;
    bool with_side;
    const char* name;
    int transition;
    char side;
  };
  const Case cases[] = {
      {"A01", true, "A01", -1, 0},
      {"A01,5", true, "A01", 5, 0},
      {"S0G0,12", false, "S0G0", 12, 0},
      {"B01,3 L", true, "B01", 3, 'L'},
      {"b01 r", true, "b01", -1, 'R'},
      {"B01 R,7", true, "B01", 7, 'R'},
      {"B01,7 L", false, "B01", 7, 0},  // bg has no side
      {"B01, 4 9", true, "B01", 4, 0},  // only the first run of digits
      {"A01]9", true, "A01", -1, 0},    // parsing stops at "]"
      {"A01,2]R", true, "A01", 2, 0},
      {"", true, "", -1, 0},
      {",5", true, "", 5, 0},
  };
  for (const Case& c : cases) {
    PictureArgument a = ParsePictureArgument(c.argument, c.with_side);
    EXPECT_EQ(a.name, c.name) << c.argument;
    EXPECT_EQ(a.transition, c.transition) << c.argument;
    EXPECT_EQ(a.side, c.side) << c.argument;
  }
}

TEST(PictureArgument, LimitsOfNameAndLine) {
  // A name stops after 63 characters; nothing past the 64th byte is read.
  std::string long_name(70, 'A');
  EXPECT_EQ(ParsePictureArgument(long_name + ",5", true).name, std::string(63, 'A'));
  EXPECT_EQ(ParsePictureArgument(long_name + ",5", true).transition, -1);
  std::string in_reach = "A01" + std::string(60, ' ') + "7";  // the 7 is the 64th byte
  EXPECT_EQ(ParsePictureArgument(in_reach, true).transition, 7);
  std::string padded = "A01" + std::string(61, ' ') + "7";
  EXPECT_EQ(ParsePictureArgument(padded, true).transition, -1);
}

TEST(SolidColour, DigitsForRedGreenBlue) {
  struct Case {
    const char* name;
    int r, g, b;
  };
  const Case cases[] = {
      {"S0G0", 0, 255, 0},     {"S000", 0, 0, 0},    {"Sfa0", 240, 160, 0}, {"SFA0", 240, 160, 0},
      {"sggg", 255, 255, 255}, {"S9x1", 144, 0, 16}, {"S1", 16, 0, 0},      {"S", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SolidColour colour = SolidColourOf(c.name);
    EXPECT_EQ(colour.r, c.r) << c.name;
    EXPECT_EQ(colour.g, c.g) << c.name;
    EXPECT_EQ(colour.b, c.b) << c.name;
  }
}

TEST(ClearArgument, SideFromTheLastCharacterTransitionFromTheFirst) {
  struct Case {
    const char* argument;
    char side;
    int transition;
  };
  const Case cases[] = {
      {"", 0, 0},    {"L", 'L', 0},   {"l", 'L', 0}, {"5R", 'R', 5},
      {"12", 0, 12}, {"3 r", 'R', 3}, {"L 3", 0, 0}, {"4x", 0, 4},
  };
  for (const Case& c : cases) {
    ClearArgument a = ParseClearArgument(c.argument);
    EXPECT_EQ(a.side, c.side) << c.argument;
    EXPECT_EQ(a.transition, c.transition) << c.argument;
  }
}

constexpr Bgr kGrey{100, 100, 100};  // A01
// BOP and BOP2 through their opaque masks: (s × 255) >> 8 loses one level.
constexpr Bgr kRed{0, 0, 254};
constexpr Bgr kBlue{254, 0, 0};

// A game whose main script is the commands under test, each group ending in a page wait.
class PictureCommandsTest : public ::testing::Test {
 protected:
  void Start(const std::string& script) {
    test::FixtureGame& game = fixture_.game();
    game.Resource("mg_gra.qlm", "A01", Packed(Solid(800, 600, 100, 100, 100)));
    game.Resource("mg_gra.qlm", "A02", Packed(Solid(800, 600, 0, 100, 0)));
    game.Resource("mg_gra.qlm", "BOP", Packed(Solid(40, 60, 0, 0, 255)));
    game.Resource("mg_gra.qlm", "MOP", Packed(Solid(40, 60, 255, 255, 255)));
    game.Resource("mg_gra.qlm", "BOP2", Packed(Solid(40, 60, 255, 0, 0)));
    game.Resource("mg_gra.qlm", "MOP2", Packed(Solid(40, 60, 255, 255, 255)));
    fixture_.StartMain(script);
    Next();
  }
  // Runs to the next page wait.
  void Next() {
    Engine& e = fixture_.engine();
    e.wait_kind = 0;
    fixture_.StepUntilHeld();
  }
  Engine& engine() { return fixture_.engine(); }
  Composition& composition() { return engine().composition(); }
  const Picture& screen() { return engine().pictures().screen; }
  const Picture& display() { return fixture_.platform().display(); }

  test::ScriptFixture fixture_;
};

TEST_F(PictureCommandsTest, SolidColourBackgrounds) {
  Start("*gra S0G0,4\n\\\n*gra S000,4\n\\\n*bg sF00,4\n\\\n");
  EXPECT_EQ(At(display(), 0, 0), (Bgr{0, 255, 0}));
  EXPECT_EQ(At(display(), 799, 599), (Bgr{0, 255, 0}));
  EXPECT_EQ(composition().background_name(), "S0G0");
  Next();
  EXPECT_EQ(At(display(), 400, 300), (Bgr{0, 0, 0}));
  EXPECT_EQ(composition().background_name(), "S000");
  Next();
  EXPECT_EQ(At(display(), 400, 300), (Bgr{0, 0, 240}));
  EXPECT_EQ(composition().background_name(), "sF00");
}

TEST_F(PictureCommandsTest, BackgroundPictureClearsTheStandingPictures) {
  Start("*gra A01,4\n*spr BOP,4\n\\\n*gra A02,4\n\\\n");
  EXPECT_EQ(At(display(), 400, 10), kRed);
  EXPECT_TRUE(composition().new_background);
  Next();
  EXPECT_EQ(At(display(), 400, 10), (Bgr{0, 100, 0}));
  EXPECT_EQ(composition().standing().count(), 0);
  EXPECT_EQ(composition().sprite_list(), "");
}

TEST_F(PictureCommandsTest, NamesThatChangeNothing) {
  // C… is no picture kind; a missing A… picture leaves the screen and the standing pictures.
  Start("*gra A01,4\n*spr BOP,4\n\\\n*gra C01,4\n\\\n*gra ANONE,4\n\\\n");
  const Picture before = screen();
  Next();
  EXPECT_EQ(screen(), before);
  EXPECT_EQ(composition().background_name(), "A01");
  EXPECT_EQ(composition().standing().count(), 1);
  Next();
  EXPECT_EQ(screen(), before);
  EXPECT_EQ(At(display(), 400, 10), kRed);
  EXPECT_EQ(composition().standing().count(), 1);
}

TEST_F(PictureCommandsTest, StandingPicturesAtTheLeftAndRight) {
  Start("*gra A01,4\n*gra BOP,4\n\\\n*gra BOP2 R,4\n\\\n*gra BOP L,4\n\\\n*clrb 4L\n\\\n");
  EXPECT_EQ(At(display(), 400, 10), kRed);
  Next();
  // Right of a single picture: the single one goes, the new one stands at the right.
  EXPECT_EQ(At(display(), 400, 10), kGrey);
  EXPECT_EQ(At(display(), 250, 10), kGrey);
  EXPECT_EQ(At(display(), 550, 10), kBlue);
  Next();
  EXPECT_EQ(At(display(), 250, 10), kRed);
  EXPECT_EQ(At(display(), 550, 10), kBlue);
  EXPECT_EQ(composition().sprite_list(), "BOP,BOP2");
  Next();
  // clrb L keeps the count: the right picture stays where it was.
  EXPECT_EQ(At(display(), 250, 10), kGrey);
  EXPECT_EQ(At(display(), 400, 10), kGrey);
  EXPECT_EQ(At(display(), 550, 10), kBlue);
  EXPECT_EQ(composition().standing().count(), 2);
  EXPECT_EQ(composition().sprite_list(), ",BOP2");
}

TEST_F(PictureCommandsTest, GrbAndBgAfterItWaitForTheNextUpdate) {
  Start("*gra A01,4\n\\\n*grb BOP\n*grb A02\n\\\n*bg S00G,4\n\\\n*gra BOP,4\n\\\n*bg A01,4\n\\\n");
  const Picture before = screen();
  Next();
  EXPECT_EQ(screen(), before);
  EXPECT_EQ(composition().background_name(), "A02");
  EXPECT_EQ(composition().standing().count(), 1);
  Next();
  // bg changes no screen while the last of gra and grb was grb.
  EXPECT_EQ(screen(), before);
  EXPECT_EQ(composition().background_name(), "S00G");
  Next();
  EXPECT_EQ(At(display(), 400, 10), kRed);
  EXPECT_EQ(At(display(), 10, 10), (Bgr{255, 0, 0}));
  Next();
  EXPECT_EQ(At(display(), 400, 10), kGrey);
  EXPECT_EQ(composition().standing().count(), 0);
}

TEST_F(PictureCommandsTest, SprWithoutPicturesComposesWithoutShowing) {
  Start("*gra A01,4\n*spr BOP,4\n\\\n*spr \n\\\n");
  Next();
  EXPECT_EQ(composition().standing().count(), 0);
  EXPECT_EQ(At(screen(), 400, 10), kGrey);
  EXPECT_EQ(At(display(), 400, 10), kRed);
}

TEST_F(PictureCommandsTest, InlineTags) {
  Start("*gra A01,4\n*spr BOP,BOP2,4\n\\\n[gra S0G0,4]\n\\\n");
  Next();
  EXPECT_EQ(At(display(), 400, 300), (Bgr{0, 255, 0}));
}

TEST_F(PictureCommandsTest, FixMakesTheShownScreenTheScene) {
  Start("*gra A01,4\n\\\n*fix\n\\\n");
  engine().pictures().screen.FillRect({0, 0, 10, 10}, 1, 2, 3);
  engine().banks().SetS(23, 77);
  Next();
  EXPECT_EQ(At(engine().pictures().scene, 5, 5), (Bgr{1, 2, 3}));
  EXPECT_EQ(At(engine().pictures().scene, 50, 5), kGrey);
  EXPECT_EQ(engine().banks().S(23), 0);
}

TEST_F(PictureCommandsTest, ShowCountSkipsSkipModeAndAutoSkip) {
  Start("*spr BOP\n\\\n*spr BOP\n\\\n*spr BOP\n\\\n");
  EXPECT_EQ(composition().sprite_show_count, 1);
  engine().banks().SetS(26, 1);
  Next();
  EXPECT_EQ(composition().sprite_show_count, 1);
  engine().banks().SetS(26, 0);
  Next();
  EXPECT_EQ(composition().sprite_show_count, 2);
}

}  // namespace
}  // namespace quill
