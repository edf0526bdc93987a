// The backlog, the page-back view, the hidden window and the panic screen on a fixture game run
// headless: what each shows, where its controls are, and what closing gives back.
#include <gtest/gtest.h>

#include <fstream>

#include "graphics/picture_commands.h"
#include "platform/keys.h"
#include "tests/support/bitmap_file.h"
#include "tests/text/message_window_fixture.h"

namespace quill::test {
namespace {

// The backlog's pictures: the bar's image, hover and pressed columns in three colours and an
// opaque mask; the thumb, the voice icon and the row highlight opaque in their own colours.
constexpr Bgr kBar{200, 0, 0}, kBarHover{0, 200, 0}, kBarPressed{0, 0, 200};
constexpr Bgr kThumb{0, 100, 250}, kIcon{250, 250, 0}, kHighlight{90, 0, 90};

Picture Stacked(int w, int h, Bgr c) {
  Picture p(w, 2 * h);
  p.FillRect({0, 0, w, h}, c.b, c.g, c.r);
  p.FillRect({0, h, w, h}, 255, 255, 255);
  return p;
}

void AddBacklogPictures(FixtureGame& game) {
  Picture bar(128, 574);
  bar.FillRect({0, 0, 32, 574}, kBar.b, kBar.g, kBar.r);
  bar.FillRect({32, 0, 32, 574}, kBarHover.b, kBarHover.g, kBarHover.r);
  bar.FillRect({64, 0, 32, 574}, kBarPressed.b, kBarPressed.g, kBarPressed.r);
  bar.FillRect({96, 0, 32, 574}, 255, 255, 255);
  game.Resource("mg_gra.qlm", "sys_bl_bar", Packed(bar));
  game.Resource("mg_gra.qlm", "sys_bl_cur", Packed(Stacked(16, 26, kThumb)));
  game.Resource("mg_gra.qlm", "sys_blVR", Packed(Stacked(16, 16, kIcon)));
  game.Resource("mg_gra.qlm", "sys_blVR2", Packed(Stacked(256, 19, kHighlight)));
}

PageSnapshot PageOf(const PageGrid& grid) {
  PageSnapshot page;
  page.grid = &grid;
  return page;
}

// The colour bg gives a solid-colour name.
Bgr SolidOf(std::string_view name) {
  SolidColour c = SolidColourOf(name);
  return {c.b, c.g, c.r};
}

// A colour through an opaque mask: (c × 255) >> 8.
Bgr Opaque(Bgr c) { return {c.b * 255 >> 8, c.g * 255 >> 8, c.r * 255 >> 8}; }

class ViewsTest : public ::testing::Test {
 protected:
  Engine& Start(const std::string& script) {
    AddBacklogPictures(f_.game());
    Engine& e = f_.StartWith(script);
    f_.FramesToWait();
    return e;
  }
  // n log lines "line i"; the lines in `voices` are voice entries "@Vi" instead.
  static void FillLog(Engine& e, int n, std::initializer_list<int> voices) {
    TextLog& log = e.text_log();
    log.Clear();
    for (int i = 0; i < n; ++i) {
      bool voice = std::find(voices.begin(), voices.end(), i) != voices.end();
      log.AppendText((voice ? "@V" : "line ") + std::to_string(i));
      log.EndLogLine();
    }
  }
  static int RowY(int row) { return 10 + 19 * row + 5; }

