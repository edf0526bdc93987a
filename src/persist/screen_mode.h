#pragma once
// The switch between the window and full screen that the setting SMode selects: 1 full screen
// (a desktop-sized borderless window with the picture scaled), 2 only a borderless window at the
// top-left corner, which is never marked as full screen.
#include "platform/platform.h"

namespace quill {

class ScreenModeSwitch {
 public:
  explicit ScreenModeSwitch(Platform& platform) : platform_(platform) {}

  // Nothing happens when full screen is already active or smode is 0. When the platform refuses
  // full screen the window comes back as it was, silently.
  void EnterFullScreen(int smode);
  // Nothing happens unless full screen is active; otherwise the window comes back.
  void LeaveFullScreen();

  bool full_screen_active() const { return active_; }

 private:
  // The platform keeps the window's place and size across display modes and brings them back
  // with the window: moving it from here would be taken for a shake where moves are refused.
  void RestoreWindow() { platform_.SetDisplayMode(DisplayMode::Window); }

  Platform& platform_;
  bool active_ = false;
};

}  // namespace quill
