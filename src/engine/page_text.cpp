// The script machine's side of the text: the page grid and cursor, the text log, the page start
// and the auto-mode delay. Drawing goes through the message window's entry points.
#include <algorithm>

#include "engine/engine.h"

namespace quill {

void Engine::DrawTextChar(std::string_view character) {
  if (!window_open) NewPage();
  bool full_screen = Layout() == 1;
  const TextLayout& l = text_layout_;
  PageGrid::Placement placed =
      page_grid_.DrawTextChar(character, full_screen, full_screen ? l.moji_max2_x : l.moji_max_x,
                              name_line_, banks_.S(38) != 0);
  if (placed.wrapped) {
    EndLogLine();
    banks_.SetS(38, 1);
  }
  if (placed.dropped) return;
  int x, y;
  if (full_screen) {
    x = placed.column * l.tx2_pitch_x + l.tx2_ofs_x;
    y = placed.row * l.tx2_pitch_y + l.tx2_ofs_y;
  } else {
    x = placed.column * l.tx_pitch_x + l.txw_ofs_x + l.tx_ofs_x;
    y = placed.row * l.tx_pitch_y + l.txw_ofs_y + l.tx_ofs_y;
  }
  subsystems_.PutTextGlyph(character, x, y);
}

void Engine::ResetPage() {
  page_grid_.ResetPage();
  banks_.SetS(38, 0);
}

void Engine::NewPage() {
  bool was_open = window_open;
  ResetPage();
  window_open = true;
  if (Layout() == 0) window_state = 1;
  subsystems_.PresentNewPage(was_open);
}

void Engine::AppendPageVoice(std::string_view name) {
  constexpr size_t kPageVoiceBytes = 259;
  if (page_voices.size() + name.size() + 1 <= kPageVoiceBytes) {
    page_voices.append(name);
    page_voices.push_back(' ');
  }
}

void Engine::EndLogLine() {
  text_log_.EndLogLine();
  banks_.SetS(38, 0);
}

void Engine::ComputeAutoWait() {
  int level = AutoLevel();
  // A script may store any value in the auto level's cell; the divisor never reaches zero.
  int divisor = std::max(22 - level, 1);
  auto_wait_ticks = page_grid_.page_chars / divisor + 2 * level + 2;
}

void Engine::RubyPosition(int& x, int& y) const {
  const TextLayout& l = text_layout_;
  bool full_screen = Layout() == 1;
  int pitch_x = full_screen ? l.tx2_pitch_x : l.tx_pitch_x;
  int pitch_y = full_screen ? l.tx2_pitch_y : l.tx_pitch_y;
  int offset_x = full_screen ? l.tx2_ofs_x : l.tx_ofs_x + l.txw_ofs_x;
  int offset_y = full_screen ? l.tx2_ofs_y : l.tx_ofs_y + l.txw_ofs_y;
  int max = full_screen ? l.moji_max2_x : l.moji_max_x;
  int c = page_grid_.column, r = page_grid_.row;
  if (!full_screen && c == 0 && r == 0 && !name_line_) r = 1;
  int column = c, row = r;
  if (c == 0) column = 2;
  if (c == max) {
    column = 2;
    row = r + 1;
  }
  x = pitch_x * column + offset_x + 3;
  y = pitch_y * row + offset_y - 7;
}

}  // namespace quill