  WindowFixture f_;
};

TEST_F(ViewsTest, EveryViewButThePanicScreenWaitsForS028) {
  Engine& e = Start("!S028=0\nabc\n\\\n");
  e.page_history().Record(PageOf(e.page_grid()));
  e.page_history().Record(PageOf(e.page_grid()));
  Picture before = e.screen();
  e.log_view().OpenLogView();
  e.page_view().OpenPageView();
  e.screen_pauses().HideWindow();
  EXPECT_FALSE(e.log_view_open);
  EXPECT_EQ(e.screen_mode, 0);
  EXPECT_FALSE(e.menus().held());
  EXPECT_EQ(e.screen(), before);

  // The panic screen has no such rule (here it needs its picture, below).
  std::ofstream(f_.game().folder() / "PANIC.BMP", std::ios::binary) << "BM not really";
  e.screen_pauses().ShowPanic();
  EXPECT_FALSE(e.panic_shown);  // a damaged picture: the panic screen does not open
  EXPECT_FALSE(e.busy);
}

TEST_F(ViewsTest, TheLogViewShowsTheLastLinesOverTheDarkenedScene) {
  Engine& e = Start("!S028=1\nabc\n\\\n");
  // 250 lines: the log keeps 200 (50–249), so the view starts at 249 − 28 = log line 171.
  FillLog(e, 250, {221, 230});
  ASSERT_EQ(e.text_log().line_count(), 200);
  e.log_view().OpenLogView();
  ASSERT_TRUE(e.log_view_open);
  EXPECT_TRUE(e.menus().held());
  LogView& v = e.log_view();
  EXPECT_EQ(v.TopLine(), 171);
  const Picture& shown = f_.platform().display();
  // The scene at 40/256, the bar through its mask, the thumb at the bottom of the track.
  Bgr s = WindowFixture::kScene;
  EXPECT_EQ(At(shown, 600, 300), (Bgr{s.b * 40 >> 8, s.g * 40 >> 8, s.r * 40 >> 8}));
  EXPECT_EQ(At(shown, 690, 300), Opaque(kBar));
  EXPECT_EQ(At(shown, 695, 540), Opaque(kThumb));
  // The log lost its first 50 lines: "@V221" is log line 171, on row 0, where a voice entry
  // shows nothing and cannot be played; "@V230" is on row 9.
  EXPECT_EQ(v.row_voice(0), "");
  EXPECT_EQ(v.row_voice(9), "V230");
  EXPECT_EQ(At(shown, 85, 10 + 19 * 9 + 3), Opaque(kIcon));
  v.MouseDown(0, 100, RowY(0));
  EXPECT_EQ(v.replayed(), "");
  // Hovering the voice row highlights it; a click replays its voice.
  v.MouseMove(100, RowY(9));
  EXPECT_EQ(v.hover_row(), 9);
  EXPECT_EQ(At(shown, 300, 10 + 19 * 9 + 3), Opaque(kHighlight));
  v.MouseMove(100, RowY(8));
  EXPECT_EQ(v.hover_row(), -1);
  v.MouseDown(0, 100, RowY(9));
  EXPECT_EQ(v.replayed(), "V230");
  // Hovering the up arrow shows its hover image.
  v.MouseMove(690, 15);
  EXPECT_EQ(At(shown, 690, 15), Opaque(kBarHover));

  // The wheel: 4 lines a notch; the arrows: 2 lines a press.
  v.ScrollLogView(+1);
  EXPECT_EQ(v.scroll(), 4);
  EXPECT_EQ(At(shown, 695, 540 - 4 * 514 / 171), Opaque(kThumb));
  for (int i = 0; i < 3; ++i) v.MouseDown(0, 690, 15);
  EXPECT_EQ(v.scroll(), 10);
  v.MouseDown(0, 690, 570);
  EXPECT_EQ(v.scroll(), 8);
  EXPECT_EQ(v.TopLine(), 163);
  v.MouseUp(0, 690, 570);
  v.ScrollLogView(-5);
  EXPECT_EQ(v.scroll(), 0);

  // Dragging the thumb: the top of the track is the oldest line, the bottom the newest.
  v.MouseDown(0, 690, 30);
  EXPECT_EQ(v.scroll(), 171);
  EXPECT_EQ(v.TopLine(), 0);
  v.MouseMove(690, 40 + 514);
  EXPECT_EQ(v.scroll(), 0);
  v.MouseUp(0, 690, 554);
  v.MouseMove(690, 30);  // no drag any more
  EXPECT_EQ(v.scroll(), 0);

  // The right button closes: the screen as it was, the menus back, S065 = 0.
  e.banks().SetS(65, 1);
  v.MouseDown(1, 400, 300);
  EXPECT_FALSE(e.log_view_open);
  EXPECT_FALSE(e.menus().held());
  EXPECT_EQ(e.banks().S(65), 0);
  EXPECT_EQ(At(e.screen(), 600, 300), WindowFixture::kScene);
}

TEST_F(ViewsTest, AShortLogHasNoThumbAndNothingToScroll) {
  Engine& e = Start("!S028=1\nabc\n\\\n");
  FillLog(e, 12, {});
  e.log_view().OpenLogView();
  e.log_view().ScrollLogView(+1);
  e.log_view().MouseDown(0, 690, 15);
  EXPECT_EQ(e.log_view().scroll(), 0);
  EXPECT_EQ(e.log_view().TopLine(), 0);
  EXPECT_EQ(At(f_.platform().display(), 695, 540), Opaque(kBar));  // the track, no thumb
}

TEST_F(ViewsTest, TheProvisionalPageIsReplacedByItsFinalRecord) {
  Engine& e = Start("!S028=1\nAAA\n=\nBBB\n\\\n");
  EXPECT_EQ(e.wait_kind, kWaitContinue);
  EXPECT_EQ(e.banks().S(39), 1);
  EXPECT_EQ(e.page_history().page_counter, 0);
  EXPECT_NE(e.page_history().GridRow(0, 1).find("AAA"), std::string_view::npos);
  e.PBMouseDown(MouseButton::Left, 400, 300);
  f_.FramesToWait();
  EXPECT_EQ(e.wait_kind, kWaitPage);
  EXPECT_EQ(e.banks().S(39), 0);
  EXPECT_EQ(e.page_history().page_counter, 1);
  EXPECT_NE(e.page_history().GridRow(0, 1).find("AAA"), std::string_view::npos);
  EXPECT_NE(e.page_history().GridRow(0, 2).find("BBB"), std::string_view::npos);
  EXPECT_EQ(e.page_history().GridRow(1, 1), std::string(kPageGridColumns, '\0'));
}

TEST_F(ViewsTest, ThePageViewStepsBackToTheFirstOfThreePagesAndCloses) {
  Engine& e =
      Start("!S028=1\n*bg s800\n*cv VA\nAAA\n\\\n*bg s080\nBBB\n\\\n*bg s008\n*spr B01\nCCC\n\\\n");
  for (int i = 0; i < 2; ++i) {
    e.PBMouseDown(MouseButton::Left, 400, 300);
    f_.FramesToWait();
  }
  ASSERT_EQ(e.page_history().page_counter, 3);
  Bgr current = At(e.pictures().background, 400, 100);
  e.page_history().voices()[0] = {'V', 'A', ' '};  // the voice cv keeps for the first page

  PageView& v = e.page_view();
  v.OpenPageView();
  EXPECT_EQ(e.screen_mode, 9);
  EXPECT_EQ(v.shown_record(), 1);  // the page before the one on screen
  EXPECT_EQ(At(f_.platform().display(), 400, 100), SolidOf("s080"));
  v.StepPageView(+1);
  EXPECT_EQ(v.shown_record(), 0);
  EXPECT_EQ(At(f_.platform().display(), 400, 100), SolidOf("s800"));
  EXPECT_EQ(v.voice(), "VA");
  v.StepPageView(+1);  // nothing before the first page
  EXPECT_EQ(v.shown_record(), 0);
  v.StepPageView(-1);
  v.StepPageView(-1);  // newer than the page before the current one: closed
  EXPECT_EQ(e.screen_mode, 0);
  EXPECT_FALSE(e.menus().held());
  EXPECT_EQ(At(e.pictures().background, 400, 100), current);
  EXPECT_EQ(e.composition().background_name(), "s008");
  EXPECT_EQ(e.composition().sprite_list(), "B01");
}

TEST_F(ViewsTest, ThePageViewGoesBack49PagesAndShowsAPageInItsOwnLayout) {
  Engine& e = Start("!S028=1\nabc\n\\\n");
  PageHistory& h = e.page_history();
  h.Clear();
  for (int n = 0; n < 250; ++n) {
    PageSnapshot page = PageOf(e.page_grid());
    page.layout = n == 248 ? 1 : 0;  // the page before the last in the full-screen layout
    h.Record(page);
  }
  PageView& v = e.page_view();
  v.OpenPageView();
  EXPECT_EQ(e.Layout(), 1);
  v.StepPageView(+1);
  EXPECT_EQ(e.Layout(), 0);
  for (int i = 0; i < 60; ++i) v.StepPageView(+1);
  EXPECT_EQ(v.offset(), 50);
  EXPECT_EQ(v.shown_record(), PageHistory::Slot(200));  // the oldest the ring keeps
  v.StepPageView(-1);
  e.banks().SetS(150, 1);  // whatever the pages set, closing gives the game's layout back
  v.ClosePageView();
  EXPECT_EQ(e.Layout(), 0);
}

TEST_F(ViewsTest, ThePanicScreenCoversTheGameUntilTheNextClick) {
  Engine& e = Start("!S028=0\nabc\n\\\n");
  e.settings().SetInt(SettingId::RC_MODE, 4);
  Picture before = e.screen();
  e.RightClickAction();  // no panic.bmp: nothing happens
  EXPECT_FALSE(e.panic_shown);
  EXPECT_EQ(e.screen(), before);

  Picture panic(4, 2);
  panic.Fill(1, 2, 3);
  std::ofstream(f_.game().folder() / "Panic.bmp", std::ios::binary) << BitmapFile(panic);
  e.RightClickAction();
  ASSERT_TRUE(e.panic_shown);
  EXPECT_TRUE(e.busy);
  EXPECT_TRUE(e.menus().held());
  // A small picture lies at the top left of a black screen.
  EXPECT_EQ(At(f_.platform().display(), 3, 1), (Bgr{1, 2, 3}));
  EXPECT_EQ(At(f_.platform().display(), 4, 0), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(f_.platform().display(), 400, 300), (Bgr{0, 0, 0}));
  int wait = e.wait_kind;
  e.PBMouseDown(MouseButton::Left, 400, 300);  // ends the panic screen, nothing else
  EXPECT_FALSE(e.panic_shown);
  EXPECT_FALSE(e.busy);
  EXPECT_FALSE(e.menus().held());
  EXPECT_EQ(e.wait_kind, wait);
  EXPECT_EQ(e.screen(), before);
  EXPECT_EQ(f_.platform().display(), before);
}

TEST_F(ViewsTest, HidingTheWindowShowsTheSceneUntilTheNextClick) {
  Engine& e = Start("!S028=1\nabc\n\\\n");
  Picture before = e.screen();
  e.pictures().scene.Fill(9, 9, 9);
  e.OnChar("w");
  EXPECT_EQ(e.screen_mode, 1);
  EXPECT_EQ(At(f_.platform().display(), 400, 500), (Bgr{9, 9, 9}));
  e.PBMouseDown(MouseButton::Left, 400, 300);
  EXPECT_EQ(e.screen_mode, 0);
  EXPECT_EQ(e.wait_kind, kWaitPage);  // the click only brought the window back
  EXPECT_EQ(At(f_.platform().display(), 400, 500), At(before, 400, 500));
}

}  // namespace
}  // namespace quill::test
