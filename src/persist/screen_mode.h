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
  // Nothing happens unless full screen is active; otherwise the window comes back where it was.
  void LeaveFullScreen();

  bool full_screen_active() const { return active_; }

 private:
  void RestoreWindow();

  Platform& platform_;
  bool active_ = false;
  bool have_position_ = false;
  int saved_x_ = 0, saved_y_ = 0;
};

}  // namespace quill
