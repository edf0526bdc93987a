// The quick-button bar: its drawing from the button pictures, the hit test, the refusal rules and
// the button actions.
#include "engine/quick_buttons.h"

#include <gtest/gtest.h>

#include "tests/engine/script_fixture.h"
#include "tests/support/test_pictures.h"

namespace quill::test {
namespace {

// Solid bands: the colour of sys_qbtn's band k is blue 50 + 50k; its mask band is opaque.
Picture ButtonSheet() {
  Picture p(kQuickStripWidth, 4 * kQuickStripHeight);
  for (int band = 0; band < 3; ++band) {
    p.FillRect({0, band * 16, kQuickStripWidth, 16}, static_cast<uint8_t>(50 + 50 * band), 0, 0);
  }
  p.FillRect({0, 48, kQuickStripWidth, 16}, 255, 255, 255);
  return p;
}

Picture SmallSheet() {
  Picture p(32, 36);
  p.FillRect({0, 0, 32, 12}, 0, 60, 0);
  p.FillRect({0, 12, 32, 12}, 0, 120, 0);
  p.FillRect({0, 24, 32, 12}, 255, 255, 255);
  return p;
}

Picture AutoBar() {
  Picture p(kAutoGaugeWidth, 2 * kAutoGaugeHeight);
  p.FillRect({0, 0, kAutoGaugeWidth, kAutoGaugeHeight}, 0, 0, 90);
  p.FillRect({0, kAutoGaugeHeight, kAutoGaugeWidth, kAutoGaugeHeight}, 255, 255, 255);
  return p;
}

// An opaque mask byte still takes (s × 255) >> 8 of the picture.
uint8_t Opaque(int s) { return static_cast<uint8_t>((s * 255) >> 8); }

// A message window whose bar lies well inside the screen.
constexpr int kWindowY = 400;

class QuickButtonsTest : public testing::Test {
 protected:
  Engine& Start(const std::string& main = "ab\n\\\n") {
    f_.game()
        .Script("_config", "MAKER_REG:QuillTests\nGAME_ID:QuickButtons\nTXW_OFS_X:0\nTXW_OFS_Y:" +
                               std::to_string(kWindowY) + "\nTXW_SIZE_X:800\nTXW_SIZE_Y:200\n")
        .Resource("mg_gra.qlm", "sys_qbtn", Packed(ButtonSheet()))
        .Resource("mg_gra.qlm", "sys_qbtn2", Packed(SmallSheet()))
        .Resource("mg_gra.qlm", "sys_autobar", Packed(AutoBar()));
    Engine& e = f_.StartMain(main);
    e.picture_loader().OpenArchive(PictureArchiveRole::kPictures1,
                                   f_.game().folder() / "mg_gra.qlm");
    e.quick_buttons().StartUp();
    EXPECT_EQ(e.text_layout().txw_ofs_y, kWindowY);
    e.banks().SetS(0, 0);
    e.banks().SetS(28, 1);
    return e;
  }
  ScriptFixture f_;
};

TEST_F(QuickButtonsTest, BarShowsEachButtonsBandOverTheWindow) {
  Engine& e = Start();
  for (int i = 0; i < 20 && e.wait_kind == 0; ++i) f_.Frame();
  ASSERT_TRUE(e.window_open);
  // The bar lies over the clean window cut out at its last composition.
  const Picture& backing = e.message_window().strip_backing();
  ASSERT_FALSE(e.message_window().window_image().empty());
  const TextLayout& l = e.text_layout();
  int bar_x = l.txw_ofs_x + kQuickStripX, bar_y = l.txw_ofs_y + kQuickStripY;
  Picture screen_before = e.screen();
  QuickButtons& q = e.quick_buttons();
  q.SetState(2, kQuickHover);
  q.SetState(4, kQuickActive);
  q.SetState(5, kQuickHidden);
  q.SetState(3, kQuickHover);
  e.skip_mode = true;  // button 1 shows the real mode whatever S060 says
  e.banks().SetS(60, 0);
  e.banks().SetS(26, 8);  // auto mode: the left 3 × 16 pixels of the gauge
  q.DrawQuickBar(1);
  EXPECT_EQ(e.banks().S(60), kQuickActive);
  EXPECT_EQ(e.banks().S(61), kQuickActive);  // auto mode on

  struct Probe {
    int x;
    const char* what;
    bool background;
    uint8_t b, r;
  } probes[] = {
      {530, "skip, active", false, Opaque(150), 0},   {0, "auto, active", false, Opaque(150), 0},
      {650 + 55, "4, active", false, Opaque(150), 0}, {710, "5, hidden", true, 0, 0},
      {470, "6, normal", false, Opaque(50), 0},       {400, "between buttons", true, 0, 0},
      {66 + 47, "gauge, lit", false, 0, Opaque(90)},  {66 + 48, "gauge, unlit", true, 0, 0},
  };
  const Picture& display = f_.platform().display();
  Picture* image = e.subsystems().MessageWindowImage();
  ASSERT_NE(image, nullptr);
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.what);
    int y = p.x >= 66 && p.x < 66 + 160 ? 5 : 0;
    const uint8_t* s = q.strip().Pixel(p.x, y);
    const uint8_t* want = p.background ? backing.Pixel(p.x, y) : nullptr;
    EXPECT_EQ(s[0], want ? want[0] : p.b);
    EXPECT_EQ(s[2], want ? want[2] : p.r);
    const uint8_t* d = display.Pixel(bar_x + p.x, bar_y + y);
    EXPECT_EQ(d[0], s[0]);
    EXPECT_EQ(d[2], s[2]);
    const uint8_t* w = image->Pixel(kQuickStripX + p.x, kQuickStripY + y);
    EXPECT_EQ(w[0], s[0]);
  }
  EXPECT_EQ(q.small_button().Pixel(0, 0)[1], Opaque(120));  // highlighted
  // The display and the window image take the bar; the screen buffer waits for the window.
  EXPECT_TRUE(e.screen() == screen_before);
}

