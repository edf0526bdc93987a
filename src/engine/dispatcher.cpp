// DispatchCommand: runs the command of a "*" or "@" line. The result tells the interpreter what
// to do next: 0 go on, 1 end the step, 2 run the (rewritten) line buffer again.
#include <cstring>
#include <string>

#include "common/text_util.h"
#include "engine/choice_blocks.h"
#include "engine/command_table.h"
#include "engine/engine.h"
#include "engine/expressions.h"
#include "engine/script_scans.h"
#include "engine/one_shot_effects.h"
#include "graphics/direct_draw.h"
#include "graphics/effect_animation.h"
#include "graphics/scroll_command.h"
#include "graphics/sprite_motion.h"
#include "graphics/window_shake.h"

namespace quill {
namespace {

std::string_view After(std::string_view s, size_t n) {
  return n < s.size() ? s.substr(n) : std::string_view();
}

constexpr std::string_view kConfirmCaption = "\x8a\x6d\x94\x46";  // 確認
// "ゲームを終了しますか？"
constexpr std::string_view kQuitQuestion =
    "\x83\x51\x81\x5b\x83\x80\x82\xf0\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";

constexpr int kMaxReadMark = 80000;
constexpr size_t kIfSearchEnd = 200;  // the ")" of a condition lies before this byte
constexpr size_t kIfCopyLimit = 200;

}  // namespace

int Engine::DispatchCommand(int index, std::string_view line) {
  line = UntilNul(line);
  std::string_view arg = CommandArgument(index, line);
  SubsystemEntryPoints& sub = subsystems_;
  bool cut_effects = skip_mode && efx_cut;
  switch (index) {
    case kCmdGra:
      return GraCommand(arg, 0);
    case kCmdMusic:
      sound_commands_.MusicCommand(arg);
      return 0;
    case kCmdCv:
      sound_commands_.VoiceCommand(arg);
      return 0;
    case kCmdGo:
      Go(arg);
      return 0;
    case kCmdClrb:
      sub.ClearLayers(arg);
      return 0;
    case kCmdSelect:
      CancelAutoSkip(false);
      choices_.SelectCommand();
      fetch_line = true;
      return 1;
    case kCmdClickmap:
      CancelAutoSkip(false);
      choices_.ClickmapCommand(arg);
      return 1;
    case kCmdSwitch:
      main_script_.read_position = FindSwitchCase(
          main_script_.script(), main_script_.read_position, arg,
          [this](std::string_view condition) { return TestCondition(condition, banks_, *this); });
      return 1;
    case kCmdChain:
      return ChainCommand(line);
    case kCmdWaitVEnd:
      if (wave_device) voice_end_wait = true;
      return 1;
    case kCmdSpr:
      sub.UpdateScreen(sub.SpriteCommand(arg));
      return 0;
    case kCmdCalc:
      Assign(arg, banks_, *this);
      return 0;
    case kCmdIf:
      return IfCommand(line);
    case kCmdPtset:
      sub.PartsSet(arg);
      return 0;
    case kCmdCall:
      return CallCommand(line);
    case kCmdEnd:
      return EndCommand();
    case kCmdMode:
      return ModeCommand(ParseInt(arg));
    case kCmdLoad:
      CancelAutoSkip(false);
      sub.OpenLoadScreen();
      return 1;
    case kCmdGameinit:
      banks_.F.ClearAll();
      banks_.T.ClearAll();
      banks_.ClearV();
      composition_.ResetPictures();
      return 0;
    case kCmdGrb:
      return GraCommand(arg, 1);
    case kCmdWinClose:
      if (Layout() == 0 && window_open) {
        sub.CloseWindow();
        page_grid_.wide_advance = false;
        page_grid_.colour_number = 0;
        page_grid_.column = page_grid_.row = 0;
        window_state = 0;
        window_open = false;
        page_grid_.page_empty = true;
      }
      return 0;
    case kCmdSpecial:
      if (!cut_effects) SpecialEffect(*this, arg);
      return 1;
    case kCmdGameclr:
      sub.GameClear();
      return 0;
    case kCmdPartsload:
      sub.PartsLoad(arg);
      return 0;
    case kCmdMovie:
      sub.MovieCommand(arg);
      return 0;
    case kCmdMark:
      return MarkCommand(ParseInt(arg));
    case kCmdBg:
      sub.BackgroundCommand(arg);
      return 0;
    case kCmdFix:
      sub.FixScreen();
      banks_.SetS(23, 0);
      return 0;
    case kCmdSleep:
      return SleepCommand(ParseInt(arg));
    case kCmdSeltree:
      CancelAutoSkip(false);
      sub.SelectionTree(arg);
      return 1;
    case kCmdString: {
      // The slot is the one digit at byte 8; anything else names no slot.
      int n = line.size() > 8 ? line[8] - '0' : -1;
      if (n >= 0 && n <= 9) banks_.SetNameSlot(n, After(line, 10));
      return 0;
    }
    case kCmdDirect:
      DirectDraw(*this, arg);
      return 0;
    case kCmdSave:
      CancelAutoSkip(false);
      sub.OpenSaveScreen();
      return 1;
    case kCmdBreak:
      CancelAutoSkip(true);
      return 1;
    case kCmdWinOpen:
      if (!window_open) {
        sub.OpenWindow();
        window_open = true;
        page_grid_.page_empty = true;
      }
      return 0;
    case kCmdTitle:
      banks_.SetNameSlot(9, arg);
      return 0;
    case kCmdBackto:
      banks_.SetS(10, static_cast<int32_t>(line_start));
      return 0;
    case kCmdMap:
      window_open = false;
      CancelAutoSkip(false);
      return 1;
    case kCmdBgAnim:
      background_animation_.Command(arg);
      return 0;
    case kCmdRoll:
      CancelAutoSkip(true);
      sub.StaffRoll(arg);
      return 1;
    case kCmdAnim:
      sub.AnimCommand(arg, line.size() > 5 && line[5] == 'q');
      return 1;
    case kCmdShake:
      if (!cut_effects) ShakeCommand(*this, line);
      return 1;
    case kCmdCjmp:
      return CjmpCommand(line);
    case kCmdSetname:
      CancelAutoSkip(false);
      name_entry_.SetnameCommand();
      return 1;
    case kCmdOvr:
      sub.OverlayCommand(arg);
      window_open = false;
      return 1;
    case kCmdViewer:
      CancelAutoSkip(true);
      sub.GalleryViewer(arg);
      return 1;
    case kCmdSe:
      sound_commands_.SoundEffect(arg);
      return 0;
    case kCmdSeloop:
      sound_commands_.LoopSoundEffect(arg);
      return 0;
    case kCmdSeoff: {
      int selector = 0;
      if (line.size() > 7 && line[6] == ' ' && (line[7] == '1' || line[7] == '2')) {
        selector = line[7] - '0';
      }
      sound_commands_.StopSoundEffects(selector);
      return 0;
    }
    case kCmdExitgame:
      CloseMainWindow();
      return 1;
    case kCmdRec:
      recorder_.Rec(banks_, loaded_script_name_);
      return 0;
    case kCmdTwSet:
      ResetPage();
      window_open = ParseInt(arg) != 0;
      return 0;
    case kCmdExit:
    case kCmdVend:
      LeaveExtraMode();
      return 1;
    case kCmdObj:
      objects_.Command(arg);
      return 0;
    case kCmdSroll:
      sub.ScrollRoll();
      return 1;
    case kCmdScroll:
      ScrollCommand(*this, arg);
      return 1;
    case kCmdKaisou:
      sub.RecollectionMode();
      return 1;
    case kCmdChgprm:
      meter_.ChangeParameter();
      return 1;
    case kCmdCgfull:
      gallery_pictures_.MarkAllPicturesSeen();
      return 1;
    case kCmdEffect:
      if (!cut_effects) sub.EffectCommand(arg);
      return 1;
    case kCmdManpu:
      comic_symbol_.Command(arg);
      return 0;
    case kCmdSprmv:
      SpriteMotion(*this, arg);
      return 1;
    case kCmdEfxanim:
      EffectAnimation(*this, arg);
      return 1;
    case kCmdWipeset:
      sub.WipeSet(arg);
      return 1;
    case kCmdLpanim:
      loop_animation_.Command(arg);
      return 1;
    default:
      return 0;
  }
}

int Engine::GraCommand(std::string_view arg, int variant) {
  picture_variant = variant;
  subsystems_.PictureCommand(arg);
  if (variant != 0) return 0;
  int interrupt = transition_interrupt;
  transition_interrupt = 0;
  if (interrupt == 1) return 1;
  if (interrupt == 2) {
    Picture saved = pictures_.screen;
    script_enabled = false;
    if (platform_.AskOkCancel(kConfirmCaption, kQuitQuestion)) exit_requested = true;
    pictures_.screen = saved;
    platform_.Present(pictures_.screen);
    script_enabled = true;
    return 1;
  }
  return 0;
}

int Engine::IfCommand(std::string_view line) {
  if (!TestCondition(After(line, 4), banks_, *this)) return 1;
  size_t close = line.find(')', 4);
  // No ")" in reach, or nothing after it: there is nothing to run or jump to.
  if (close == std::string_view::npos || close >= kIfSearchEnd) return 1;
  size_t p = close + 1;
  while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
  std::string rest(After(line, p));
  if (rest.empty()) return 1;
  if (rest[0] == '*' || rest[0] == '@' || rest[0] == '!') {
    if (rest.size() >= kIfCopyLimit) return 1;
    std::memcpy(line_buffer_.data(), rest.c_str(), rest.size() + 1);
    return 2;
  }
  Go(rest);
  return 1;
}

int Engine::CjmpCommand(std::string_view line) {
  int32_t v = line.size() > 5 ? EvalExpression(After(line, 6), banks_, *this) : banks_.S(6);
  std::span<const uint8_t> script = main_script_.script();
  uint32_t position = main_script_.read_position;
  uint32_t end = FindLineStart(script, position, '}') + 2;
  uint32_t cur = position;
  for (int32_t i = 0; i <= v; ++i) {
    cur = FindLineStart(script, cur, '{') + 2;
    if (cur > end) {
      position = end;
      break;
    }
    if (i == v || cur >= kScanNotFound) {
      // Past the last "{" with no "}" either: the script runs out.
      position = cur;
      break;
    }
  }
  main_script_.read_position = position;
  fetch_line = true;
  return 0;
}

int Engine::MarkCommand(int n) {
  if (n < 0 || n > kMaxReadMark) return 0;
  banks_.SetS(25, n);
  if (read_marks_.Test(n)) {
    block_read = true;
    return 0;
  }
  read_marks_.Set(n, true);
  if (seen) {
    block_read = false;
    LeaveSkipMode();
    subsystems_.RedrawQuickButtons();
  }
  return 0;
}

int Engine::SleepCommand(int n) {
  if (skip_mode || AutoLevel() > 0) return 0;
  sleep_frames = n / 30;
  if (sleep_frames == 0) sleep_frames = -1;
  return 1;
}

int Engine::ModeCommand(int n) {
  int layout = Layout();
  bool switched = n != layout;
  if (switched) {
    ResetPage();
    if (layout == 1) {
      banks_.SetS(150, 0);
      window_state = 1;
    } else {
      banks_.SetS(150, 1);
      window_state = 2;
    }
  }
  subsystems_.LayoutChanged(switched);
  fetch_line = true;
  return 1;
}

}  // namespace quill
