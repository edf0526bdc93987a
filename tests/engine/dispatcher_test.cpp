// DispatchCommand: step results, and the commands the script machine carries out itself.
#include <gtest/gtest.h>

#include "engine/command_table.h"
#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

int Dispatch(Engine& e, const std::string& line) {
  int command = MatchCommand(line);
  EXPECT_GE(command, 0) << line;
  return e.DispatchCommand(command, line);
}

TEST(DispatcherTest, StepResultsOfTheCommandsOfOtherSubsystems) {
  struct Case {
    const char* line;
    int result;
  } cases[] = {
      {"*gra bg01", 0},  {"*music 3", 0},    {"*cv v001", 0},     {"*clrb 1", 0},
      {"*select", 1},    {"*clickmap a", 1}, {"*switch", 1},      {"*spr 1", 0},
      {"*ptset a", 0},   {"*load", 1},       {"*grb bg01", 0},    {"*win_close", 0},
      {"*special 1", 1}, {"*gameclr", 0},    {"*partsload a", 0}, {"*movie a", 0},
      {"*bg a", 0},      {"*fix", 0},        {"*seltree 1", 1},   {"*direct a", 0},
      {"*save", 1},      {"*win_open", 0},   {"*map 1", 1},       {"*bg_anim a", 0},
      {"*roll a", 1},    {"*anim a", 1},     {"*shake 1", 1},     {"*setname", 1},
      {"*ovr a", 1},     {"*viewer 1", 1},   {"*se a", 0},        {"*seloop a", 0},
      {"*seoff 1", 0},   {"*rec", 0},        {"*tw_set 1", 0},    {"*exit", 1},
      {"*obj_a", 0},     {"*sroll", 1},      {"*scroll 1", 1},    {"*kaisou", 1},
      {"*chgprm", 1},    {"*cgfull", 1},     {"*effect 1", 1},    {"*vend", 1},
      {"*manpu 1", 0},   {"*sprmv 1", 1},    {"*efxanim 1", 1},   {"*wipeset a", 1},
      {"*lpanim 1", 1},
  };
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  for (const Case& c : cases) {
    EXPECT_EQ(Dispatch(e, c.line), c.result) << c.line;
  }
}

TEST(DispatcherTest, SleepPausesByFramesOrUntilAClick) {
  struct Case {
    const char* line;
    bool skip;
    int auto_level;
    int result;
    int sleep_frames;
  } cases[] = {
      {"*sleep 20", false, 0, 1, -1},  // 20 div 30 is 0: until a click
      {"*sleep 90", false, 0, 1, 3},  {"*sleep 100", false, 0, 1, 3},
      {"*sleep 90", true, 0, 0, 0},  // ignored while skipping or in auto mode
      {"*sleep 90", false, 4, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ScriptFixture f;
    Engine& e = f.StartMain("x\n");
    e.skip_mode = c.skip;
    e.banks().SetS(26, c.auto_level);
    EXPECT_EQ(Dispatch(e, c.line), c.result);
    EXPECT_EQ(e.sleep_frames, c.sleep_frames);
  }
}

TEST(DispatcherTest, ModeSwitchesTheLayout) {
  struct Case {
    std::vector<const char*> lines;
    int layout;
    int window_state;
  } cases[] = {
      {{"*mode 5"}, 1, 2},
      {{"*mode 5", "*mode 5"}, 0, 1},  // any other value toggles
      {{"*mode 1", "*mode 1"}, 1, 2},  // the second changes nothing
      {{"*mode 1", "*mode 0"}, 0, 1},
      {{"*mode 0"}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.size());
    ScriptFixture f;
    Engine& e = f.StartMain("x\n");
    for (const char* line : c.lines) {
      e.fetch_line = false;
      EXPECT_EQ(Dispatch(e, line), 1) << line;
      EXPECT_TRUE(e.fetch_line);
    }
    EXPECT_EQ(e.banks().S(150), c.layout);
    EXPECT_EQ(e.window_state, c.window_state);
  }
}

TEST(DispatcherTest, ModeResetsThePageOnlyWhenItSwitches) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\n*mode 0\n*mode 1\n");
  f.StepToEnd();
  EXPECT_EQ(e.banks().S(150), 1);
  EXPECT_EQ(e.page_grid().page_chars, 0);
  EXPECT_EQ(f.GridRow(1), "");
  ScriptFixture g;
  Engine& e2 = g.StartMain("abc\n*mode 0\n");
  g.StepToEnd();
  EXPECT_EQ(e2.page_grid().page_chars, 3);
}