TEST_F(QuickButtonsTest, NothingReachesTheDisplayWithTheWindowClosed) {
  Engine& e = Start("!V001=1\n");
  f_.Frame();
  ASSERT_FALSE(e.window_open);
  Picture before = f_.platform().display();
  e.quick_buttons().SetState(4, kQuickActive);
  e.quick_buttons().DrawQuickBar(1);
  EXPECT_TRUE(f_.platform().display() == before);
  e.transition_running = true;  // nor anywhere during a transition
  e.window_open = true;
  e.quick_buttons().DrawQuickBar(1);
  EXPECT_TRUE(f_.platform().display() == before);
  e.transition_running = false;
}

TEST_F(QuickButtonsTest, HitTest) {
  struct Case {
    int wx, wy;  // relative to the message window
    int button;
  } cases[] = {
      {20 + 530, 156, 1}, {20 + 585, 171, 1}, {20 + 586, 160, 0}, {20 + 0, 160, 2},
      {20 + 55, 160, 2},  {20 + 56, 160, 0},  {20 + 410, 160, 9}, {20 + 470, 160, 6},
      {20 + 590, 160, 7}, {20 + 650, 160, 4}, {20 + 765, 160, 5}, {20 + 766, 160, 0},
      {20 + 530, 172, 0}, {20 + 530, 155, 0}, {752, 24, 3},       {783, 35, 3},
      {784, 24, 0},       {752, 36, 0},
  };
  Engine& e = Start();
  const TextLayout& l = e.text_layout();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wx << "," << c.wy);
    EXPECT_EQ(e.quick_buttons().HitTest(l.txw_ofs_x + c.wx, l.txw_ofs_y + c.wy), c.button);
  }
}

TEST_F(QuickButtonsTest, HoverRefusals) {
  struct Case {
    const char* what;
    int s000, screen_mode, choice, extra;
    bool block_read, seen;
    std::vector<int> refused;
  } cases[] = {
      {"plain", 0, 0, 0, 0, true, true, {}},
      {"S000 1", 1, 0, 0, 0, true, true, {4, 11}},
      {"S000 2", 2, 0, 0, 0, true, true, {4, 5, 11, 12}},
      {"S000 3", 3, 0, 0, 0, true, true, {4, 5, 11, 12}},
      {"page view", 0, 9, 0, 0, true, true, {1, 2, 3, 4, 5, 6, 7, 10, 11, 12}},
      {"choice", 0, 0, 1, 0, true, true, {6}},
      {"extra mode", 0, 0, 0, 1, true, true, {4, 5, 11, 12}},
      {"unread", 0, 0, 0, 0, false, true, {1}},
      {"unread, Seen off", 0, 0, 0, 0, false, false, {}},
  };
  Engine& e = Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    e.banks().SetS(0, c.s000);
    e.screen_mode = c.screen_mode;
    e.choice_mode = c.choice;
    e.extra_mode = c.extra;
    e.block_read = c.block_read;
    e.seen = c.seen;
    std::vector<int> refused;
    for (int n = 1; n <= kQuickButtonCount; ++n) {
      if (e.quick_buttons().HoverRefused(n)) refused.push_back(n);
    }
    EXPECT_EQ(refused, c.refused);
  }
}

