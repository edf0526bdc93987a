// Command keywords and inline tags: prefix matching in table order, argument positions.
#include "engine/command_table.h"

#include <gtest/gtest.h>

#include <string>

namespace quill {
namespace {

TEST(CommandTableTest, KeywordsMatchByPrefixInTableOrder) {
  struct Case {
    const char* line;
    int command;
  } cases[] = {
      {"*exitgame", kCmdExitgame},
      {"*exit", kCmdExit},
      {"*EXITGAME", kCmdExitgame},
      {"@exit now", kCmdExit},
      {"*mapping 3", kCmdMap},
      {"*map", kCmdMap},
      {"*endless", kCmdEnd},
      {"*recording", kCmdRec},
      {"*fixed", kCmdFix},
      {"*obj_move 1", kCmdObj},
      {"*se a", kCmdSe},
      {"*seloop a", kCmdSeloop},
      {"*seoff 1", kCmdSeoff},
      {"*select", kCmdSelect},
      {"*spr 1", kCmdSpr},
      {"*sprmv 1", kCmdSprmv},
      {"*bg a", kCmdBg},
      {"*bg_anim a", kCmdBgAnim},
      {"*animq a", kCmdAnim},
      {"*gra a", kCmdGra},
      {"*Grb a", kCmdGrb},
      {"*clrbb", kCmdClrb},
      {"*wait_v_end", kCmdWaitVEnd},
      // Keywords with a trailing space need it.
      {"*chain", -1},
      {"*gra", -1},
      {"*sel", -1},
      {"*frobnicate", -1},
      {"*", -1},
      {"", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchCommand(c.line), c.command) << c.line;
  }
}

TEST(CommandTableTest, NoKeywordIsHiddenByAnEarlierOne) {
  const auto& table = CommandTable();
  for (int k = 0; k < kCommandCount; ++k) {
    std::string line = "*" + std::string(table[k].keyword) + "x";
    EXPECT_EQ(MatchCommand(line), k) << line;
  }
}

TEST(CommandTableTest, ArgumentPositions) {
  struct Case {
    const char* line;
    const char* argument;
  } cases[] = {
      {"*gra bg01,5", "bg01,5"},
      {"*mapping 3", "ing 3"},  // "map" takes its argument from byte 5 whatever the word
      {"*switch abc", "abc"},
      {"*switch", ""},
      {"*anim movie", "movie"},
      {"*animq movie", "movie"},
      {"*clrb 1", "1"},
      {"*clickmap xy", "xy"},
      {"*string 3 name", "3 name"},
      {"*if (V001=1) lbl", "(V001=1) lbl"},
      {"*end", ""},
      {"*mode ", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandArgument(MatchCommand(c.line), c.line), c.argument) << c.line;
  }
}

TEST(CommandTableTest, InlineTags) {
  struct Case {
    const char* text;
    int tag;
  } cases[] = {
      {"gra bg]", kTagGra},
      {"1]", kTagNormal},
      {"10]", kTagNormal},
      {"2]", kTagWide},
      {"col 3]", kTagCol},
      {"WAIT 4]", kTagWait},
      {"cv v001]", kTagCv},
      {"clrb 1]", kTagClrb},
      {"delay 2]", kTagDelay},
      {"?V001]", kTagExpression},
      {"$3]", kTagNameSlot},
      {"cvx]", -1},
      {"zzz]", -1},
      {"", -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchInlineTag(c.text), c.tag) << c.text;
  }
}

}  // namespace
}  // namespace quill
