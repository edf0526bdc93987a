#pragma once
// The toolbar over the game picture: a panel of flat buttons in the window's top 24 rows, drawn
// with ImGui and fed the window's pointer events before the game gets them. In a window it is
// always there; in full screen (and the borderless window) it lies over the picture and shows only
// while the pointer is in the top-left corner (x < 400, y < 30).
#include <string>
#include <vector>

#include "common/picture.h"
#include "platform/platform.h"

struct ImDrawList;
union SDL_Event;

namespace quill {

class ToolbarView {
 public:
  static constexpr int kButtonHeight = 22;
  static constexpr int kButtonPadding = 20;  // beside the caption, both sides together
  static constexpr int kMinButtonWidth = 52;
  static constexpr int kRevealWidth = 400, kRevealHeight = 30;

  // The buttons as the engine has them now (visible ones, left to right).
  void SetButtons(const std::vector<MenuEntry>& buttons, bool panel_enabled);
  // overlay: full screen or borderless (shown on demand over the picture), else the window's band.
  void SetOverlay(bool overlay);
  void SetWidth(int window_width) { width_ = window_width; }
  // Keeps the toolbar shown while its system menu is open.
  void SetMenuOpen(bool open) { menu_open_ = open; }

  struct Result {
    bool consumed = false;  // the event was the toolbar's: the game must not see it
    bool redraw = false;    // the toolbar looks different now
    int clicked = -1;       // the id of a button clicked (pressed and released on it)
  };
  // Feeds one pointer event (window pixels). may_take: the game holds no button pressed on the
  // picture, so the toolbar may take presses and motion in its band.
  Result HandleEvent(const SDL_Event& event, bool may_take);
  // The pointer left the window.
  Result PointerLeft();

  bool shown() const { return !overlay_ || revealed_ || menu_open_ || pressed_ >= 0; }
  // The button under window pixel (x, y), -1 for none.
  int HitTest(int x, int y) const;
  Rect ButtonRect(int index) const;
  int hovered() const { return hovered_; }
  int pressed() const { return pressed_; }
  size_t size() const { return buttons_.size(); }

  // Draws the panel over the band (0, 0, width, kToolbarHeight).
  void Draw(ImDrawList* list) const;

 private:
  struct Button {
    int id;
    std::string caption;  // UTF-8
    bool enabled;
    int x, width;
  };
  bool InBand(int x, int y) const { return x >= 0 && x < width_ && y >= 0 && y < kToolbarHeight; }

  std::vector<Button> buttons_;
  bool panel_enabled_ = true;
  bool overlay_ = false;
  bool revealed_ = false;
  bool menu_open_ = false;
  int width_ = kScreenWidth;
  int hovered_ = -1;
  int pressed_ = -1;
};

}  // namespace quill
