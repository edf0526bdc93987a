// The window / full-screen switch over the platform's display modes.
#include "persist/screen_mode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"

namespace quill {
namespace {

// A display that moves the window to (0, 0) for the borderless modes, may refuse full screen,
// and records every request.
class DisplayPlatform : public HeadlessPlatform {
 public:
  DisplayPlatform() : HeadlessPlatform("/nonexistent", {}) { SetWindowPosition(120, 90); }
  bool SetDisplayMode(DisplayMode mode) override {
    requests.push_back(mode);
    if (mode == DisplayMode::FullScreen && refuse) {
      SetWindowPosition(0, 0);  // half done before it failed
      return false;
    }
    if (mode != DisplayMode::Window) SetWindowPosition(0, 0);
    return HeadlessPlatform::SetDisplayMode(mode);
  }
  std::pair<int, int> Position() {
    int x = 0, y = 0;
    GetWindowPosition(x, y);
    return {x, y};
  }
  bool refuse = false;
  std::vector<DisplayMode> requests;
};

using Modes = std::vector<DisplayMode>;
using P = std::pair<int, int>;

TEST(ScreenModeSwitch, EnterByTheScreenSetting) {
  struct Case {
    const char* name;
    int smode;
    bool refuse;
    DisplayMode mode;
    bool active;
    P position;
  };
  const Case cases[] = {
      {"window", 0, false, DisplayMode::Window, false, {120, 90}},
      {"full screen", 1, false, DisplayMode::FullScreen, true, {0, 0}},
      {"refused", 1, true, DisplayMode::Window, false, {120, 90}},
      {"borderless", 2, false, DisplayMode::BorderlessTopLeft, false, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DisplayPlatform platform;
    platform.refuse = c.refuse;
    ScreenModeSwitch sw(platform);
    sw.EnterFullScreen(c.smode);
    EXPECT_EQ(platform.GetDisplayMode(), c.mode);
    EXPECT_EQ(sw.full_screen_active(), c.active);
    EXPECT_EQ(platform.Position(), c.position);
  }
}

TEST(ScreenModeSwitch, LeaveRestoresTheWindowOnlyFromFullScreen) {
  DisplayPlatform platform;
  ScreenModeSwitch sw(platform);
  sw.EnterFullScreen(1);
  sw.EnterFullScreen(1);  // already active: nothing more is asked
  EXPECT_EQ(platform.requests, Modes{DisplayMode::FullScreen});
  sw.LeaveFullScreen();
  EXPECT_EQ(platform.GetDisplayMode(), DisplayMode::Window);
  EXPECT_EQ(platform.Position(), (P{120, 90}));
  EXPECT_FALSE(sw.full_screen_active());
  sw.LeaveFullScreen();  // not active: nothing happens
  EXPECT_EQ(platform.requests, (Modes{DisplayMode::FullScreen, DisplayMode::Window}));
}

TEST(ScreenModeSwitch, TheBorderlessWindowIsNotLeft) {
  DisplayPlatform platform;
  ScreenModeSwitch sw(platform);
  sw.EnterFullScreen(2);
  sw.LeaveFullScreen();
  EXPECT_EQ(platform.GetDisplayMode(), DisplayMode::BorderlessTopLeft);
  EXPECT_EQ(platform.requests, Modes{DisplayMode::BorderlessTopLeft});
  // Not being full screen, it may be entered again, as the settings screen does.
  sw.EnterFullScreen(1);
  EXPECT_TRUE(sw.full_screen_active());
  sw.LeaveFullScreen();
  EXPECT_EQ(platform.GetDisplayMode(), DisplayMode::Window);
}

}  // namespace
}  // namespace quill
