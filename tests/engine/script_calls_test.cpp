// chain, call, end and the implicit return: the call stack, the script names and where the
// script goes on.
#include <gtest/gtest.h>

#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

TEST(ScriptCallsTest, ImplicitReturnResumesTheCallerAfterTheCallLine) {
  ScriptFixture f;
  f.game().Script("sub", "!V002=V001+10\n").Script("sub2", "!V003=1\n*end\n");
  Engine& e = f.StartMain("*call sub\n!V001=1\n*call sub2\n!V004=V003\n");
  e.banks().SetV(1, 5);
  e.StepScript();  // call sub
  EXPECT_EQ(e.current_script_name(), "sub");
  EXPECT_EQ(e.call_stack().depth(), 1);
  EXPECT_EQ(e.call_stack().entry(0).Name(), "main");
  EXPECT_EQ(e.call_stack().entry(0).offset, 10u);  // the line after "*call sub"
  e.StepScript();                                  // V002, then the end of "sub" returns
  EXPECT_EQ(e.banks().V(2), 15);
  EXPECT_EQ(e.current_script_name(), "main");
  EXPECT_EQ(e.loaded_script_name(), "main");
  EXPECT_EQ(e.call_stack().depth(), 0);
  e.StepScript();  // V001, call sub2: the caller recorded is "main", not "sub"
  EXPECT_EQ(e.banks().V(1), 1);
  EXPECT_EQ(e.call_stack().entry(0).Name(), "main");
  e.StepScript();  // V003 and *end
  e.StepScript();  // V004, end of main
  EXPECT_EQ(e.banks().V(4), 1);
  EXPECT_TRUE(e.finished());
}

TEST(ScriptCallsTest, CallAndChainJumpToTheirLabels) {
  ScriptFixture f;
  f.game().Script("sub", "!V001=1\n:there\n!V002=2\n*end\n");
  f.game().Script("next", "!V003=3\n:Go On\n!V004=4\n");
  Engine& e = f.StartMain("*call sub:there\n*chain next:Go On\n");
  e.StepScript();
  e.StepScript();
  EXPECT_EQ(e.banks().V(1), 0);
  EXPECT_EQ(e.banks().V(2), 2);
  e.StepScript();  // chain with its label (the label holds a space)
  e.StepScript();
  EXPECT_EQ(e.current_script_name(), "next");
  EXPECT_EQ(e.banks().V(3), 0);
  EXPECT_EQ(e.banks().V(4), 4);
}

TEST(ScriptCallsTest, ChainEmptiesTheStackAndEndAtDepthZeroDoesNothing) {
  ScriptFixture f;
  f.game().Script("a", "*call b\n").Script("b", "*call c\n").Script("c", "*chain d:lbl\n");
  f.game().Script("d", "!V009=9\n:lbl\n*end\n!V001=5\n");
  Engine& e = f.StartMain("*call a\n");
  for (int i = 0; i < 3; ++i) e.StepScript();
  EXPECT_EQ(e.call_stack().depth(), 3);
  e.StepScript();  // chain
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_EQ(e.current_script_name(), "d");
  e.StepScript();  // *end with nobody to return to
  EXPECT_EQ(e.current_script_name(), "d");
  e.StepScript();
  EXPECT_EQ(e.banks().V(1), 5);
  EXPECT_EQ(e.banks().V(9), 0);
}

