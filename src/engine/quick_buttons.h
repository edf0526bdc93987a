#pragma once
// The quick-button bar inside the message window: twelve buttons (nine on the strip, one small
// button, two keyboard-only), their states in S060–S071, the hovered button, and the auto-speed
// gauge. Buttons are numbered 1–12 as the system cells are.
#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kQuickButtonCount = 12;
// Where the strip and the small button lie, relative to the message window's top-left corner.
constexpr int kQuickStripX = 20, kQuickStripY = 156;
constexpr int kQuickStripWidth = 768, kQuickStripHeight = 16;
constexpr int kSmallButtonX = 752, kSmallButtonY = 24;
constexpr int kSmallButtonWidth = 32, kSmallButtonHeight = 12;
// The auto-speed gauge, relative to the strip: ten segments of 16 pixels.
constexpr int kAutoGaugeX = 66, kAutoGaugeY = 5;
constexpr int kAutoGaugeWidth = 160, kAutoGaugeHeight = 12;

// Button states (S060 + n − 1).
enum QuickButtonState : int {
  kQuickNormal = 0,
  kQuickHover = 1,
  kQuickActive = 2,
  kQuickHidden = 8,  // a bit: the button is not drawn
};

class QuickButtons {
 public:
  explicit QuickButtons(Engine& engine) : engine_(engine) {}

  // Start-up: loads "sys_qbtn", "sys_qbtn2" and "sys_autobar" and creates the work pictures. A
  // missing picture leaves its part of the bar undrawn.
  void StartUp();
  // where: 0 the display only, 1 the display and the window image, 2 the window image only.
  void DrawQuickBar(int where);
  // Sets the hovered button from a pointer position on the screen, with the refusal rules.
  void HoverQuickBar(int x, int y);
  // Performs button n's action; false when n is 0 or the action was refused.
  bool PressQuickButton(int n);
  // The function keys F1–F12 with their own refusal rules.
  void FunctionKey(int key);
  // A click on the auto-speed gauge while auto mode is on: sets the level and returns true.
  bool ClickAutoGauge(int x, int y);
  // Button release: buttons 4, 5 and 6 lose their pressed look.
  void ReleasePressed();
  // The timer's hover tracking: a pointer that has left the screen clears the hover highlight.
  void TrackHover();

  // The button whose rectangle holds the screen position (x, y), 0 for none; the small button
  // wins over the strip.
  int HitTest(int x, int y) const;
  // Whether the hover test refuses button n in the current state.
  bool HoverRefused(int n) const;

  int hovered() const { return hovered_; }
  void set_hovered(int n) { hovered_ = n; }
  int State(int n) const;
  void SetState(int n, int state);

  // The bar as last drawn (strip and small button), for tests and the window image.
  const Picture& strip() const { return strip_work_; }
  const Picture& small_button() const { return small_work_; }

 private:
  void ShowPressed(int n);
  void ShowModes();
  void ComposeStrip();
  void ComposeSmallButton();
  bool AutoOn() const;
  bool Drawable() const;

  Engine& engine_;
  int hovered_ = 0;
  Picture buttons_;   // sys_qbtn: bands of 16 rows: normal, hover, active, mask
  Picture small_;     // sys_qbtn2: 32 × 36: normal, highlighted, mask
  Picture auto_bar_;  // sys_autobar: colour above, mask below
  Picture strip_clean_, strip_work_;
  Picture small_clean_, small_work_;
  Picture display_scratch_;  // the bar's area of the display, for drawing on the display only
};

}  // namespace quill