TEST(DispatcherTest, ReadMarks) {
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  e.skip_mode = true;
  e.banks().SetS(60, 2);
  EXPECT_EQ(Dispatch(e, "*mark 100"), 0);  // never read: skip mode ends
  EXPECT_FALSE(e.skip_mode);
  EXPECT_EQ(e.banks().S(60), 0);
  EXPECT_FALSE(e.block_read);
  EXPECT_TRUE(e.read_marks().Test(100));
  EXPECT_EQ(e.banks().S(25), 100);
  e.skip_mode = true;
  Dispatch(e, "*mark 100");  // the second pass: read
  EXPECT_TRUE(e.skip_mode);
  EXPECT_TRUE(e.block_read);
  e.seen = false;  // with "Seen" off a new mark leaves skip mode and the read state alone
  Dispatch(e, "*mark 101");
  EXPECT_TRUE(e.skip_mode);
  EXPECT_TRUE(e.block_read);
  EXPECT_TRUE(e.read_marks().Test(101));
  e.seen = true;
  for (const char* line : {"*mark 80001", "*mark -1"}) {
    Dispatch(e, line);
    EXPECT_TRUE(e.skip_mode) << line;
    EXPECT_EQ(e.banks().S(25), 101) << line;
  }
  Dispatch(e, "*mark 80000");
  EXPECT_TRUE(e.read_marks().Test(80000));
}

TEST(DispatcherTest, NameSlotCommands) {
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  Dispatch(e, Utf8ToSjisLossy("*string 3 かな name"));
  EXPECT_EQ(f.NameSlot(3), "かな name");
  Dispatch(e, "*string x nothing");
  Dispatch(e, "*string ");
  EXPECT_EQ(f.NameSlot(3), "かな name");
  Dispatch(e, "*title " + std::string(80, 'c'));
  EXPECT_EQ(f.NameSlot(9), std::string(63, 'c'));
}

TEST(DispatcherTest, GameinitClearsTheGameBanks) {
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  e.banks().SetV(5, 1);
  e.banks().F.Set(3, true);
  e.banks().T.Set(9000, true);
  e.banks().E.Set(4, true);
  e.banks().SetS(50, 6);
  e.banks().SetG(1, 7);
  EXPECT_EQ(Dispatch(e, "*gameinit"), 0);
  EXPECT_EQ(e.banks().V(5), 0);
  EXPECT_FALSE(e.banks().F.Test(3));
  EXPECT_FALSE(e.banks().T.Test(9000));
  EXPECT_TRUE(e.banks().E.Test(4));
  EXPECT_EQ(e.banks().S(50), 6);
  EXPECT_EQ(e.banks().G(1), 7);
}

TEST(DispatcherTest, BacktoBreakAndWindowFlags) {
  ScriptFixture f;
  Engine& e = f.StartMain("!V001=1\n*backto\n*tw_set 1\n!V002=1\n*tw_set 0\n");
  e.StepScript();
  EXPECT_EQ(e.banks().S(10), 8);  // the offset where the backto line begins
  EXPECT_FALSE(e.window_open);
  e.skip_mode = true;
  e.banks().SetS(26, 5);
  EXPECT_EQ(Dispatch(e, "*break"), 1);
  EXPECT_FALSE(e.skip_mode);
  EXPECT_EQ(e.banks().S(26), 0);
  e.break_on_select = false;  // break ends both whatever BreakonSelect says
  e.skip_mode = true;
  Dispatch(e, "*break");
  EXPECT_FALSE(e.skip_mode);
  Dispatch(e, "*tw_set 1");
  EXPECT_TRUE(e.window_open);
  EXPECT_EQ(e.DispatchCommand(kCmdWinClose, "*win_close"), 0);
  EXPECT_FALSE(e.window_open);
  Dispatch(e, "*win_open");
  EXPECT_TRUE(e.window_open);
  e.banks().SetS(150, 1);
  Dispatch(e, "*win_close");  // nothing in the full-screen layout
  EXPECT_TRUE(e.window_open);
  Dispatch(e, "*ovr a");
  EXPECT_FALSE(e.window_open);
}

TEST(DispatcherTest, ChoiceCommandsCancelAutoAndSkipWithBreakOnSelect) {
  for (bool break_on_select : {true, false}) {
    for (const char* line : {"*select", "*load", "*save", "*map 1", "*setname", "*seltree 1"}) {
      SCOPED_TRACE(std::string(line) + (break_on_select ? " on" : " off"));
      ScriptFixture f;
      Engine& e = f.StartMain("x\n");
      e.break_on_select = break_on_select;
      e.skip_mode = true;
      e.banks().SetS(26, 3);
      Dispatch(e, line);
      EXPECT_EQ(e.skip_mode, !break_on_select);
      EXPECT_EQ(e.banks().S(26), break_on_select ? 0 : 3);
    }
  }
}

TEST(DispatcherTest, ExitgameAsksBeforeClosingAndExitDoesNotClose) {
  ScriptFixture f;
  f.Scenario("5000 dialog cancel\n6000 dialog ok\n");
  Engine& e = f.StartMain("x\n");
  Dispatch(e, "*exit");
  EXPECT_FALSE(e.closed());
  EXPECT_EQ(Dispatch(e, "*exitgame"), 1);
  EXPECT_FALSE(e.closed());  // the player said Cancel
  EXPECT_EQ(Dispatch(e, "*exitgame"), 1);
  EXPECT_TRUE(e.closed());
  EXPECT_TRUE(f.platform().errors().empty());
}