TEST(ScriptCallsTest, CallDollarTakesTheScriptNameFromANameSlot) {
  struct Case {
    const char* line;
    int slot;
  } cases[] = {{"*call $2", 2}, {"*call $x", 0}, {"*call $", 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ScriptFixture f;
    f.game().Script("slotted", "!V001=7\n");
    Engine& e = f.StartMain(std::string(c.line) + "\n!V002=V001\n");
    f.SetNameSlot(c.slot, "slotted");
    e.StepScript();
    EXPECT_EQ(e.current_script_name(), "slotted");
    EXPECT_EQ(e.loaded_script_name(), "slotted");
    EXPECT_EQ(e.call_stack().depth(), 1);
    e.StepScript();  // V001 and the return
    e.StepScript();
    EXPECT_EQ(e.banks().V(2), 7);
  }
}

TEST(ScriptCallsTest, ChainReadsTheNameUpToTheFirstSpace) {
  ScriptFixture f;
  f.game().Script("other", "!V001=1\n");
  Engine& e = f.StartMain("*chain other script\n");
  e.StepScript();
  EXPECT_EQ(e.current_script_name(), "other");
  e.StepScript();
  EXPECT_EQ(e.banks().V(1), 1);
}

TEST(ScriptCallsTest, MissingScriptsLeaveTheOldScriptRunning) {
  ScriptFixture f;
  f.game().Script("sub", "!V009=1\n");
  Engine& e = f.StartMain("*call sub\n*chain nowhere\n!V001=1\n*call nowhere\n*call $3\n!V003=1\n");
  e.StepScript();
  e.StepScript();  // in sub, then back
  ASSERT_EQ(e.call_stack().depth(), 0);
  e.call_stack().WriteTop("x", 0);
  e.call_stack().Raise();
  e.char_delay = 7;
  e.StepScript();  // chain to a missing script: stack emptied, old name kept
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_EQ(e.current_script_name(), "main");
  EXPECT_EQ(e.char_delay, 1);  // chain resets the run state before it loads
  e.char_delay = 7;
  e.StepScript();  // V001, then a call to a missing script
  EXPECT_EQ(e.banks().V(1), 1);
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_EQ(e.char_delay, 7);  // no reset without a load
  f.SetNameSlot(3, "missing too");
  e.StepScript();  // call $3 to a missing script
  EXPECT_EQ(e.current_script_name(), "main");
  EXPECT_EQ(e.call_stack().depth(), 0);
  e.StepScript();
  EXPECT_EQ(e.banks().V(3), 1);
}

TEST(ScriptCallsTest, ACallToAMissingScriptStillJumpsToItsLabel) {
  ScriptFixture f;
  // The label comes first: a later ":here" would be found in the call line itself.
  Engine& e = f.StartMain(":here\n!V005=V005+1\n*if (V005=1) *call nowhere:here\n!V006=V005\n");
  for (int i = 0; i < 5 && !e.finished(); ++i) e.StepScript();
  EXPECT_EQ(e.banks().V(5), 2);
  EXPECT_EQ(e.banks().V(6), 2);
  EXPECT_EQ(e.current_script_name(), "main");
}

TEST(ScriptCallsTest, ATenthCallIsRefusedAndTheScriptGoesOn) {
  ScriptFixture f;
  Engine& e = f.StartMain("!V001=V001+1\n*call main\n!V002=V002+1\n");
  int deepest = 0;
  for (int i = 0; i < 100 && !e.finished(); ++i) {
    e.StepScript();
    deepest = std::max(deepest, e.call_stack().depth());
  }
  EXPECT_TRUE(e.finished());
  EXPECT_EQ(deepest, 9);
  EXPECT_EQ(e.banks().V(1), 10);
  // The refused call and each of the nine returns go on after the call line.
  EXPECT_EQ(e.banks().V(2), 10);
}

TEST(ScriptCallsTest, TheEndOfMainFinishesTheGameButFramesGoOn) {
  ScriptFixture f;
  Engine& e = f.StartMain("last line\n");
  f.Frames(12);  // a character per frame, then the line end and the end of the script
  EXPECT_TRUE(e.finished());
  uint32_t t = f.platform().NowMs();
  f.Frames(5);
  EXPECT_TRUE(e.finished());
  EXPECT_EQ(f.platform().NowMs() - t, 100u);
  EXPECT_EQ(f.Log(), std::vector<std::string>{"last line"});
}

}  // namespace
}  // namespace quill::test
