// StepScript: line kinds, text processing, inline tags and codes, pacing and skip mode.
#include <gtest/gtest.h>

#include <random>

#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

using Lines = std::vector<std::string>;

TEST(InterpreterTest, TypedTextCostsAFramePerCharacterAndOneForTheLineEnd) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\n!V001=1\n");
  int steps = 0;
  while (e.banks().V(1) == 0 && steps < 10) {
    e.StepScript();
    ++steps;
  }
  EXPECT_EQ(steps, 5);  // a, b, c, the line end, then the assignment
  EXPECT_EQ(f.Log(), Lines{"abc"});
}

TEST(InterpreterTest, InstantTextStillCostsAFrameOutsideSkipMode) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\ndef\n\\\n");
  e.one_by_one = false;
  e.StepScript();
  EXPECT_EQ(f.Log(), Lines{"abc"});
  e.StepScript();
  EXPECT_EQ(f.Log(), (Lines{"abc", "def"}));
  EXPECT_EQ(e.wait_kind, 0);
  e.StepScript();
  EXPECT_EQ(e.wait_kind, 1);
}

TEST(InterpreterTest, SkipModeRunsOnUntilAWait) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\ndef\n=\n!V001=1\n[wait 9]x\n%4y\n~\n!V002=1\n");
  e.skip_mode = true;
  e.StepScript();  // text, "=" skipped, the wait tag still ends the step
  EXPECT_EQ(e.banks().V(1), 1);
  EXPECT_EQ(e.wait_ticks, 0);
  EXPECT_EQ(f.Log(), (Lines{"abc", "def"}));
  e.StepScript();  // x, then "%" ends the step without waiting
  EXPECT_EQ(e.wait_ticks, 0);
  e.StepScript();  // y, then "~" still sets its wait
  EXPECT_EQ(e.wait_kind, 4);
  EXPECT_EQ(f.Log(), (Lines{"abc", "def", "x", "y", ""}));
  EXPECT_EQ(e.banks().V(2), 0);
}