TEST_F(QuickButtonsTest, HoverMarksOneButtonAndAPressClearsIt) {
  Engine& e = Start();
  QuickButtons& q = e.quick_buttons();
  const TextLayout& l = e.text_layout();
  e.block_read = true;
  q.HoverQuickBar(l.txw_ofs_x + 20 + 470, l.txw_ofs_y + 160);
  EXPECT_EQ(q.hovered(), 6);
  EXPECT_EQ(q.State(6), kQuickHover);
  q.HoverQuickBar(l.txw_ofs_x + 20 + 650, l.txw_ofs_y + 160);
  EXPECT_EQ(q.hovered(), 4);
  EXPECT_EQ(q.State(6), kQuickNormal);
  EXPECT_EQ(q.State(4), kQuickHover);
  q.SetState(9, kQuickHidden);
  q.HoverQuickBar(0, 0);  // off the bar; a hidden button stays hidden
  EXPECT_EQ(q.hovered(), 0);
  EXPECT_EQ(q.State(4), kQuickNormal);
  EXPECT_EQ(q.State(9), kQuickHidden);

  e.banks().SetS(26, 3);  // a hover keeps the auto button lit while auto mode is on
  q.HoverQuickBar(l.txw_ofs_x + 20 + 470, l.txw_ofs_y + 160);
  EXPECT_EQ(q.State(2), kQuickActive);
  e.banks().SetS(26, 0);

  q.set_hovered(7);
  EXPECT_TRUE(q.PressQuickButton(7));
  EXPECT_EQ(q.hovered(), 0);
  EXPECT_FALSE(q.PressQuickButton(0));
}

TEST_F(QuickButtonsTest, ButtonActions) {
  struct Case {
    const char* what;
    int button;
    bool skip_before;
    int level_before, s027_before;
    bool skip_after;
    int level_after, s027_after;
  } cases[] = {
      {"skip on", 1, false, 0, 5, true, 0, 5},
      {"skip off", 1, true, 0, 5, false, 0, 5},
      {"auto on, S027 unset", 2, false, 0, 0, false, 4, 4},
      {"auto on, S027 out of range", 2, false, 0, 11, false, 4, 4},
      {"auto on, remembered", 2, false, 0, 7, false, 7, 7},
      {"auto off remembers", 2, false, 6, 2, false, 0, 6},
      {"faster", 9, false, 9, 5, false, 10, 5},
      {"faster at 10", 9, false, 10, 5, false, 10, 5},
      {"faster, auto off", 9, false, 0, 5, false, 0, 5},
      {"slower", 10, false, 3, 5, false, 2, 5},
      {"slower at 1", 10, false, 1, 5, false, 1, 5},
      {"hide window ends auto", 3, false, 6, 5, false, 0, 5},
      {"backlog ends auto", 6, false, 6, 5, false, 0, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\n");
    e.skip_mode = c.skip_before;
    e.banks().SetS(26, c.level_before);
    e.banks().SetS(27, c.s027_before);
    EXPECT_TRUE(e.quick_buttons().PressQuickButton(c.button));
    EXPECT_EQ(e.skip_mode, c.skip_after);
    EXPECT_EQ(e.banks().S(60), c.skip_after ? 2 : 0);
    EXPECT_EQ(e.AutoLevel(), c.level_after);
    EXPECT_EQ(e.banks().S(27), c.s027_after);
  }
}

TEST_F(QuickButtonsTest, SaveAndLoadScreensRefusedDuringATransition) {
  Engine& e = Start();
  e.transition_running = true;
  EXPECT_FALSE(e.quick_buttons().PressQuickButton(11));
  EXPECT_FALSE(e.quick_buttons().PressQuickButton(12));
  e.transition_running = false;
  EXPECT_TRUE(e.quick_buttons().PressQuickButton(12));
}

TEST_F(QuickButtonsTest, PressedLookAndRelease) {
  Engine& e = Start();
  QuickButtons& q = e.quick_buttons();
  uint32_t t0 = f_.platform().NowMs();
  EXPECT_TRUE(q.PressQuickButton(4));  // quick save, shown pressed for 50 ms
  EXPECT_EQ(f_.platform().NowMs() - t0, 50u);
  EXPECT_EQ(q.State(4), kQuickActive);
  q.SetState(6, kQuickActive);
  q.SetState(7, kQuickActive);
  e.PBMouseUp(MouseButton::Left, 0, 0);
  EXPECT_EQ(q.State(4), kQuickNormal);
  EXPECT_EQ(q.State(6), kQuickNormal);
  EXPECT_EQ(q.State(7), kQuickActive);  // only 4, 5 and 6 are released
}

TEST_F(QuickButtonsTest, QuickLoadAsksFirst) {
  Engine& e = Start();
  EXPECT_TRUE(e.quick_buttons().PressQuickButton(5));
  EXPECT_EQ(e.confirm_pending, kConfirmQuickLoad);
}

TEST_F(QuickButtonsTest, PageViewButtonsStepThePages) {
  Engine& e = Start();
  e.screen_mode = 9;
  e.skip_mode = false;
  e.banks().SetS(26, 3);
  // In the page view every button steps the view; none of their own actions run.
  for (int n : {1, 2, 9}) EXPECT_TRUE(e.quick_buttons().PressQuickButton(n));
  EXPECT_FALSE(e.skip_mode);
  EXPECT_EQ(e.AutoLevel(), 3);
}

}  // namespace
}  // namespace quill::test
