#include "persist/screen_mode.h"

namespace quill {

void ScreenModeSwitch::EnterFullScreen(int smode) {
  if (active_ || smode == 0) return;
  if (smode != 1) {
    // The borderless window alone; LeaveFullScreen leaves it be.
    if (!platform_.SetDisplayMode(DisplayMode::BorderlessTopLeft)) RestoreWindow();
    return;
  }
  if (platform_.SetDisplayMode(DisplayMode::FullScreen)) {
    active_ = true;
    return;
  }
  RestoreWindow();
}

void ScreenModeSwitch::LeaveFullScreen() {
  if (!active_) return;
  active_ = false;
  RestoreWindow();
}

}  // namespace quill
