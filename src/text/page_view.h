#pragma once
// The page-back view: an earlier page from the page history rebuilt on the screen (its
// background, standing pictures, layout and text, the text in yellow) and its first voice
// played. The wheel, the arrow keys and the quick buttons step through the pages.
#include <array>
#include <cstdint>
#include <string>

#include "common/picture.h"

namespace quill {

class Engine;

class PageView {
 public:
  explicit PageView(Engine& engine) : engine_(engine) {}

  // Nothing while S028 is 0, or while no page before the one on screen has been recorded.
  void OpenPageView();
  // +1 older, -1 newer; newer than the page before the current one closes the view.
  void StepPageView(int direction);
  void ClosePageView();

  // Pages back from the page counter (2 … 50); 0 while closed.
  int offset() const { return offset_; }
  // The history record on screen; -1 while closed.
  int shown_record() const { return shown_; }
  // The voice played with the page on screen (empty when its page had none).
  const std::string& voice() const { return voice_; }

 private:
  // The record `offset` pages back, or -1 when that page was never recorded.
  int RecordAt(int offset);
  void DrawHistoryPage(int k);

  Engine& engine_;
  int offset_ = 0;
  int shown_ = -1;
  std::string voice_;
  // The game as it was when the view opened, put back on closing.
  int32_t layout_ = 0;
  std::array<int32_t, 20> positions_{};
  std::string background_name_, sprite_list_, speaker_name_;
  Picture background_;
};

}  // namespace quill
