// The game screen's input handlers on a running fixture game: clicks through typed text and page
// waits, auto and skip mode, the keys, the wheel, the special click modes and the read marks.
#include <gtest/gtest.h>

#include "platform/keys.h"
#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

// A point on the screen away from the quick-button bar.
constexpr int kFreeX = 400, kFreeY = 100;

void Click(Engine& e, MouseButton button = MouseButton::Left, int x = kFreeX, int y = kFreeY) {
  e.PBMouseMove(x, y);
  e.PBMouseDown(button, x, y);
  e.PBMouseUp(button, x, y);
}

// Frames until the script waits for a click (or `limit` frames have run).
void FramesUntilWait(ScriptFixture& f, int limit = 200) {
  for (int i = 0; i < limit && f.engine().wait_kind == 0; ++i) f.Frame();
}

// Screen position of a quick button's middle (strip buttons only), in a message window placed so
// that its bar lies inside the screen.
void ButtonCentre(Engine& e, int strip_x, int& x, int& y) {
  e.text_layout().txw_ofs_y = 400;
  x = e.text_layout().txw_ofs_x + kQuickStripX + strip_x + 28;
  y = e.text_layout().txw_ofs_y + kQuickStripY + 8;
}

TEST(InputTest, FirstClickFinishesTheTextSecondTurnsThePage) {
  ScriptFixture f;
  Engine& e = f.StartMain("abcdef\n\\\nghi\n\\\n");
  ASSERT_TRUE(e.one_by_one);
  f.Frames(2);
  ASSERT_EQ(e.page_grid().page_chars, 2);
  Click(e);
  EXPECT_TRUE(e.finish_now);
  EXPECT_EQ(e.wait_kind, 0);
  FramesUntilWait(f, 2);
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(e.page_grid().page_chars, 6);
  EXPECT_EQ(f.Log(), (std::vector<std::string>{"abcdef", ""}));

  Click(e);
  EXPECT_EQ(e.wait_kind, 0);
  EXPECT_EQ(e.page_grid().page_chars, 0);  // a new page
  f.Frame();
  EXPECT_EQ(f.Log(), (std::vector<std::string>{"abcdef", "", "g"}));
  EXPECT_EQ(e.page_grid().page_chars, 1);
}

TEST(InputTest, ClickEndsASleepAndSetsS019) {
  ScriptFixture f;
  Engine& e = f.StartMain("*sleep 20\n!V001=1\n");
  f.Frame();
  ASSERT_EQ(e.sleep_frames, -1);
  Click(e);
  EXPECT_EQ(e.sleep_frames, 0);
  EXPECT_EQ(e.banks().S(19), 1);
  f.Frame();
  EXPECT_EQ(e.banks().V(1), 1);
}

TEST(InputTest, ClickDuringATransitionOnlyReportsTheInterruption) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\n");
  FramesUntilWait(f);
  e.transition_running = true;
  Click(e);
  EXPECT_EQ(e.transition_interrupt, 1);
  EXPECT_EQ(e.wait_kind, 1);  // the wait is left for later
  e.transition_running = false;
}

TEST(InputTest, AutoModeClickShortensTheWaitAndRightClickEndsAutoMode) {
  ScriptFixture f;
  Engine& e = f.StartMain("abcdefgh\n\\\nij\n\\\n");
  e.banks().SetS(26, 5);
  FramesUntilWait(f);
  ASSERT_EQ(e.wait_kind, 1);
  ASSERT_TRUE(e.window_open);
  ASSERT_GT(e.auto_wait_ticks, 1);
  Click(e);
  EXPECT_EQ(e.wait_kind, 1);  // not turned at once
  EXPECT_EQ(e.auto_wait_ticks, 1);
  // The next timer tick (every 55 ms) turns the page.
  f.Frames(3);
  EXPECT_EQ(e.wait_kind, 0);

  Click(e, MouseButton::Right);
  EXPECT_EQ(e.AutoLevel(), 0);
  EXPECT_EQ(e.banks().S(61), 0);
  EXPECT_FALSE(e.popup_open);  // the right click did not also open the menu
}

