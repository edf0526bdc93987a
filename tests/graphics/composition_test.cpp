// The layered screen on a running engine: fixture pictures in the game's picture archive.
#include "graphics/composition.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/masked_drawing.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

using test::Solid;
using test::Packed;
using test::At;
using test::Bgr;
using Bytes = std::vector<uint8_t>;

// An opaque mask (255) still loses one level: (s × 255) >> 8. BOP's red 255 shows as 254.
constexpr Bgr kShownOp{0, 0, 254};
constexpr Bgr kGrey{100, 100, 100};  // A01

// Equal pictures, or where they first differ.
::testing::AssertionResult Same(const Picture& a, const Picture& b) {
  if (a.width() != b.width() || a.height() != b.height()) {
    return ::testing::AssertionFailure() << "sizes " << a.width() << "x" << a.height() << " and "
                                         << b.width() << "x" << b.height();
  }
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (!(At(a, x, y) == At(b, x, y))) {
        return ::testing::AssertionFailure()
               << "at " << x << "," << y << ": " << At(a, x, y) << " and " << At(b, x, y);
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Standing pictures B01 … B04: 40 × 60, blue 50·k and red 10·k; their masks M01 … M04 half
// opaque (128), so that the drawing order shows in the blended bytes. BOP is opaque (MOP 255).
// The background A01 is grey 100.
class CompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::FixtureGame& game = fixture_.game();
    game.Resource("mg_gra.qlm", "A01", Packed(Solid(800, 600, 100, 100, 100)));
    for (int k = 1; k <= 4; ++k) {
      std::string digits = "0" + std::to_string(k);
      game.Resource("mg_gra.qlm", "B" + digits,
                    Packed(Solid(40, 60, uint8_t(50 * k), 0, uint8_t(10 * k))));
      game.Resource("mg_gra.qlm", "M" + digits, Packed(Solid(40, 60, 128, 128, 128)));
    }
    game.Resource("mg_gra.qlm", "BOP", Packed(Solid(40, 60, 0, 0, 255)));
    game.Resource("mg_gra.qlm", "MOP", Packed(Solid(40, 60, 255, 255, 255)));
    // Nine pixels wide with a mask of zeros: three whole 8-byte groups, then three lone bytes.
    game.Resource("mg_gra.qlm", "BNINE", Packed(Solid(9, 10, 0, 0, 0)));
    game.Resource("mg_gra.qlm", "MNINE", Packed(Solid(9, 10, 0, 0, 0)));
    game.Resource("mg_gra.qlm", "BBASE", Packed(Solid(40, 60, 0, 200, 0)));
    game.Resource("mg_gra.qlm", "MBASE", Packed(Solid(40, 60, 255, 255, 255)));
    game.Resource("mg_gra.qlm", "BPART", Packed(Solid(4, 4, 0, 0, 200)));
    game.Resource("mg_gra.qlm", "MPART", Packed(Solid(4, 4, 255, 255, 255)));
    game.Script("_sprset",
                "; standing picture sets\n"
                "\n"
                ":set1\n"
                "BBASE\n"
                "bpart,5,7\n"
                ":SET2\n"
                "BPART,-2,3\n"
                ":END\n"
                ":AFTER\n"
                "BBASE\n");
    fixture_.StartMain("*gra A01,4\n\\\n");
    fixture_.StepUntilHeld();
  }

  Engine& engine() { return fixture_.engine(); }
  Composition& composition() { return engine().composition(); }
  ScreenPictures& pictures() { return engine().pictures(); }
  ValueBanks& banks() { return engine().banks(); }
  const Picture& display() { return fixture_.platform().display(); }

  // The scene as the layout rule says: the background, then the named pictures in `order`
  // with centre x and top y from the cells base + k and base + 10 + k.
  Picture Expected(int base, std::initializer_list<int> order) {
    Picture scene = Solid(800, 600, 100, 100, 100);
    for (int k : order) {
      const StandingSlot& slot = composition().standing().SlotFor(k);
      DrawMasked(scene, slot.picture, banks().S(base + k) - slot.picture.width() / 2,
                 banks().S(base + 10 + k), slot.mask);
    }
    return scene;
  }

  test::ScriptFixture fixture_;
};

