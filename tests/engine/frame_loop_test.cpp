// AppIdle and Timer1Timer on the headless platform's virtual clock: frame lengths, the holds that
// keep the script from stepping, and what the timer releases.
#include <gtest/gtest.h>

#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

// Frames until V001 becomes non-zero; returns the virtual time then, or 0 when it never does.
uint32_t FramesUntilV001(ScriptFixture& f, int limit = 500) {
  for (int i = 0; i < limit; ++i) {
    f.Frame();
    if (f.engine().banks().V(1) != 0) return f.platform().NowMs();
  }
  return 0;
}

TEST(FrameLoopTest, FrameLengthFollowsTheAutoLevel) {
  struct Case {
    int auto_level;
    uint32_t frame_ms;
  } cases[] = {{0, 20}, {1, 19}, {5, 35}, {10, 55}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.auto_level);
    ScriptFixture f;
    Engine& e = f.StartMain(std::string(200, 'a') + "\n");
    e.banks().SetS(26, c.auto_level);
    uint32_t t0 = f.platform().NowMs();
    f.Frames(10);
    EXPECT_EQ(f.platform().NowMs() - t0, 10 * c.frame_ms);
    EXPECT_EQ(e.page_grid().page_chars, 10);  // one character per frame
  }
}

TEST(FrameLoopTest, SleepCountsFramesOrWaitsForAClick) {
  ScriptFixture f;
  Engine& e = f.StartMain("*sleep 90\n!V001=1\n*sleep 20\n!V002=1\n");
  f.Frame();  // the sleep line
  EXPECT_EQ(e.sleep_frames, 3);
  f.Frames(3);
  EXPECT_EQ(e.banks().V(1), 0);
  EXPECT_EQ(e.sleep_frames, 0);
  f.Frame();
  EXPECT_EQ(e.banks().V(1), 1);
  EXPECT_EQ(e.sleep_frames, -1);
  f.Frames(50);
  EXPECT_EQ(e.banks().V(2), 0);
  e.sleep_frames = 0;  // what a click does
  f.Frame();
  EXPECT_EQ(e.banks().V(2), 1);
}

TEST(FrameLoopTest, WaitTicksAreCountedByTheTimer) {
  ScriptFixture f;
  Engine& e = f.StartMain("%3\n!V001=1\n");
  e.one_by_one = false;
  f.Frame();
  ASSERT_EQ(e.wait_ticks, 3);
  uint32_t start = f.platform().NowMs();
  uint32_t released = FramesUntilV001(f);
  ASSERT_NE(released, 0u);
  // Ticks at 55, 110 and 165 ms (seen by the frames of 60, 120 and 180) take it to 0; the frame
  // of 180 ends the "%3" line, the frame of 200 runs the assignment and lasts until 220.
  EXPECT_EQ(start, 40u);
  EXPECT_EQ(released, 220u);
}

TEST(FrameLoopTest, SkipModeReleasesWaitsEachFrame) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\ncd\n=\nef\n\\\n");
  e.skip_mode = true;
  f.Frame();  // ab, then the page wait
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(e.page_grid().page_chars, 2);
  f.Frame();  // a new page, then cd ("=" is skipped), ef, and the next page wait
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(e.page_grid().page_chars, 4);
  EXPECT_EQ(f.Log(), (std::vector<std::string>{"ab", "", "cd", "ef", ""}));
}

TEST(FrameLoopTest, APageWaitHoldsUntilReleased) {
  ScriptFixture f;
  Engine& e = f.StartMain("ab\n\\\n!V001=1\n");
  EXPECT_EQ(FramesUntilV001(f, 200), 0u);
  EXPECT_EQ(e.wait_kind, 1);
}

TEST(FrameLoopTest, AutoModeReleasesAPageWhenItsCountRunsOut) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\n\\\n!V001=1\n");
  e.banks().SetS(26, 5);
  while (e.wait_kind == 0) f.Frame();
  // 3 characters / (22 - 5) + 2 × 5 + 2
  ASSERT_EQ(e.auto_wait_ticks, 12);
  uint32_t waiting = f.platform().NowMs();
  uint32_t released = FramesUntilV001(f);
  ASSERT_NE(released, 0u);
  EXPECT_GE(released - waiting, 11u * 55u);
  EXPECT_LE(released - waiting, 13u * 55u);
  EXPECT_EQ(e.page_grid().page_chars, 0);  // the page was turned
}

TEST(FrameLoopTest, ComputeAutoWait) {
  struct Case {
    int level, chars, ticks;
  } cases[] = {{5, 100, 17}, {0, 100, 6}, {10, 0, 22}, {22, 4, 50}, {30, 4, 66}};
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  for (const Case& c : cases) {
    e.banks().SetS(26, c.level);
    e.page_grid().page_chars = c.chars;
    e.ComputeAutoWait();
    EXPECT_EQ(e.auto_wait_ticks, c.ticks) << c.level << " " << c.chars;
  }
}

TEST(FrameLoopTest, TheVoiceEndWaitEndsAtTheNextTickWithoutAVoice) {
  ScriptFixture f;
  Engine& e = f.StartMain("*wait_v_end\n!V001=1\n");
  f.Frame();
  ASSERT_TRUE(e.voice_end_wait);
  uint32_t released = FramesUntilV001(f);
  EXPECT_EQ(released, 80u);  // the tick of 55 ms clears it; the frame of 60 steps
  EXPECT_FALSE(e.voice_end_wait);
}

TEST(FrameLoopTest, HoldsThatKeepTheScriptFromStepping) {
  struct Case {
    const char* name;
    void (*set)(Engine&);
  } cases[] = {
      {"busy", [](Engine& e) { e.busy = true; }},
      {"choice", [](Engine& e) { e.choice_mode = 1; }},
      {"script disabled", [](Engine& e) { e.script_enabled = false; }},
      {"screen mode", [](Engine& e) { e.screen_mode = 9; }},
      {"log view", [](Engine& e) { e.log_view_open = true; }},
      {"confirmation", [](Engine& e) { e.confirm_pending = 3; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptFixture f;
    Engine& e = f.StartMain("!V001=1\n");
    c.set(e);
    f.Frames(20);
    EXPECT_EQ(e.banks().V(1), 0);
  }
}

TEST(FrameLoopTest, ARandomNumberIsDrawnEveryFrame) {
  auto value_after = [](int frames) {
    ScriptFixture f;
    Engine& e = f.StartMain("*sleep 20\n!V001=R32768+1\n");
    f.Frames(frames);
    e.sleep_frames = 0;
    FramesUntilV001(f);
    return e.banks().V(1);
  };
  EXPECT_EQ(value_after(2), value_after(2));  // the clock starts at 0: the same game each run
  EXPECT_NE(value_after(2), value_after(3));
}

TEST(FrameLoopTest, ExitRequestedClosesOnTheNextFrame) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\n");
  f.Frame();
  EXPECT_FALSE(e.closed());
  e.exit_requested = true;
  f.Frame();
  EXPECT_TRUE(e.closed());
}

}  // namespace
}  // namespace quill::test