TEST(InputTest, ClickOnTheAutoGaugeSetsTheLevel) {
  struct Case {
    int dx;
    int level;
  } cases[] = {{0, 10}, {15, 10}, {16, 9}, {80, 5}, {159, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dx);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\n");
    e.banks().SetS(26, 3);
    FramesUntilWait(f);
    e.text_layout().txw_ofs_y = 400;
    int x = e.text_layout().txw_ofs_x + 86 + c.dx, y = e.text_layout().txw_ofs_y + 161 + 6;
    Click(e, MouseButton::Left, x, y);
    EXPECT_EQ(e.AutoLevel(), c.level);
    EXPECT_EQ(e.banks().S(27), c.level);
    EXPECT_EQ(e.wait_kind, 1);
  }
}

TEST(InputTest, ControlSkipsWhileHeldAndCsSwapExchangesShiftAndControl) {
  struct Case {
    bool swap;
    int skip_key;
    int auto_key;
  } cases[] = {{false, kKeyControl, kKeyShift}, {true, kKeyShift, kKeyControl}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.swap);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\ncd\n\\\nef\n\\\ngh\n\\\n");
    e.settings().SetInt(SettingId::CS_SWAP, c.swap ? 1 : 0);
    e.banks().SetS(27, 0);
    FramesUntilWait(f);
    e.FormKeyDown(c.skip_key);
    EXPECT_TRUE(e.skip_mode);
    EXPECT_EQ(e.banks().S(60), 2);
    f.Frames(2);  // pages go by without clicks
    EXPECT_GE(f.Log().size(), 4u);
    e.FormKeyUp(c.skip_key);
    EXPECT_FALSE(e.skip_mode);
    EXPECT_EQ(e.banks().S(60), 0);

    // The other key toggles auto mode, starting at level 4.
    e.FormKeyDown(c.auto_key);
    EXPECT_EQ(e.AutoLevel(), 4);
    EXPECT_FALSE(e.skip_mode);
    e.FormKeyUp(c.auto_key);
    e.FormKeyDown(c.auto_key);
    EXPECT_EQ(e.AutoLevel(), 0);
  }
}

TEST(InputTest, RepeatsOfAHeldModifierActOnce) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\n");
  e.banks().SetS(27, 0);
  FramesUntilWait(f);
  for (int i = 0; i < 3; ++i) e.OnKeyDown(kKeyControl);
  EXPECT_TRUE(e.skip_mode);
  e.OnKeyUp(kKeyControl);
  EXPECT_FALSE(e.skip_mode);
  for (int i = 0; i < 2; ++i) e.OnKeyDown(kKeyShift);
  EXPECT_EQ(e.AutoLevel(), 4);
  e.OnKeyUp(kKeyShift);
  e.OnKeyDown(kKeyShift);  // a new press toggles again
  EXPECT_EQ(e.AutoLevel(), 0);
}

TEST(InputTest, FunctionKeysRefuseSavingAndLoadingByS000) {
  // F3 saves (button 11, S070), F2 loads (button 12, S071); a button that acts shows pressed.
  struct Case {
    int key;
    int s000, s028;
    int s070, s071;
  } cases[] = {
      {kKeyF1 + 2, 1, 1, 0, 0}, {kKeyF1 + 1, 1, 1, 0, 2}, {kKeyF1 + 2, 0, 1, 2, 0},
      {kKeyF1 + 2, 0, 0, 0, 0}, {kKeyF1 + 1, 2, 1, 0, 0}, {kKeyF1 + 1, 3, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "F" << c.key - kKeyF1 + 1 << " S000=" << c.s000);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\n");
    FramesUntilWait(f);
    e.banks().SetS(0, c.s000);
    e.banks().SetS(28, c.s028);
    e.FormKeyDown(c.key);
    EXPECT_EQ(e.banks().S(70), c.s070);
    EXPECT_EQ(e.banks().S(71), c.s071);
  }
}

