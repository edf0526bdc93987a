// StepScript: reads main-script lines until one ends the step (a wait, a drawn character at the
// typing speed, or a command that ends it).
#include <algorithm>
#include <string>

#include "common/text_util.h"
#include "engine/command_table.h"
#include "engine/engine.h"
#include "engine/expressions.h"
#include "engine/script_scans.h"

namespace quill {
namespace {

// Shift-JIS codes the text processing acts on.
constexpr uint8_t kSjisSymbolLead = 0x81;
constexpr uint8_t kFullWidthDollar = 0x90;                          // ＄ 8190
constexpr uint8_t kBlackTriangle = 0xA5;                            // ▼ 81A5
constexpr uint8_t kWhiteTriangle = 0xA4;                            // ▽ 81A4
constexpr uint8_t kGetaMark = 0xAC;                                 // 〓 81AC
constexpr std::string_view kF028Name = "\x82\xd6\x82\xbd\x82\xea";  // へたれ

std::string_view After(std::string_view s, size_t n) {
  return n < s.size() ? s.substr(n) : std::string_view();
}

// A tag's argument: up to its "]" or the end of the line.
std::string_view UntilClose(std::string_view s) { return s.substr(0, s.find(']')); }

// The full-width digit ０..９ (824F-8258) at s[0..1]: its value, or -1.
int FullWidthDigit(std::string_view s) {
  if (s.size() < 2 || static_cast<uint8_t>(s[0]) != 0x82) return -1;
  uint8_t b = static_cast<uint8_t>(s[1]);
  return (b >= 0x4F && b <= 0x58) ? b - 0x4F : -1;
}

bool IsSymbol(std::string_view s, size_t pos, uint8_t second) {
  return pos + 1 < s.size() && static_cast<uint8_t>(s[pos]) == kSjisSymbolLead &&
         static_cast<uint8_t>(s[pos + 1]) == second;
}

// ◆ § √ are drawn but never logged.
bool IsUnloggedSymbol(std::string_view ch) {
  if (ch.size() != 2 || static_cast<uint8_t>(ch[0]) != kSjisSymbolLead) return false;
  uint8_t b = static_cast<uint8_t>(ch[1]);
  return b == 0x9F || b == 0x98 || b == 0xE3;
}

}  // namespace

void Engine::StepScript() {
  int lines_left = options_.step_line_budget;
  for (;;) {
    if (fetch_line) {
      // The next step reads on from here, as after a wait.
      if (lines_left-- <= 0) return;
      name_line_ = false;
      line_start = main_script_.read_position;
      line_pos_ = 0;
      if (main_script_.AtEnd()) {
        ImplicitReturn();
        return;
      }
      main_script_.FetchLine(line_buffer_);
      LineResult kind = ClassifyLine();
      if (kind == LineResult::EndStep) return;
      if (kind == LineResult::Next) continue;
    }
    if (ProcessText()) return;
  }
}

Engine::LineResult Engine::ClassifyLine() {
  for (;;) {
    std::string_view line(line_buffer_.data());
    uint8_t first = line.empty() ? 0 : static_cast<uint8_t>(line[0]);
    switch (first) {
      case 0:
        page_grid_.row += 1;
        return LineResult::Next;
      case ':':
      case ';':
      case '}':
        return LineResult::Next;
      case '{':
        if (line.size() >= 2 && line[1] == ':') {
          main_script_.read_position =
              SkipNamedBlock(main_script_.script(), main_script_.read_position, line.substr(2));
        } else {
          main_script_.read_position =
              FindLineStart(main_script_.script(), main_script_.read_position, '}');
        }
        return LineResult::Next;
      case '!':
        Assign(line.substr(1), banks_, *this);
        return LineResult::Next;
      case '\\':
        WaitLine(kWaitPage, true, true);
        return LineResult::EndStep;
      case '~':
        WaitLine(kWaitPageVoice, true, true);
        return LineResult::EndStep;
      case '+':
        WaitLine(kWaitPageNoIcon, false, true);
        return LineResult::EndStep;
      case '=':
        if (skip_mode) return LineResult::Next;
        WaitLine(kWaitContinue, true, false);
        return LineResult::EndStep;
      case '>':
        if (Layout() == 0 && !window_open) NewPage();
        if (Layout() == 1) {
          name_line_ = true;
          line_pos_ = 1;
          fetch_line = false;
          return LineResult::Text;
        }
        ProcessSpeakerLine();
        return LineResult::Next;
      case '*':
      case '@': {
        int command = MatchCommand(line);
        if (command < 0) return LineResult::Next;
        int result = DispatchCommand(command, line);
        if (result == 1) return LineResult::EndStep;
        if (result == 2) {
          line_pos_ = 0;
          continue;
        }
        return LineResult::Next;
      }
      default:
        fetch_line = false;
        line_pos_ = 0;
        return LineResult::Text;
    }
  }
}

void Engine::WaitLine(int kind, bool record, bool log) {
  if (log) EndLogLine();
  wait_kind = kind;
  ComputeAutoWait();
  fetch_line = true;
  finish_now = false;
  if (!record) return;
  PageRecord(*this);
  if (kind == kWaitContinue) {
    // Provisional: the page's final record replaces this one.
    banks_.SetS(39, 1);
    page_history_.page_counter -= 1;
  }
}

void Engine::ProcessSpeakerLine() {
  std::string_view line(line_buffer_.data());
  std::string name(After(line, 1));
  if (IsSymbol(line, 1, kFullWidthDollar)) {
    int d = FullWidthDigit(After(line, 3));
    if (d >= 0) name = std::string(banks_.NameSlot(d));
  }
  text_log_.AppendText(name);
  EndLogLine();
  page_grid_.SetNameRow(name);
  subsystems_.DrawNamePlate(name);
}

void Engine::SetInsertText(std::string_view text) {
  insert_text_.fill(0);
  size_t n = std::min(text.size(), insert_text_.size() - 1);
  std::copy_n(text.data(), n, insert_text_.data());  // an empty view may have no data()
  insert_pos_ = 0;
}

bool Engine::TakeInsertChar(std::string& out) {
  if (insert_pos_ >= insert_text_.size() || insert_text_[insert_pos_] == 0) return false;
  uint8_t b = static_cast<uint8_t>(insert_text_[insert_pos_]);
  size_t n = (b >= 0x20 && b <= 0x7E) ? 1 : 2;
  if (n == 2 && insert_text_[insert_pos_ + 1] == 0) n = 1;
  out.assign(insert_text_.data() + insert_pos_, n);
  insert_pos_ += n;
  return true;
}

bool Engine::PaceAfterChar() {
  if (name_line_ || char_delay == 0 || finish_now || skip_mode ||
      (!one_by_one && AutoLevel() == 0)) {
    return false;
  }
  // A negative delay would hold the script for ever; it counts as no extra ticks.
  wait_ticks = std::max(char_delay - 1, 0);
  return true;
}

// Processes the current line from line_pos_. True: the step ends. False: the line is done and
// the next one is read in this step.
bool Engine::ProcessText() {
  std::string ch;
  for (;;) {
    if (TakeInsertChar(ch)) {
      if (!IsUnloggedSymbol(ch)) text_log_.Append(ch);
      DrawTextChar(ch);
      if (PaceAfterChar()) return true;
      continue;
    }
    std::string_view line(line_buffer_.data());
    if (line_pos_ >= line.size()) {
      EndLogLine();
      fetch_line = true;
      page_grid_.column = 0;
      page_grid_.row += 1;
      name_line_ = false;
      return !skip_mode;
    }
    uint8_t b = static_cast<uint8_t>(line[line_pos_]);
    if (b == '%') {
      size_t consumed = 0;
      int n = ParseInt(After(line, line_pos_ + 1), &consumed);
      if (n != 0) {
        line_pos_ += 1 + consumed;
      } else {
        n = 10;
        line_pos_ += 1;
      }
      // A negative count would never run out.
      if (!skip_mode) wait_ticks = std::max(n, 0);
      return true;
    }
    if (b == '[') {
      bool end_step = false;
      ProcessInlineTag(line_pos_, end_step);
      size_t close = line.find(']', line_pos_ + 1);
      if (close == std::string_view::npos) {
        fetch_line = true;
        return end_step;
      }
      line_pos_ = close + 1;
      if (end_step) return true;
      continue;
    }
    if (b == '<') {
      size_t close = line.find('>', line_pos_ + 1);
      std::string_view ruby = After(line, line_pos_ + 1);
      if (close != std::string_view::npos) ruby = ruby.substr(0, close - line_pos_ - 1);
      int x, y;
      RubyPosition(x, y);
      subsystems_.DrawRuby(ruby, x, y);
      if (close == std::string_view::npos) {
        fetch_line = true;
        return false;
      }
      line_pos_ = close + 1;
      continue;
    }
    if (IsSymbol(line, line_pos_, kBlackTriangle)) {
      EndLogLine();
      wait_kind = kWaitPage;
      ComputeAutoWait();
      fetch_line = true;
      finish_now = false;
      return true;
    }
    if (IsSymbol(line, line_pos_, kWhiteTriangle)) {
      EndLogLine();
      NewPage();
      fetch_line = true;
      return true;
    }
    if (IsSymbol(line, line_pos_, kGetaMark)) {
      wait_kind = kWaitContinue;
      ComputeAutoWait();
      if (line_pos_ == 0) {
        fetch_line = true;
      } else {
        line_pos_ += 2;
      }
      finish_now = false;
      return true;
    }
    if (IsSymbol(line, line_pos_, kFullWidthDollar)) {
      int d = FullWidthDigit(After(line, line_pos_ + 2));
      if (d >= 0) {
        if (d <= 1 && banks_.F.Test(28)) {
          SetInsertText(kF028Name);
        } else {
          SetInsertText(banks_.NameSlot(d));
        }
        line_pos_ += 4;
        continue;
      }
    }
    size_t n = (b >= 0x20 && b <= 0x7E) ? 1 : 2;
    if (n == 2 && line_pos_ + 1 >= line.size()) n = 1;  // a lead byte at the line's end
    ch.assign(line.substr(line_pos_, n));
    line_pos_ += n;
    if (!IsUnloggedSymbol(ch)) text_log_.Append(ch);
    DrawTextChar(ch);
    if (PaceAfterChar()) return true;
  }
}

// The tag after the "[" at pos; the caller then skips to its "]".
void Engine::ProcessInlineTag(size_t pos, bool& end_step) {
  std::string_view line(line_buffer_.data());
  std::string_view tag = After(line, pos + 1);
  switch (MatchInlineTag(tag)) {
    case kTagGra:
      picture_variant = 0;
      subsystems_.PictureCommand(UntilClose(After(tag, 4)));
      break;
    case kTagNormal:
      page_grid_.wide_advance = false;
      break;
    case kTagWide:
      page_grid_.wide_advance = true;
      break;
    case kTagCol:
      page_grid_.colour_number = ParseInt(After(tag, 4));
      break;
    case kTagWait:
      if (!skip_mode) wait_ticks = std::max(ParseInt(After(tag, 5)), 0);
      end_step = true;
      break;
    case kTagCv:
      sound_commands_.InlineVoice(After(tag, 3));
      break;
    case kTagClrb:
      subsystems_.ClearLayers(UntilClose(After(tag, 5)));
      // The tag names no transition: the cut.
      subsystems_.UpdateScreen(4);
      break;
    case kTagDelay:
      char_delay = ParseInt(After(tag, 6));
      break;
    case kTagExpression:
      SetInsertText(std::to_string(EvalExpression(After(tag, 1), banks_, *this)));
      break;
    case kTagNameSlot: {
      int n = ParseInt(After(tag, 1));
      if (n >= 0 && n <= 9) SetInsertText(banks_.NameSlot(n));
      break;
    }
    default:
      break;
  }
}

}  // namespace quill
