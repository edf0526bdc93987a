#pragma once
// The backlog: the text log shown 29 lines at a time over the darkened scene, with a scroll bar
// (arrows, track and thumb), the wheel, and voice entries shown as an icon that replays the voice
// when clicked.
#include <array>
#include <string>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kLogViewRows = 29;

class LogView {
 public:
  explicit LogView(Engine& engine) : engine_(engine) {}

  // Nothing while S028 is 0.
  void OpenLogView();
  // delta notches: up (> 0) scrolls back 4 lines a notch, down forward.
  void ScrollLogView(int delta);
  void CloseLogView();
  // button: 0 left, 1 right, 2 middle.
  void MouseDown(int button, int x, int y);
  void MouseMove(int x, int y);
  void MouseUp(int button, int x, int y);

  bool open() const { return open_; }
  // Lines back from the newest (0 … line count − 29).
  int scroll() const { return scroll_; }
  // The log line in the top display row.
  int TopLine() const;
  // The highlighted display row, -1 for none.
  int hover_row() const { return hover_row_; }
  // The voice a display row plays; empty for text rows.
  const std::string& row_voice(int row) const { return row_voices_[row]; }
  // The voice the view last replayed (empty when none since it opened).
  const std::string& replayed() const { return replayed_; }

 private:
  enum Part { kNone, kUpArrow, kDownArrow, kTrack, kText };
  Part HitTest(int x, int y) const;
  int MaxScroll() const;
  void SetScroll(int scroll);
  void Draw();
  // Lays a part of the scroll bar (image columns from image_x, rows row0…) over the screen
  // buffer at (680, y) and shows it.
  void ShowBarPart(int image_x, int row0, int rows, int y);
  void ScrollFromPointer(int v);
  void Hover(int x, int y);

  Engine& engine_;
  bool open_ = false;
  int scroll_ = 0;
  int pressed_ = 0;  // 0 none, 1 up, 2 down
  int drag_ = 0;     // 0 none, 1 up arrow, 2 down arrow, 3 thumb
  int hover_row_ = -1;
  Part hover_part_ = kNone;
  std::array<std::string, kLogViewRows> row_voices_;
  std::string replayed_;
  Picture background_, bar_, thumb_, voice_icon_, voice_highlight_, saved_screen_;
};

}  // namespace quill
