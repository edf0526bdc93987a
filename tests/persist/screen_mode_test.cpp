// The window / full-screen switch over the platform's display modes.
#include "persist/screen_mode.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"

namespace quill {
namespace {

// A display that may refuse full screen and records every request.
class DisplayPlatform : public HeadlessPlatform {
 public:
  DisplayPlatform() : HeadlessPlatform("/nonexistent", {}) {}
  bool SetDisplayMode(DisplayMode mode) override {
    requests.push_back(mode);
    if (mode == DisplayMode::FullScreen && refuse) return false;
    return HeadlessPlatform::SetDisplayMode(mode);
  }
  bool refuse = false;
  std::vector<DisplayMode> requests;
};

using Modes = std::vector<DisplayMode>;

TEST(ScreenModeSwitch, EnterByTheScreenSetting) {
  struct Case {
    const char* name;
    int smode;
    bool refuse;
    DisplayMode mode;
    bool active;
    Modes requests;
  };
  const Case cases[] = {
      {"window", 0, false, DisplayMode::Window, false, {}},
      {"full screen", 1, false, DisplayMode::FullScreen, true, {DisplayMode::FullScreen}},
      // Refused: back to the window, silently.
      {"refused",
       1,
       true,
       DisplayMode::Window,
       false,
       {DisplayMode::FullScreen, DisplayMode::Window}},
      {"borderless",
       2,
       false,
       DisplayMode::BorderlessTopLeft,
       false,
       {DisplayMode::BorderlessTopLeft}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DisplayPlatform platform;
    platform.refuse = c.refuse;
    ScreenModeSwitch sw(platform);
    sw.EnterFullScreen(c.smode);
    EXPECT_EQ(platform.GetDisplayMode(), c.mode);
    EXPECT_EQ(sw.full_screen_active(), c.active);
    EXPECT_EQ(platform.requests, c.requests);
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