TEST(InputTest, AutoSpeedKeysWorkOnlyInAutoMode) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\n");
  FramesUntilWait(f);
  e.FormKeyDown(kKeyF1 + 7);  // F8: slower
  e.FormKeyDown(kKeyF1 + 5);  // F6: faster
  EXPECT_EQ(e.AutoLevel(), 0);
  e.banks().SetS(26, 5);
  e.FormKeyDown(kKeyF1 + 7);
  EXPECT_EQ(e.AutoLevel(), 4);
  e.banks().SetS(26, 10);
  e.FormKeyDown(kKeyF1 + 5);
  EXPECT_EQ(e.AutoLevel(), 10);  // at most 10
  e.banks().SetS(26, 1);
  e.FormKeyDown(kKeyF1 + 7);
  EXPECT_EQ(e.AutoLevel(), 1);  // at least 1
}

TEST(InputTest, SeenStopsSkippingAtANewMarkAndRefusesTheSkipButton) {
  ScriptFixture f;
  Engine& e = f.StartMain("*mark 1\nab\n\\\ncd\n\\\n*mark 2\nef\n\\\ngh\n\\\n");
  ASSERT_TRUE(e.seen);
  e.read_marks().Set(1, true);
  f.Frame();  // mark 1, read before
  EXPECT_TRUE(e.block_read);
  e.FormKeyDown(kKeyControl);
  ASSERT_TRUE(e.skip_mode);
  f.Frames(10);
  // The skip ran through the read block and stopped at the unread one.
  EXPECT_FALSE(e.skip_mode);
  EXPECT_FALSE(e.block_read);
  EXPECT_EQ(e.banks().S(60), 0);
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(f.Log(), (std::vector<std::string>{"ab", "", "cd", "", "ef", ""}));

  // The skip button can be neither hovered nor clicked; the click turns the page instead.
  int x, y;
  ButtonCentre(e, 530, x, y);
  e.PBMouseMove(x, y);
  EXPECT_EQ(e.quick_buttons().hovered(), 0);
  Click(e, MouseButton::Left, x, y);
  EXPECT_FALSE(e.skip_mode);
  EXPECT_EQ(e.wait_kind, 0);

  // In a read block it works.
  e.block_read = true;
  e.PBMouseMove(x, y);
  EXPECT_EQ(e.quick_buttons().hovered(), 1);
  e.PBMouseDown(MouseButton::Left, x, y);
  EXPECT_TRUE(e.skip_mode);
}

TEST(InputTest, WheelUpOpensThePageViewOrTheBacklogByWheelMode) {
  // The backlog is opened with button 6 shown pressed and left in state 1 (S065); the page view
  // does not touch it.
  struct Case {
    int wheel_mode;
    int delta;
    int s065;
  } cases[] = {{0, 1, 0}, {1, 1, 1}, {2, 1, 1}, {1, -1, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.wheel_mode << " " << c.delta);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\n");
    FramesUntilWait(f);
    e.settings().SetInt(SettingId::WHEEL_MODE, c.wheel_mode);
    e.FormMouseWheel(c.delta);
    EXPECT_EQ(e.banks().S(65), c.s065);
  }
}

TEST(InputTest, SpecialClickModes) {
  ScriptFixture f;
  f.game().Script("STITLE", "!V010=1\n");
  Engine& e = f.StartMain("ab\n\\\n:there\n!V020=1\ncd\n\\\n");
  FramesUntilWait(f);

  e.banks().SetS(56, 66);  // clicks are ignored
  Click(e);
  Click(e, MouseButton::Right);
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(e.banks().S(56), 66);

  e.banks().SetS(56, 57);  // go to the label of name slot 8
  f.SetNameSlot(8, "there");
  Click(e);
  EXPECT_EQ(e.banks().S(56), 0);
  e.wait_kind = 0;
  f.Frame();
  EXPECT_EQ(e.banks().V(20), 1);

  FramesUntilWait(f);
  e.banks().SetS(56, 56);  // a right click is not the title click
  e.settings().SetInt(SettingId::RC_MODE, 3);
  Click(e, MouseButton::Right);
  EXPECT_EQ(e.banks().S(56), 56);
  EXPECT_EQ(e.current_script_name(), "main");
  e.sleep_frames = 5;
  Click(e);
  EXPECT_EQ(e.banks().S(56), 0);
  EXPECT_EQ(e.sleep_frames, 0);
  EXPECT_EQ(e.current_script_name(), "STITLE");
  f.Frame();
  EXPECT_EQ(e.banks().V(10), 1);
}