TEST(InterpreterTest, PercentWaits) {
  struct Case {
    const char* line;
    int ticks;
    const char* printed;
  } cases[] = {
      {"%5x", 5, "x"},
      {"%x", 10, "x"},
      {"%0x", 10, "0x"},  // 0 counts as no number: the digit is printed
      {"%12", 12, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ScriptFixture f;
    Engine& e = f.StartMain(std::string(c.line) + "\n");
    e.one_by_one = false;
    e.StepScript();
    EXPECT_EQ(e.wait_ticks, c.ticks);
    EXPECT_EQ(e.page_grid().page_chars, 0);
    f.StepToEnd();
    EXPECT_EQ(f.Log(), Lines{c.printed});
  }
}

TEST(InterpreterTest, WaitLines) {
  struct Case {
    const char* line;
    bool skip;
    int wait_kind;
    int log_lines;     // completed log lines after "ab" and the wait line
    int page_counter;  // page records made
    int s039;
  } cases[] = {
      {"\\", false, 1, 2, 1, 0}, {"~", false, 4, 2, 1, 0}, {"+", false, 5, 2, 0, 0},
      {"=", false, 2, 1, 0, 1},  {"\\", true, 1, 2, 1, 0}, {"=", true, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + (c.skip ? " skipping" : ""));
    ScriptFixture f;
    Engine& e = f.StartMain(std::string("ab\n") + c.line + "\n");
    e.one_by_one = false;
    e.skip_mode = c.skip;
    e.finish_now = true;
    e.StepScript();
    if (!c.skip) e.StepScript();
    EXPECT_EQ(e.wait_kind, c.wait_kind);
    EXPECT_EQ(e.text_log().line_count(), c.log_lines);
    EXPECT_EQ(e.page_history().page_counter, c.page_counter);
    EXPECT_EQ(e.banks().S(39), c.s039);
    if (c.wait_kind != 0) {
      EXPECT_FALSE(e.finish_now);
      EXPECT_TRUE(e.fetch_line);
    }
  }
}

TEST(InterpreterTest, WaitMarksInsideText) {
  struct Case {
    const char* script;
    int wait_kind;
    Lines log_at_wait;
    Lines log_at_end;
  } cases[] = {
      // ▼ drops the rest of its line; 〓 continues it after the click, unless it opens the line.
      {"ab▼cd\nef\n", 1, {"ab"}, {"ab", "ef"}},
      {"ab〓cd\nef\n", 2, {"ab"}, {"abcd", "ef"}},
      {"〓cd\nef\n", 2, {}, {"ef"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    ScriptFixture f;
    Engine& e = f.StartMain(c.script);
    e.one_by_one = false;
    e.finish_now = true;
    e.StepScript();
    EXPECT_EQ(e.wait_kind, c.wait_kind);
    EXPECT_FALSE(e.finish_now);
    EXPECT_EQ(f.Log(), c.log_at_wait);
    f.StepToEnd();
    EXPECT_EQ(f.Log(), c.log_at_end);
  }
}

TEST(InterpreterTest, WhiteTriangleStartsANewPageAtOnce) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc▽def\nnext\n");
  e.one_by_one = false;
  e.StepScript();
  EXPECT_EQ(e.wait_kind, 0);
  EXPECT_TRUE(e.window_open);
  EXPECT_TRUE(e.page_grid().page_empty);
  EXPECT_EQ(f.GridRow(1), "");
  e.StepScript();
  EXPECT_EQ(f.Log(), (Lines{"abc", "next"}));
  EXPECT_EQ(f.GridRow(1), "  next");
}

TEST(InterpreterTest, NameSlotsInText) {
  struct Case {
    const char* text;
    bool f028;
    const char* printed;
  } cases[] = {
      {"＄０さん", false, "太郎さん"}, {"＄０さん", true, "へたれさん"}, {"＄１", true, "へたれ"},
      {"＄２", true, "花子"},  // F028 renames only the player's two names
      {"[$0]", true, "太郎"},          {"[$3]!", false, "花子!"},        {"[$12]!", false, "!"},
      {"＄Ａ", false, "＄Ａ"},  // not a digit: printed as it is
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScriptFixture f;
    Engine& e = f.StartMain(std::string(c.text) + "\n");
    f.SetNameSlot(0, "太郎");
    f.SetNameSlot(1, "次郎");
    f.SetNameSlot(2, "花子");
    f.SetNameSlot(3, "花子");
    e.banks().F.Set(28, c.f028);
    f.StepToEnd();
    EXPECT_EQ(f.Log(), Lines{c.printed});
  }
}

TEST(InterpreterTest, SpeakerLines) {
  ScriptFixture f;
  Engine& e = f.StartMain(">＄０\nこんにちは\n>花子\n");
  f.SetNameSlot(0, "太郎");
  e.banks().F.Set(28, true);  // the speaker line always takes the slot itself
  e.one_by_one = false;
  e.StepScript();
  EXPECT_TRUE(e.window_open);
  EXPECT_EQ(f.GridRow(0), "太郎");
  EXPECT_EQ(f.GridRow(1), "  こんにちは");
  f.StepToEnd();
  EXPECT_EQ(f.Log(), (Lines{"太郎", "こんにちは", "花子"}));
  EXPECT_EQ(f.GridRow(0), "花子");
}

TEST(InterpreterTest, SpeakerLineInTheFullScreenLayoutIsText) {
  ScriptFixture f;
  Engine& e = f.StartMain(">名前\n");
  e.banks().SetS(150, 1);
  e.StepScript();  // printed at once although characters are typed one by one
  EXPECT_EQ(f.Log(), Lines{"名前"});
  EXPECT_EQ(f.GridRow(0), "名前");
}

TEST(InterpreterTest, SomeSymbolsAreDrawnButNotLogged) {
  ScriptFixture f;
  Engine& e = f.StartMain("a◆b§c√d\n");
  f.StepToEnd();
  EXPECT_EQ(f.Log(), Lines{"abcd"});
  EXPECT_EQ(f.GridRow(1), "  a◆b§c√d");
  EXPECT_EQ(e.page_grid().page_chars, 7);
}

TEST(InterpreterTest, InlineTags) {
  struct Case {
    const char* text;
    Lines log;
    std::string row1;
  } cases[] = {
      {"[?V001+1]", {"42"}, "  42"},
      {"[?V001 + 1]", {"0"}, "  0"},              // blanks make the expression invalid
      {"a[2]bc[1]de", {"abcde"}, "  ab  c  de"},  // b and c take three columns each
      {"a[zzz]b", {"ab"}, "  ab"},
      {"a[WAIT 0]b", {"ab"}, "  ab"},  // tags ignore case
      {"x<ruby>y", {"xy"}, "  xy"},
      // An open ruby or tag drops the rest of its line; the next line goes on in the same row.
      {"x<unterminated\nz", {"xz"}, "  xz"},
      {"a[col 3\nb", {"ab"}, "  ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ScriptFixture f;
    Engine& e = f.StartMain(std::string(c.text) + "\n");
    e.banks().SetV(1, 41);
    f.StepToEnd();
    EXPECT_EQ(f.Log(), c.log);
    EXPECT_EQ(f.GridRow(1), c.row1);
  }
}

TEST(InterpreterTest, TagStateAndPacing) {
  ScriptFixture f;
  Engine& e = f.StartMain("[col 5][delay 3]ab[delay 0]cdef\n");
  e.window_open = true;  // else the first character's new page resets the colour
  e.StepScript();        // a: then CharDelay − 1 ticks
  EXPECT_EQ(e.page_grid().colour_number, 5);
  EXPECT_EQ(e.char_delay, 3);
  EXPECT_EQ(e.wait_ticks, 2);
  EXPECT_EQ(f.Log(), Lines{"a"});
  e.wait_ticks = 0;
  e.StepScript();  // b, then the rest of the line at once
  e.wait_ticks = 0;
  e.StepScript();
  EXPECT_EQ(f.Log(), Lines{"abcdef"});
  EXPECT_EQ(e.wait_ticks, 0);
}

TEST(InterpreterTest, TextRunsOnWithoutPauses) {
  struct Case {
    const char* name;
    void (*set)(Engine&);
  } cases[] = {
      {"finish now", [](Engine& e) { e.finish_now = true; }},
      {"skip mode", [](Engine& e) { e.skip_mode = true; }},
      {"no typing, no auto mode", [](Engine& e) { e.one_by_one = false; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptFixture f;
    Engine& e = f.StartMain("abcd\n");
    c.set(e);
    e.StepScript();
    EXPECT_EQ(f.Log(), Lines{"abcd"});
  }
  // Auto mode types one by one even when typing is off.
  ScriptFixture f;
  Engine& e = f.StartMain("abcd\n");
  e.one_by_one = false;
  e.banks().SetS(26, 3);
  e.StepScript();
  EXPECT_EQ(f.Log(), Lines{"a"});
}

TEST(InterpreterTest, LinesThatDoNotPrint) {
  ScriptFixture f;
  Engine& e = f.StartMain(
      ":label\n; comment\n}\n!V001=1;V002=V001+1\n*unknown command\n\n\n"
      "{\n!V003=1\n}\n{:blk(x)\n!V004=1\n}:blk\n!V005=1\n\\\n");
  e.StepScript();  // all in one step, up to the wait line
  EXPECT_EQ(e.wait_kind, 1);
  EXPECT_EQ(e.banks().V(1), 1);
  EXPECT_EQ(e.banks().V(2), 2);
  EXPECT_EQ(e.banks().V(3), 0);
  EXPECT_EQ(e.banks().V(4), 0);
  EXPECT_EQ(e.banks().V(5), 1);
  EXPECT_EQ(e.page_grid().row, 2);  // two blank lines
}

TEST(InterpreterTest, ABlockWithoutItsEndEndsTheScript) {
  for (const char* script : {"{\n!V001=1\n", "{:open\n!V001=1\n}:other\n"}) {
    SCOPED_TRACE(script);
    ScriptFixture f;
    Engine& e = f.StartMain(script);
    e.StepScript();
    EXPECT_TRUE(e.finished());
    EXPECT_EQ(e.banks().V(1), 0);
  }
}

TEST(InterpreterTest, WrappingEndsTheLogLineAfterTheWrappedCharacter) {
  ScriptFixture f;
  Engine& e = f.StartMain("ABCDEFGH\n");
  e.text_layout().moji_max_x = 6;
  f.StepToEnd();
  // Columns 2-5 hold ABCD; E wraps to the next row (indented), after it was logged.
  EXPECT_EQ(f.GridRow(1), "  ABCD");
  EXPECT_EQ(f.GridRow(2), "  EFGH");
  EXPECT_EQ(f.Log(), (Lines{"ABCDE", "FGH"}));
  EXPECT_EQ(e.banks().S(38), 0);  // the line end clears the wrapped flag
}

TEST(InterpreterTest, RubyPositions) {
  struct Case {
    int layout, column, row;
    bool name_line;
    int x, y;
  } cases[] = {
      // Window layout: pitch 13 × 30, text origin (0 + 40, 440 + 40), MOJI_MAX_X 52.
      {0, 0, 0, false, 13 * 2 + 40 + 3, 30 * 1 + 480 - 7},  // above column 2 of row 1
      {0, 6, 2, false, 13 * 6 + 40 + 3, 30 * 2 + 480 - 7},
      {0, 52, 2, false, 13 * 2 + 40 + 3, 30 * 3 + 480 - 7},  // at the row's end: the next row
      {1, 0, 0, false, 13 * 2 + 40 + 3, 30 * 0 + 40 - 7},    // full screen: no row-0 rule
      {1, 10, 4, false, 13 * 10 + 40 + 3, 30 * 4 + 40 - 7},
  };
  ScriptFixture f;
  Engine& e = f.StartMain("x\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.layout << " " << c.column << " " << c.row);
    e.banks().SetS(150, c.layout);
    e.page_grid().column = c.column;
    e.page_grid().row = c.row;
    int x = -1, y = -1;
    e.RubyPosition(x, y);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
}

TEST(InterpreterTest, AScriptLoadEmptiesTheInsertText) {
  ScriptFixture f;
  f.game().Script("other", "z\n");
  Engine& e = f.StartMain("[$1]\n");
  f.SetNameSlot(1, "long name");
  e.StepScript();  // "l", the rest waits in the insert text
  ASSERT_EQ(e.insert_text(), "ong name");
  e.LoadScript("other", ScriptTarget::Aux);
  EXPECT_EQ(e.insert_text(), "");
}

// A loop without a wait ends the step after the line budget and goes on in the next one, from
// where it stopped; a loop that ends within the budget runs in one step as before.
TEST(InterpreterTest, ALoopWithoutAWaitYieldsAfterTheLineBudget) {
  struct Case {
    const char* name;
    const char* script;
  } cases[] = {
      {"go to a label", ":a\n!V001=V001+1\n*go a\n"},
      {"go with an empty label after a text line ending in a colon",
       "見出し:\n!V001=V001+1\n*go \n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptFixture f;
    EngineOptions options;
    options.step_line_budget = 300;
    Engine& e = f.StartMain(c.script, options);
    e.one_by_one = false;
    // The text line, if any, takes a step of its own.
    for (int i = 0; i < 3 && e.banks().V(1) == 0; ++i) e.StepScript();
    int first = e.banks().V(1);
    EXPECT_GT(first, 0);
    EXPECT_LE(first, 300);
    e.StepScript();
    EXPECT_GT(e.banks().V(1), first);
    EXPECT_FALSE(e.finished());
  }
  ScriptFixture f;
  Engine& e = f.StartMain(":a\n!V001=V001+1\n*if (V001<5000) *go a\n!V002=1\n");
  e.StepScript();
  EXPECT_EQ(e.banks().V(1), 5000);
  EXPECT_EQ(e.banks().V(2), 0);  // the false condition ends the step, as before
}

// Scripts made of random pieces of the syntax: whatever they hold, the state stays in its bounds.
TEST(InterpreterTest, ScriptsOfRandomPiecesStayInBounds) {
  const std::vector<std::string> pieces = {
      "[",        "]",         "<",         ">",          "%",   "%5",     "%-3",   "＄０",
      "＄",       "▼",         "▽",         "〓",         "◆",   "[?V001", "[$1]",  "[$",
      "[wait 1]", "[wait -9]", "[delay 0]", "[delay -2]", "[2]", "[1]",    "[cv a", "a",
      "あ",       "「",        "　",        "。",         "っ",  "ab",     "漢字",  "*",
      "@",        ":",         "!",         "\\",         "="};
  const std::vector<std::string> lines = {"*call main",
                                          "*end",
                                          "{\n!V002=1\n}",
                                          "{:x\n!V002=2\n}:x",
                                          "*cjmp 1",
                                          "*cjmp",
                                          "*if (V001=1) *end",
                                          "*if (V001>2) !V001=0",
                                          "=",
                                          "\\",
                                          "~",
                                          "+",
                                          "*chain main:l",
                                          ":l",
                                          "*sleep 30",
                                          ">",
                                          ">＄１",
                                          "*mode 5",
                                          "!V001=V001+1",
                                          "*string 1 main",
                                          "*call $1",
                                          "*tw_set 0",
                                          "*mark 5",
                                          "*go l",
                                          "",
                                          std::string(24, '\n'),
                                          "*exit"};
  std::mt19937 random(12345);
  for (int n = 0; n < 30; ++n) {
    std::string script;
    for (int l = 0; l < 40; ++l) {
      if (random() % 3 == 0) {
        script += lines[random() % lines.size()];
      } else {
        int count = static_cast<int>(random() % 70);
        for (int i = 0; i < count; ++i) script += pieces[random() % pieces.size()];
      }
      script += "\n";
    }
    SCOPED_TRACE(script);
    ScriptFixture f;
    Engine& e = f.StartMain(script);
    e.text_layout().moji_max_x = 120;  // rows long enough to pass the grid's 100 columns
    e.skip_mode = n % 2 == 1;
    f.StepToEnd(3000);
    TextLog& log = e.text_log();
    EXPECT_LE(log.line_count(), 200);
    for (int i = 0; i <= log.line_count(); ++i) EXPECT_LE(log.Line(i).size(), 69u);
    EXPECT_LE(e.call_stack().depth(), 9);
    EXPECT_GE(e.wait_ticks, 0);
    EXPECT_LE(e.insert_text().size(), 63u);
  }
}

}  // namespace
}  // namespace quill::test