TEST_F(CompositionTest, StartUpGivesTheDefaultLayoutPositions) {
  const int centres[] = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(banks().S(80 + k), centres[k]) << k;
    EXPECT_EQ(banks().S(90 + k), 0) << k;
  }
  EXPECT_EQ(composition().background_name(), "A01");
  EXPECT_EQ(At(display(), 10, 10), (Bgr{100, 100, 100}));
}

TEST_F(CompositionTest, DrawingOrdersOfEveryCount) {
  struct Case {
    const char* list;
    int reversed;  // S024
    int base;
    std::initializer_list<int> order;
  };
  const Case cases[] = {
      {"B01", 0, 80, {0}},
      {"B01,B02", 0, 81, {0, 1}},
      {"B01,B02", 1, 81, {1, 0}},
      {"B01,B02,B03", 0, 83, {0, 2, 1}},  // the middle picture on top
      {"B01,B02,B03", 1, 83, {0, 2, 1}},
      {"B01,B02,B03,B04", 0, 86, {0, 1, 3, 2}},
      {"B01,B02,B03,B04", 1, 86, {3, 2, 0, 1}},  // picture 1 on top
  };
  for (bool overlapping : {false, true}) {
    for (const Case& c : cases) {
      // Apart at the default positions, then all at one place so every order shows.
      for (int k = 0; k < 10; ++k) {
        if (overlapping) banks().SetS(80 + k, 300 + 3 * k);
        banks().SetS(90 + k, overlapping ? 100 + 2 * k : 50 + 10 * k);
      }
      banks().SetS(24, c.reversed);
      composition().SetStandingPictures(c.list);
      composition().ComposeScene();
      EXPECT_TRUE(Same(pictures().scene, Expected(c.base, c.order)))
          << c.list << " S024=" << c.reversed << (overlapping ? " overlapping" : "");
    }
  }
}

TEST_F(CompositionTest, PicturesArePlacedByCentreAndTop) {
  banks().SetS(91, 30);
  banks().SetS(92, 500);
  composition().SetStandingPictures("BOP,BOP");
  composition().ComposeScene();
  const Picture& s = pictures().scene;
  // Centre 250: columns 230 … 269 from row 30; centre 550 from row 500, clipped at the bottom.
  EXPECT_EQ(At(s, 230, 30), kShownOp);
  EXPECT_EQ(At(s, 269, 89), kShownOp);
  EXPECT_EQ(At(s, 229, 30), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(s, 270, 30), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(s, 230, 90), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(s, 530, 500), kShownOp);
  EXPECT_EQ(At(s, 569, 559), kShownOp);
  EXPECT_EQ(At(s, 530, 499), (Bgr{100, 100, 100}));
}

TEST_F(CompositionTest, CountsAboveFourAndEmptyNamesShowNothing) {
  const Picture background = Solid(800, 600, 100, 100, 100);
  for (const char* list : {"BOP,BOP,BOP,BOP,BOP", "BOP,BOP,BOP,BOP,", ",", ""}) {
    composition().SetStandingPictures(list);
    composition().ComposeScene();
    EXPECT_TRUE(Same(pictures().scene, background)) << list;
  }
  // A trailing comma: two positions, only the left one shown.
  composition().SetStandingPictures("BOP,");
  composition().ComposeScene();
  EXPECT_EQ(At(pictures().scene, 250, 10), kShownOp);
  EXPECT_EQ(At(pictures().scene, 550, 10), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(pictures().scene, 400, 10), (Bgr{100, 100, 100}));
}