TEST(InputTest, RightClickActionByRcMode) {
  struct Case {
    int rc_mode;
    bool skip;
    int auto_level;
    int s027_before, s027_after;
  } cases[] = {
      {2, true, 0, 0, 0},   // skip mode on
      {3, false, 5, 0, 5},  // auto mode at level 5 when S027 was 0
      {3, false, 7, 7, 7},  // or at the remembered level
      {1, false, 0, 0, 0},  // hide the window: nothing else changes
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rc_mode);
    ScriptFixture f;
    Engine& e = f.StartMain("ab\n\\\n");
    FramesUntilWait(f);
    e.settings().SetInt(SettingId::RC_MODE, c.rc_mode);
    e.banks().SetS(27, c.s027_before);
    Click(e, MouseButton::Right);
    EXPECT_EQ(e.skip_mode, c.skip);
    EXPECT_EQ(e.banks().S(60), c.skip ? 2 : 0);
    EXPECT_EQ(e.AutoLevel(), c.auto_level);
    EXPECT_EQ(e.banks().S(27), c.s027_after);
    EXPECT_EQ(e.wait_kind, 1);  // a right click never turns the page
  }
}

TEST(InputTest, ChoiceClicksWaitForTheDebounce) {
  // With a choice active a click goes to the choice and then to the hovered quick button, but
  // only once five frames have passed since the previous click; the auto button shows it.
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\n");
  FramesUntilWait(f);
  e.choice_mode = 1;
  e.banks().SetS(27, 0);  // auto mode then starts at level 4
  int x, y;
  ButtonCentre(e, 0, x, y);  // button 2, auto
  Click(e, MouseButton::Left, x, y);
  ASSERT_EQ(e.AutoLevel(), 4);
  EXPECT_EQ(e.click_debounce, 5);
  f.Frames(4);
  Click(e, MouseButton::Left, x, y);  // one frame too early
  EXPECT_EQ(e.AutoLevel(), 4);
  f.Frames(5);
  Click(e, MouseButton::Left, x, y);
  EXPECT_EQ(e.AutoLevel(), 0);
  EXPECT_EQ(e.wait_kind, 1);  // the choice keeps the page
}

TEST(InputTest, TypedKeys) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\ncd\n\\\n");
  e.banks().SetS(27, 0);
  FramesUntilWait(f);
  e.PBMouseMove(kFreeX, kFreeY);
  e.OnChar("z");  // a left click at the pointer
  EXPECT_EQ(e.wait_kind, 0);
  FramesUntilWait(f);
  e.OnKeyDown(kKeyEnter);
  EXPECT_EQ(e.wait_kind, 0);

  e.OnKeyDown(kKeySpace);  // auto mode as button 2
  EXPECT_EQ(e.AutoLevel(), 4);
  e.OnChar(" ");  // the space comes with its key only
  EXPECT_EQ(e.AutoLevel(), 4);
  e.OnKeyDown(kKeySpace);
  EXPECT_EQ(e.AutoLevel(), 0);

  e.popup_open = true;
  e.OnKeyDown(kKeyEscape);
  EXPECT_FALSE(e.popup_open);

  e.busy = true;  // most keys wait while busy; Enter still clicks (and the click is ignored)
  e.OnKeyDown(kKeySpace);
  EXPECT_EQ(e.AutoLevel(), 0);
  e.busy = false;
}

}  // namespace
}  // namespace quill::test
