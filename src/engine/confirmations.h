#pragma once
// The in-game yes/no band, the notice band, and the return to the title.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/picture.h"
#include "platform/platform.h"
#include "text/text_output.h"

namespace quill {

class Engine;

// Pending confirmation actions.
enum ConfirmAction : int {
  kConfirmNone = 0,
  kConfirmQuickLoad = 1,
  kConfirmTitle = 3,
};

constexpr int kConfirmBandY = 150, kConfirmBandHeight = 88;
constexpr int kNoticeBandY = 214, kNoticeBandHeight = 52;

class Confirmations {
 public:
  explicit Confirmations(Engine& engine) : engine_(engine) {}

  // Shows the band with a Shift-JIS question; the next click on the game screen answers it.
  void ShowConfirm(std::string_view question, int action);
  // Pointer moves while the band is shown.
  void HoverConfirm(int x, int y);
  // A click while the band is shown. silent: a script's special click mode answers it, and the
  // screen is left as it is.
  void AnswerConfirm(MouseButton button, bool silent);
  // A notice that fades in, stays `ms` milliseconds and fades out; returns when done.
  void ShowNotice(std::string_view text, int ms);
  // Back to the title script "STITLE" with an empty call stack.
  void ReturnToTitle();

  bool yes_highlighted() const { return yes_hot_; }
  // The darkened band as drawn by ShowConfirm (for tests).
  const Picture& band() const { return band_; }

 private:
  TextOutputFont Font(int height) const;
  // Shows a full-width strip at row y of the display.
  void PresentStrip(const Picture& strip, int y);

  Engine& engine_;
  bool yes_hot_ = false;
  Picture saved_strip_;    // the untouched strip of the screen buffer
  Picture band_;           // the darkened strip with the question
  Picture band_question_;  // the darkened strip with the question only
  Picture shown_band_;     // the band as the display shows it (hover colours)
  Picture scratch_;        // screen-sized, for showing a strip on the display
  TextOutput text_;
};

}  // namespace quill