TEST_F(CompositionTest, SpriteSetsFollowTheBasePicture) {
  banks().SetS(90, 100);
  composition().SetStandingPictures("#SET1");
  composition().ComposeScene();
  const Picture& s = pictures().scene;
  // BBASE centred on 400 (left 380); BPART at its left edge + (5, 7).
  EXPECT_EQ(At(s, 380, 100), (Bgr{0, 199, 0}));
  EXPECT_EQ(At(s, 419, 159), (Bgr{0, 199, 0}));
  EXPECT_EQ(At(s, 379, 100), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(s, 385, 107), (Bgr{0, 0, 199}));
  EXPECT_EQ(At(s, 388, 110), (Bgr{0, 0, 199}));
  EXPECT_EQ(At(s, 389, 110), (Bgr{0, 199, 0}));
  EXPECT_EQ(At(s, 384, 107), (Bgr{0, 199, 0}));

  // Parts before any base line sit at the centre plus their offset.
  composition().SetStandingPictures("#set2");
  composition().ComposeScene();
  EXPECT_EQ(At(pictures().scene, 398, 103), (Bgr{0, 0, 199}));
  EXPECT_EQ(At(pictures().scene, 397, 103), (Bgr{100, 100, 100}));

  // Sets after :END and unknown sets draw nothing.
  const Picture background = Solid(800, 600, 100, 100, 100);
  for (const char* list : {"#AFTER", "#NONE"}) {
    composition().SetStandingPictures(list);
    composition().ComposeScene();
    EXPECT_TRUE(Same(pictures().scene, background)) << list;
  }
}

TEST_F(CompositionTest, OverlayMaskedOrBlendedBelowOrAboveThePictures) {
  // The overlay: its left half the image (red 240), its right half the mask (opaque).
  Picture overlay(80, 60);
  overlay.FillRect({0, 0, 40, 60}, 0, 0, 240);
  overlay.FillRect({40, 0, 40, 60}, 255, 255, 255);
  pictures().overlay = overlay;
  banks().SetS(35, 1);
  banks().SetS(21, 380);  // exactly under the single standing picture
  banks().SetS(22, 0);
  composition().SetStandingPictures("BOP");

  struct Case {
    int level, opacity;
    Bgr at_picture, beside;  // at (390, 10); at (430, 10), where only the blended rectangle is
  };
  const Case cases[] = {
      {0, 0, {0, 0, 254}, {100, 100, 100}},    // below, masked: the picture covers it
      {1, 0, {0, 0, 239}, {100, 100, 100}},    // above, masked
      {2, 0, {0, 0, 254}, {100, 100, 100}},    // not drawn
      {1, 128, {0, 0, 247}, {177, 177, 177}},  // above, blended over the whole rectangle
      {0, 256, {0, 0, 254}, {255, 255, 255}},  // below at full weight: the mask half shows
  };
  for (const Case& c : cases) {
    banks().SetS(20, c.level);
    banks().SetS(23, c.opacity);
    composition().ComposeScene();
    EXPECT_EQ(At(pictures().scene, 390, 10), c.at_picture) << c.level << "/" << c.opacity;
    EXPECT_EQ(At(pictures().scene, 430, 10), c.beside) << c.level << "/" << c.opacity;
  }
  // Not shown at all without S035.
  banks().SetS(35, 0);
  banks().SetS(20, 1);
  composition().ComposeScene();
  EXPECT_EQ(At(pictures().scene, 390, 10), kShownOp);
}

TEST_F(CompositionTest, BlendedOverlayIsClippedToTheScreen) {
  pictures().overlay = Solid(100, 100, 0, 0, 200);
  banks().SetS(35, 1);
  banks().SetS(20, 1);
  banks().SetS(23, 256);  // full weight: the overlay's own bytes
  const Bgr overlay{0, 0, 200};
  struct Case {
    int x, y;
    bool origin, corner;
  };
  // The visible part of each row goes in whole 8-byte groups: 50 pixels at the right edge are
  // 18 groups, 48 pixels, so the last two columns stay.
  for (const Case& c : {Case{-50, -50, true, false}, Case{750, 550, false, true},
                        Case{-1000, 0, false, false}, Case{0, 700, false, false}}) {
    banks().SetS(21, c.x);
    banks().SetS(22, c.y);
    composition().ComposeScene();
    const Picture& s = pictures().scene;
    EXPECT_EQ(At(s, 0, 0), c.origin ? overlay : kGrey) << c.x << "," << c.y;
    EXPECT_EQ(At(s, 47, 49), c.origin ? overlay : kGrey) << c.x << "," << c.y;
    EXPECT_EQ(At(s, 797, 599), c.corner ? overlay : kGrey) << c.x << "," << c.y;
    EXPECT_EQ(At(s, 799, 599), kGrey) << c.x << "," << c.y;
  }
}

