#include "engine/command_table.h"

#include "common/text_util.h"

namespace quill {

const std::array<CommandSpec, kCommandCount>& CommandTable() {
  static const std::array<CommandSpec, kCommandCount> table = {{
      {"gra ", 5},       {"music ", 7},     {"cv ", 4},      {"go ", 4},         {"clrb", 6},
      {"select", -1},    {"clickmap ", 10}, {"switch", 8},   {"chain ", 7},      {"wait_v_end", -1},
      {"spr ", 5},       {"calc ", 6},      {"if ", 4},      {"ptset ", 7},      {"call ", 6},
      {"end", -1},       {"mode ", 6},      {"load", -1},    {"gameinit", -1},   {"grb ", 5},
      {"win_close", -1}, {"special ", 9},   {"gameclr", -1}, {"partsload ", 11}, {"movie ", 7},
      {"mark ", 6},      {"bg ", 4},        {"fix", -1},     {"sleep ", 7},      {"seltree", 9},
      {"string ", 8},    {"direct ", 8},    {"save", -1},    {"break", -1},      {"win_open", -1},
      {"title ", 7},     {"backto", -1},    {"map", 5},      {"bg_anim", 9},     {"roll ", 6},
      {"anim", 6},       {"shake", 7},      {"cjmp", 6},     {"setname", -1},    {"ovr", 5},
      {"viewer", 8},     {"se ", 4},        {"seloop ", 8},  {"seoff", 6},       {"exitgame", -1},
      {"rec", -1},       {"tw_set ", 8},    {"exit", -1},    {"obj_", 5},        {"sroll", -1},
      {"scroll ", 8},    {"kaisou", -1},    {"chgprm", -1},  {"cgfull", -1},     {"effect", 8},
      {"vend", -1},      {"manpu ", 7},     {"sprmv ", 7},   {"efxanim ", 9},    {"wipeset ", 9},
      {"lpanim ", 8},
  }};
  return table;
}

int MatchCommand(std::string_view line) {
  line = UntilNul(line);
  if (line.empty()) return -1;
  std::string_view word = line.substr(1);
  const auto& table = CommandTable();
  for (int k = 0; k < kCommandCount; ++k) {
    if (StartsWithIgnoreCase(word, table[k].keyword)) return k;
  }
  return -1;
}

size_t CommandArgPosition(int command, std::string_view line) {
  line = UntilNul(line);
  if (command < 0 || command >= kCommandCount) return line.size();
  int arg = CommandTable()[command].arg;
  if (arg < 0) return line.size();
  switch (command) {
    case kCmdSwitch:
      // "switch" alone: the argument is the empty text at byte 7.
      return line.size() <= 7 ? 7 : 8;
    case kCmdAnim:
      // "animq": the second movie player.
      return (line.size() > 5 && line[5] == 'q') ? 7 : 6;
    default:
      return static_cast<size_t>(arg);
  }
}

std::string_view CommandArgument(int command, std::string_view line) {
  line = UntilNul(line);
  size_t pos = CommandArgPosition(command, line);
  return pos < line.size() ? line.substr(pos) : std::string_view();
}

const std::array<std::string_view, kInlineTagCount>& InlineTagTable() {
  static const std::array<std::string_view, kInlineTagCount> table = {
      "gra", "1", "2", "col", "wait", "cv ", "clrb", "delay", "?", "$"};
  return table;
}

int MatchInlineTag(std::string_view text) {
  const auto& table = InlineTagTable();
  for (int k = 0; k < kInlineTagCount; ++k) {
    if (StartsWithIgnoreCase(text, table[k])) return k;
  }
  return -1;
}

}  // namespace quill