TEST(DispatcherTest, WaitVoiceEndNeedsAnAudioDevice) {
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  ASSERT_TRUE(e.wave_device);  // the headless platform has one
  EXPECT_EQ(Dispatch(e, "*wait_v_end"), 1);
  EXPECT_TRUE(e.voice_end_wait);
  e.voice_end_wait = false;
  e.wave_device = false;
  EXPECT_EQ(Dispatch(e, "*wait_v_end"), 1);
  EXPECT_FALSE(e.voice_end_wait);
}

TEST(DispatcherTest, AClickDuringGrasTransitionEndsTheStep) {
  ScriptFixture f;
  f.Scenario("60 click 400 300\n");  // lands while the first cross-fade runs
  Engine& e = f.StartMain("x\n");
  EXPECT_EQ(Dispatch(e, "*gra SG00,1"), 1);
  EXPECT_EQ(e.transition_interrupt, 0);
  EXPECT_EQ(e.banks().S(19), 1);
  // grb only prepares the scene and never looks at the interruption value.
  e.transition_interrupt = 1;
  EXPECT_EQ(Dispatch(e, "*grb S0G0,1"), 0);
  EXPECT_EQ(e.picture_variant, 1);
  EXPECT_EQ(e.transition_interrupt, 1);
  e.transition_interrupt = 0;
  EXPECT_EQ(Dispatch(e, "*gra S00G,1"), 0);  // no click this time: the step goes on
  EXPECT_EQ(e.picture_variant, 0);
  EXPECT_EQ(e.banks().S(19), 0);
}

TEST(DispatcherTest, GoCalcAndIf) {
  struct Case {
    const char* script;
    int steps;
    int v1, v2, v3;
  } cases[] = {
      {"*go there\n!V001=1\n:there\n!V002=2\n", 1, 0, 2, 0},
      {"*go nowhere\n!V001=1\n", 1, 1, 0, 0},         // a missing label: the next line
      {"*go there\n:there \n!V001=1\n", 1, 1, 0, 0},  // the label's blank is part of its name
      {"*calc V001=4;V002=V001*2\n", 1, 4, 8, 0},
      // if: an assignment runs at once, a command runs in the same step, a label jumps and ends it.
      {"*if (V000=0) !V001=1\n!V002=2\n", 1, 1, 2, 0},
      {"*if (V000=0) *calc V003=3\n!V002=2\n", 1, 0, 2, 3},
      {"*if (V000=0) lbl\n!V001=1\n:lbl\n!V002=2\n", 1, 0, 0, 0},
      {"*if (V000=0) lbl\n!V001=1\n:lbl\n!V002=2\n", 2, 0, 2, 0},
      {"*if (V000=1) !V001=1\n!V002=2\n", 1, 0, 0, 0},  // false: the step ends
      {"*if (V000=1) !V001=1\n!V002=2\n", 2, 0, 2, 0},
      {"*if (V000=0)\n!V002=2\n", 1, 0, 0, 0},  // nothing after the condition
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.script << " steps " << c.steps);
    ScriptFixture f;
    Engine& e = f.StartMain(c.script);
    for (int i = 0; i < c.steps; ++i) e.StepScript();
    EXPECT_EQ(e.banks().V(1), c.v1);
    EXPECT_EQ(e.banks().V(2), c.v2);
    EXPECT_EQ(e.banks().V(3), c.v3);
  }
}

TEST(DispatcherTest, IfRefusesAnInlineCommandOf200BytesOrMore) {
  for (size_t len : {198u, 199u, 200u}) {
    std::string item = "!V001=1;V002=" + std::string(len - 13, '0') + "7";
    item.resize(len);
    ScriptFixture f;
    Engine& e = f.StartMain("*if (V000=0) " + item + "\n");
    e.StepScript();
    EXPECT_EQ(e.banks().V(1), len < 200 ? 1 : 0) << len;
  }
}

TEST(DispatcherTest, Cjmp) {
  const char* branches = "{\n!V001=10\n{\n!V001=11\n}\n!V002=1\n";
  struct Case {
    std::string head;
    int s006;
    int v1;
  } cases[] = {
      {"*cjmp 0", 0, 10},
      {"*cjmp 1", 0, 11},
      {"*cjmp 2", 0, 0},  // past the last branch: after the closing line
      // Negative: on after the cjmp line, whose "{" then skips the construct as a block.
      {"*cjmp -1", 0, 0},
      {"*cjmp", 1, 11},  // no argument: S006
      {"*cjmp V005", 0, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.head);
    ScriptFixture f;
    Engine& e = f.StartMain(c.head + "\n" + branches);
    e.banks().SetS(6, c.s006);
    e.banks().SetV(5, 1);
    e.StepScript();
    EXPECT_EQ(e.banks().V(1), c.v1);
    EXPECT_EQ(e.banks().V(2), 1);
  }
}

TEST(DispatcherTest, CjmpWithoutAClosingLineEndsTheScript) {
  ScriptFixture f;
  Engine& e = f.StartMain("*cjmp 3\n{\n!V001=1\n");
  e.StepScript();
  EXPECT_TRUE(e.finished());
  EXPECT_EQ(e.banks().V(1), 0);
}

}  // namespace
}  // namespace quill::test
