#pragma once
// The script's command keywords and inline text tags. Both are matched by prefix, ignoring case,
// in table order: the first keyword the text begins with wins.
#include <array>
#include <cstddef>
#include <string_view>

namespace quill {

enum Command : int {
  kCmdGra,
  kCmdMusic,
  kCmdCv,
  kCmdGo,
  kCmdClrb,
  kCmdSelect,
  kCmdClickmap,
  kCmdSwitch,
  kCmdChain,
  kCmdWaitVEnd,
  kCmdSpr,
  kCmdCalc,
  kCmdIf,
  kCmdPtset,
  kCmdCall,
  kCmdEnd,
  kCmdMode,
  kCmdLoad,
  kCmdGameinit,
  kCmdGrb,
  kCmdWinClose,
  kCmdSpecial,
  kCmdGameclr,
  kCmdPartsload,
  kCmdMovie,
  kCmdMark,
  kCmdBg,
  kCmdFix,
  kCmdSleep,
  kCmdSeltree,
  kCmdString,
  kCmdDirect,
  kCmdSave,
  kCmdBreak,
  kCmdWinOpen,
  kCmdTitle,
  kCmdBackto,
  kCmdMap,
  kCmdBgAnim,
  kCmdRoll,
  kCmdAnim,
  kCmdShake,
  kCmdCjmp,
  kCmdSetname,
  kCmdOvr,
  kCmdViewer,
  kCmdSe,
  kCmdSeloop,
  kCmdSeoff,
  kCmdExitgame,
  kCmdRec,
  kCmdTwSet,
  kCmdExit,
  kCmdObj,
  kCmdSroll,
  kCmdScroll,
  kCmdKaisou,
  kCmdChgprm,
  kCmdCgfull,
  kCmdEffect,
  kCmdVend,
  kCmdManpu,
  kCmdSprmv,
  kCmdEfxanim,
  kCmdWipeset,
  kCmdLpanim,
  kCommandCount
};

struct CommandSpec {
  std::string_view keyword;  // keywords that take an argument include their trailing space
  int arg;                   // byte of the line where the argument starts; -1: no argument
};

const std::array<CommandSpec, kCommandCount>& CommandTable();

// The command of a "*" or "@" line (the keyword follows the first byte); -1 when no keyword
// matches.
int MatchCommand(std::string_view line);
// Where the command's argument starts in this line; a position past the line's end gives an
// empty argument.
size_t CommandArgPosition(int command, std::string_view line);
// The argument text of the command in this line (up to the line's NUL), empty when there is none.
std::string_view CommandArgument(int command, std::string_view line);

enum InlineTag : int {
  kTagGra,
  kTagNormal,
  kTagWide,
  kTagCol,
  kTagWait,
  kTagCv,
  kTagClrb,
  kTagDelay,
  kTagExpression,
  kTagNameSlot,
  kInlineTagCount
};

const std::array<std::string_view, kInlineTagCount>& InlineTagTable();
// The tag the text after "[" begins with; -1 when none.
int MatchInlineTag(std::string_view text);

}  // namespace quill