TEST_F(CompositionTest, UpdateScreenKeepsTheOldScreenAndShowsTheNewScene) {
  composition().SetStandingPictures("BOP");
  composition().UpdateScreen(4);
  EXPECT_EQ(At(pictures().saved, 400, 10), (Bgr{100, 100, 100}));
  EXPECT_EQ(At(pictures().screen, 400, 10), kShownOp);
  EXPECT_TRUE(Same(display(), pictures().screen));
  EXPECT_FALSE(engine().busy);

  // The scene filter runs after composition: S011 1 with S013 8 halves every channel.
  banks().SetS(11, 1);
  banks().SetS(13, 8);
  composition().UpdateScreen(4);
  EXPECT_EQ(At(pictures().screen, 400, 10), (Bgr{0, 0, 127}));
  EXPECT_EQ(At(pictures().screen, 10, 10), (Bgr{50, 50, 50}));
  EXPECT_EQ(At(pictures().saved, 400, 10), kShownOp);
  EXPECT_TRUE(Same(display(), pictures().screen));
}

TEST_F(CompositionTest, ZeroMaskGroupsLeaveTheSceneExactAndLoneBytesLoseALevel) {
  banks().SetS(90, 20);
  composition().SetStandingPictures("BNINE");
  composition().ComposeScene();
  // Left edge 400 - 4 = 396: pixels 396 … 403 lie in the zero groups, pixel 404 is blended alone.
  for (int x = 396; x <= 403; ++x) EXPECT_EQ(At(pictures().scene, x, 25), kGrey) << x;
  EXPECT_EQ(At(pictures().scene, 404, 25), (Bgr{99, 99, 99}));
  EXPECT_EQ(At(pictures().scene, 405, 25), kGrey);
}

TEST_F(CompositionTest, FullScreenLayoutShowsTheSceneBeforeTheText) {
  banks().SetS(150, 1);
  struct Case {
    int mode;  // S009
    bool new_background, cleared;
  };
  for (const Case& c :
       {Case{1, true, true}, Case{1, false, false}, Case{2, true, false}, Case{0, true, false}}) {
    composition().new_background = c.new_background;
    banks().SetS(9, c.mode);
    composition().SetStandingPictures("BOP");
    composition().UpdateScreen(4);
    EXPECT_EQ(composition().new_background, c.new_background && !c.cleared) << c.mode;
    // The window is closed: the screen is the scene, shown.
    EXPECT_TRUE(Same(pictures().screen, pictures().scene)) << c.mode;
    EXPECT_TRUE(Same(display(), pictures().screen)) << c.mode;
    EXPECT_FALSE(engine().busy);
  }
}

TEST_F(CompositionTest, BackgroundOfAnotherSizeLeavesTheRestBlack) {
  pictures().background = Solid(640, 480, 9, 8, 7);
  composition().ComposeScene();
  EXPECT_EQ(pictures().scene.width(), 800);
  EXPECT_EQ(pictures().scene.height(), 600);
  EXPECT_EQ(At(pictures().scene, 639, 479), (Bgr{9, 8, 7}));
  EXPECT_EQ(At(pictures().scene, 640, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(pictures().scene, 0, 480), (Bgr{0, 0, 0}));
}

TEST_F(CompositionTest, SavedRecordsRebuildTheScene) {
  composition().RestoreScene("S00f", "BOP,B02");
  composition().ComposeScene();
  EXPECT_EQ(composition().background_name(), "S00f");
  EXPECT_EQ(composition().sprite_list(), "BOP,B02");
  EXPECT_EQ(At(pictures().scene, 10, 10), (Bgr{240, 0, 0}));
  EXPECT_EQ(At(pictures().scene, 250, 10), kShownOp);

  composition().RestoreScene("A01", "");
  composition().ComposeScene();
  EXPECT_TRUE(Same(pictures().scene, Solid(800, 600, 100, 100, 100)));
}

}  // namespace
}  // namespace quill
