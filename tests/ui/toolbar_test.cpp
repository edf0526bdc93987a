// The toolbar and the popup menus of the window: their layout and input rules, and the window
// backend routing pointer events to them (SDL's dummy video driver).
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/sjis.h"
#include "engine/engine.h"
#include "platform/sdl/sdl_platform.h"
#include "ui/popup_menu_view.h"
#include "ui/toolbar_view.h"

namespace quill {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Sjis(const char* utf8) { return Utf8ToSjisLossy(utf8); }

std::vector<MenuEntry> ToolbarEntries(bool save_enabled = true) {
  return {MenuEntry{10, Sjis("終了"), true}, MenuEntry{11, Sjis("読込"), true},
          MenuEntry{12, Sjis("記録"), save_enabled}, MenuEntry{13, Sjis("設定"), true}};
}

std::vector<MenuEntry> MenuEntries() {
  return {MenuEntry{1, Sjis("自動送り"), true}, MenuEntry{2, Sjis("ロード"), false},
          MenuEntry{3, Sjis("直前の音声を再生"), true}, MenuEntry{4, Sjis("終了"), true}};
}

SDL_Event Motion(int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.x = x;
  e.motion.y = y;
  return e;
}
SDL_Event Button(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
  SDL_Event e{};
  e.type = type;
  e.button.button = button;
  e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  return e;
}
SDL_Event Key(SDL_Keycode key) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = key;
  return e;
}

// ---- the toolbar's own rules ----

TEST(ToolbarView, ButtonsLieLeftToRightInTheBandAndFitTheirCaptions) {
  ToolbarView view;
  std::vector<MenuEntry> entries = ToolbarEntries();
  entries.push_back(MenuEntry{14, Sjis("セーブ編集"), true});
  view.SetButtons(entries, true);
  ASSERT_EQ(view.size(), 5u);
  int right = 0;
  for (int i = 0; i < 5; ++i) {
    Rect r = view.ButtonRect(i);
    EXPECT_GE(r.x, right) << i;
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.y + r.h, kToolbarHeight);
    EXPECT_EQ(view.HitTest(r.x + r.w / 2, r.y + r.h / 2), i);
    right = r.x + r.w;
  }
  // Five full-width characters need a wider button than two.
  EXPECT_GE(view.ButtonRect(4).w, MenuTextWidth("セーブ編集"));
  EXPECT_GT(view.ButtonRect(4).w, view.ButtonRect(0).w);
  EXPECT_EQ(view.HitTest(right + 5, 10), -1);
  EXPECT_EQ(view.HitTest(10, kToolbarHeight + 2), -1);
}

TEST(ToolbarView, AClickIsAPressAndAReleaseOnTheSameEnabledButton) {
  ToolbarView view;
  view.SetButtons(ToolbarEntries(/*save_enabled=*/false), true);
  auto centre = [&](int i) {
    Rect r = view.ButtonRect(i);
    return std::array<int, 2>{r.x + r.w / 2, r.y + r.h / 2};
  };
  auto click = [&](std::array<int, 2> down, std::array<int, 2> up) {
    ToolbarView::Result d = view.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, down[0], down[1]), true);
    ToolbarView::Result u = view.HandleEvent(Button(SDL_MOUSEBUTTONUP, up[0], up[1]), true);
    EXPECT_TRUE(d.consumed);
    EXPECT_TRUE(u.consumed);
    return u.clicked;
  };
  EXPECT_EQ(click(centre(1), centre(1)), 11);
  EXPECT_EQ(click(centre(1), centre(3)), -1) << "released on another button";
  EXPECT_EQ(click(centre(2), centre(2)), -1) << "記録 is disabled";
  // A release off the band after a press on a button still belongs to the toolbar.
  view.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, centre(0)[0], centre(0)[1]), true);
  ToolbarView::Result off = view.HandleEvent(Button(SDL_MOUSEBUTTONUP, 300, 300), true);
  EXPECT_TRUE(off.consumed);
  EXPECT_EQ(off.clicked, -1);
  // The right button does not click.
  view.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, centre(0)[0], centre(0)[1], SDL_BUTTON_RIGHT), true);
  EXPECT_EQ(view.HandleEvent(
                    Button(SDL_MOUSEBUTTONUP, centre(0)[0], centre(0)[1], SDL_BUTTON_RIGHT), true)
                .clicked,
            -1);
  // While the game holds a button pressed on the picture the band takes nothing.
  EXPECT_FALSE(
      view.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, centre(0)[0], centre(0)[1]), false).consumed);
  // A disabled panel disables every button.
  view.SetButtons(ToolbarEntries(), false);
  EXPECT_EQ(click(centre(0), centre(0)), -1);
}

TEST(ToolbarView, OverPictureItShowsOnlyWithThePointerInTheTopLeftCorner) {
  struct Case {
    int x, y;
    bool shown;
  };
  const Case cases[] = {{10, 10, true},  {399, 29, true}, {400, 10, false},
                        {10, 30, false}, {700, 5, false}, {200, 300, false}};
  ToolbarView view;
  view.SetButtons(ToolbarEntries(), true);
  view.SetWidth(1920);
  EXPECT_TRUE(view.shown()) << "a window always has its toolbar";
  view.SetOverlay(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    view.HandleEvent(Motion(c.x, c.y), true);
    EXPECT_EQ(view.shown(), c.shown);
    // A hidden toolbar leaves the click to the game.
    EXPECT_EQ(view.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, c.x, std::min(c.y, 10)), true).consumed,
              c.shown);
    view.HandleEvent(Button(SDL_MOUSEBUTTONUP, c.x, std::min(c.y, 10)), true);
  }
  view.HandleEvent(Motion(10, 10), true);
  view.SetMenuOpen(true);
  view.HandleEvent(Motion(600, 400), true);
  EXPECT_TRUE(view.shown()) << "kept while its menu is open";
  view.SetMenuOpen(false);
  EXPECT_FALSE(view.shown());
  view.HandleEvent(Motion(10, 10), true);
  view.PointerLeft();
  EXPECT_FALSE(view.shown());
}

// ---- the popup menu's own rules ----

TEST(PopupMenuView, MenusStayInsideTheWindow) {
  struct Case {
    int x, y;
    int expect_x, expect_y;  // -1: x − width (or y − height)
  };
  PopupMenuView probe;
  probe.Open(MenuEntries(), 0, 0, 800, 624);
  const int w = probe.rect().w, h = probe.rect().h;
  ASSERT_GT(w, MenuTextWidth("直前の音声を再生"));
  ASSERT_EQ(h, 4 * PopupMenuView::kRowHeight + 2 * PopupMenuView::kBorder);
  const Case cases[] = {
      {100, 200, 100, 200},     {790, 200, 790 - w, 200},  // opens to the left of the point
      {100, 600, 100, 600 - h},                            // opens above it
      {30, 620, 30, 620 - h},   {5, 5, 5, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    PopupMenuView menu;
    menu.Open(MenuEntries(), c.x, c.y, 800, 624);
    EXPECT_EQ(menu.rect().x, c.expect_x);
    EXPECT_EQ(menu.rect().y, c.expect_y);
  }
  PopupMenuView tiny;
  tiny.Open(MenuEntries(), 50, 50, 60, 40);
  EXPECT_EQ(tiny.rect().x, 0);
  EXPECT_EQ(tiny.rect().y, 0);
}

TEST(PopupMenuView, PointerChoosesEnabledItemsAndAPressElsewhereDismisses) {
  PopupMenuView menu;
  menu.Open(MenuEntries(), 100, 100, 800, 624);
  auto at = [&](int i) {
    Rect r = menu.ItemRect(i);
    return std::array<int, 2>{r.x + 10, r.y + r.h / 2};
  };
  using O = PopupMenuView::Outcome;
  // The release of the click that opened the menu chooses nothing, even over an item.
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, at(0)[0], at(0)[1], SDL_BUTTON_RIGHT)),
            O::None);
  EXPECT_EQ(menu.HandleEvent(Motion(at(1)[0], at(1)[1])), O::None);
  EXPECT_EQ(menu.hovered(), 1);
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, at(1)[0], at(1)[1])), O::None)
      << "ロード is disabled";
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, at(2)[0], at(2)[1])), O::None);
  ASSERT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, at(2)[0], at(2)[1])), O::Chosen);
  EXPECT_EQ(menu.chosen_id(), 3);
  // Right-button releases choose as well, as on the desktop.
  ASSERT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, at(0)[0], at(0)[1], SDL_BUTTON_RIGHT)),
            O::Chosen);
  EXPECT_EQ(menu.chosen_id(), 1);
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONDOWN, 20, 20)), O::Dismissed);
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, 20, 20)), O::None);
}

TEST(PopupMenuView, PointerJitterAfterTheOpeningPressDoesNotChoose) {
  using O = PopupMenuView::Outcome;
  // A menu squeezed against the right edge opens over the pointer that opened it.
  PopupMenuView menu;
  menu.Open(MenuEntries(), 790, 100, 800, 624);
  Rect item = menu.ItemRect(0);
  int px = item.x + 20, py = item.y + 10;
  menu.SetPointerOrigin(px, py);
  menu.HandleEvent(Motion(px + 2, py - 1));
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, px + 2, py - 1, SDL_BUTTON_RIGHT)), O::None);
  menu.HandleEvent(Motion(px + 10, py));
  EXPECT_EQ(menu.HandleEvent(Button(SDL_MOUSEBUTTONUP, px + 10, py, SDL_BUTTON_RIGHT)), O::Chosen);
}

TEST(PopupMenuView, KeysMoveOverEnabledItemsChooseAndDismiss) {
  using O = PopupMenuView::Outcome;
  PopupMenuView menu;
  menu.Open(MenuEntries(), 100, 100, 800, 624);
  EXPECT_EQ(menu.HandleEvent(Key(SDLK_RETURN)), O::None) << "nothing highlighted yet";
  menu.HandleEvent(Key(SDLK_DOWN));
  menu.HandleEvent(Key(SDLK_DOWN));  // skips the disabled ロード
  EXPECT_EQ(menu.hovered(), 2);
  menu.HandleEvent(Key(SDLK_UP));
  menu.HandleEvent(Key(SDLK_UP));  // wraps to the last
  EXPECT_EQ(menu.hovered(), 3);
  ASSERT_EQ(menu.HandleEvent(Key(SDLK_RETURN)), O::Chosen);
  EXPECT_EQ(menu.chosen_id(), 4);
  EXPECT_EQ(menu.HandleEvent(Key(SDLK_ESCAPE)), O::Dismissed);
}

// ---- the window backend ----

struct Sink : PlatformEvents {
  std::vector<std::string> events;
  int timers = 0;
  void OnMouseDown(MouseButton, int x, int y) override {
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseUp(MouseButton, int x, int y) override {
    events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseMove(int, int) override {}
  void OnMouseWheel(int, int, int) override { events.push_back("wheel"); }
  void OnKeyDown(int) override {}
  void OnKeyUp(int) override {}
  void OnChar(std::string_view) override {}
  void OnTimer() override { ++timers; }
  void OnCloseRequest() override { events.push_back("close"); }
  void OnPaint() override {}
  void WriteState(nlohmann::ordered_json&) override {}
};

struct FakeToolbar : WindowToolbar {
  bool enabled = true;
  bool save_enabled = true;
  std::vector<int> clicks;
  bool ToolbarEnabled() override { return enabled; }
  std::vector<MenuEntry> ToolbarButtons() override { return ToolbarEntries(save_enabled); }
  void ToolbarButtonClicked(int id) override { clicks.push_back(id); }
};

class WindowMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    platform_ = std::make_unique<SdlPlatform>("/nonexistent/game");
    ASSERT_TRUE(platform_->Open(&error)) << error;
    platform_->SetEventSink(&sink_);
    platform_->SetToolbar(&toolbar_);
    platform_->PumpMessages();
    sink_.events.clear();
    Picture screen(kScreenWidth, kScreenHeight);
    screen.Fill(40, 80, 120);
    platform_->Present(screen);
  }
  void TearDown() override {
    if (platform_) platform_->SetToolbar(nullptr);
  }

  void Push(SDL_Event e) {
    e.button.windowID = SDL_GetWindowID(platform_->window());  // same place in every event
    SDL_PushEvent(&e);
  }
  void Click(int x, int y) {
    Push(Motion(x, y));
    Push(Button(SDL_MOUSEBUTTONDOWN, x, y));
    Push(Button(SDL_MOUSEBUTTONUP, x, y));
  }
  std::array<int, 2> ButtonCentre(int i) {
    Rect r = platform_->toolbar_view().ButtonRect(i);
    return {r.x + r.w / 2, r.y + r.h / 2};
  }
  // Pixels of a window rectangle darker than mid-grey (caption strokes on the light panel).
  int DarkPixels(const Picture& shot, Rect r) {
    int n = 0;
    for (int y = r.y; y < r.y + r.h; ++y) {
      for (int x = r.x; x < r.x + r.w; ++x) {
        const uint8_t* p = shot.Pixel(x, y);
        if (p[0] + p[1] + p[2] < 3 * 100) ++n;
      }
    }
    return n;
  }

  Sink sink_;
  FakeToolbar toolbar_;
  std::unique_ptr<SdlPlatform> platform_;
};

TEST_F(WindowMenus, ToolbarDrawsItsCaptionsOnALightPanel) {
  Picture shot;
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  const uint8_t* panel = shot.Pixel(700, 8);
  EXPECT_GT(panel[0], 200);
  EXPECT_GT(panel[1], 200);
  EXPECT_GT(panel[2], 200);
  const uint8_t* picture = shot.Pixel(400, 300);
  EXPECT_EQ(picture[0], 40);  // the picture below is untouched
  EXPECT_EQ(picture[2], 120);
  ASSERT_EQ(platform_->toolbar_view().size(), 4u);
  int enabled_ink = DarkPixels(shot, platform_->toolbar_view().ButtonRect(0));
  EXPECT_GT(enabled_ink, 20) << "終了 is drawn in dark ink";

  // A disabled button's caption turns grey; the engine's change reaches the window at once.
  toolbar_.save_enabled = false;
  platform_->ToolbarChanged();
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  EXPECT_EQ(DarkPixels(shot, platform_->toolbar_view().ButtonRect(2)), 0);
  EXPECT_GT(DarkPixels(shot, platform_->toolbar_view().ButtonRect(3)), 20);
}

TEST_F(WindowMenus, AClickInTheBandGoesToTheToolbarNotTheGame) {
  std::array<int, 2> save = ButtonCentre(2);
  Click(save[0], save[1]);
  platform_->PumpMessages();
  EXPECT_THAT(toolbar_.clicks, ElementsAre(12));
  EXPECT_THAT(sink_.events, IsEmpty());

  // Clicks on the picture still reach the game, in screen coordinates.
  Click(400, 324);
  platform_->PumpMessages();
  EXPECT_THAT(toolbar_.clicks, ElementsAre(12));
  EXPECT_THAT(sink_.events, ElementsAre("down 400,300", "up 400,300"));

  // A disabled panel takes the click and does nothing with it.
  sink_.events.clear();
  toolbar_.enabled = false;
  platform_->ToolbarChanged();
  Click(save[0], save[1]);
  platform_->PumpMessages();
  EXPECT_THAT(toolbar_.clicks, ElementsAre(12));
  EXPECT_THAT(sink_.events, IsEmpty());
}

TEST_F(WindowMenus, InFullScreenTheToolbarAppearsInTheCornerOverThePicture) {
  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::FullScreen));
  platform_->PumpMessages();
  sink_.events.clear();
  Rect picture = platform_->Layout().picture;
  // Straight to the corner with no move first: the toolbar is hidden, so the game gets it.
  Push(Button(SDL_MOUSEBUTTONDOWN, picture.x + 10, picture.y + 10));
  Push(Button(SDL_MOUSEBUTTONUP, picture.x + 10, picture.y + 10));
  platform_->PumpMessages();
  EXPECT_EQ(sink_.events.size(), 2u);
  EXPECT_THAT(toolbar_.clicks, IsEmpty());
  // After a move into the corner it shows, and takes the click on its button.
  sink_.events.clear();
  std::array<int, 2> exit = ButtonCentre(0);
  Click(exit[0], exit[1]);
  platform_->PumpMessages();
  EXPECT_TRUE(platform_->toolbar_view().shown());
  EXPECT_THAT(toolbar_.clicks, ElementsAre(10));
  EXPECT_THAT(sink_.events, IsEmpty());
  Push(Motion(picture.x + picture.w / 2, picture.y + picture.h / 2));
  platform_->PumpMessages();
  EXPECT_FALSE(platform_->toolbar_view().shown());
}

TEST_F(WindowMenus, PopupMenuIsModalAndReturnsTheChosenItem) {
  // The system menu opens under the first button: item 2 (直前の音声を再生) lies where a probe
  // menu at the same corner puts it.
  PopupMenuView probe;
  probe.Open(MenuEntries(), 4, 21, 800, 624);
  Rect item = probe.ItemRect(2);
  Push(Motion(item.x + 10, item.y + 5));
  Push(Button(SDL_MOUSEBUTTONDOWN, item.x + 10, item.y + 5));
  Push(Button(SDL_MOUSEBUTTONUP, item.x + 10, item.y + 5));
  EXPECT_EQ(platform_->RunPopupMenu(PopupMenuKind::System, MenuEntries(), 0, 0), 3);
  EXPECT_FALSE(platform_->popup_menu().open());
  EXPECT_THAT(sink_.events, IsEmpty()) << "the menu's clicks are its own";

  // A press elsewhere dismisses it and is not passed to the game.
  Push(Button(SDL_MOUSEBUTTONDOWN, 600, 500));
  Push(Button(SDL_MOUSEBUTTONUP, 600, 500));
  EXPECT_EQ(platform_->RunPopupMenu(PopupMenuKind::RightClick, MenuEntries(), 300, 200), -1);
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, IsEmpty());

  // Nothing to show: no menu.
  EXPECT_EQ(platform_->RunPopupMenu(PopupMenuKind::RightClick, {}, 300, 200), -1);
}

TEST_F(WindowMenus, TheTimerTicksWhileAMenuIsOpenAndACloseWaitsForIt) {
  sink_.timers = 0;
  std::thread closer([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.windowID = SDL_GetWindowID(platform_->window());
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&close);
  });
  EXPECT_EQ(platform_->RunPopupMenu(PopupMenuKind::RightClick, MenuEntries(), 300, 200), -1);
  closer.join();
  EXPECT_GE(sink_.timers, 1);
  EXPECT_THAT(sink_.events, IsEmpty());
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, ElementsAre("close"));
}

TEST_F(WindowMenus, TheEnginesToolbarActsOnClicksInTheBand) {
  platform_->SetToolbar(nullptr);
  Engine engine(*platform_, EngineOptions{});  // installs its menus as the toolbar
  platform_->PumpMessages();
  ASSERT_EQ(platform_->toolbar_view().size(), 4u);
  // In the borderless window the band lies over the picture, so a click the toolbar did not take
  // would reach the game's click handler, which arms the click debounce.
  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::BorderlessTopLeft));
  Click(400, 300);
  platform_->PumpMessages();
  ASSERT_GT(engine.click_debounce, 0) << "a click on the picture reaches the game";
  engine.click_debounce = 0;
  engine.banks().SetS(26, 5);
  engine.skip_mode = true;
  // 設定 ends auto and skip mode before it opens the settings.
  std::array<int, 2> settings = ButtonCentre(3);
  Click(settings[0], settings[1]);
  platform_->PumpMessages();
  EXPECT_EQ(engine.banks().S(26), 0);
  EXPECT_FALSE(engine.skip_mode);
  EXPECT_EQ(engine.click_debounce, 0) << "the game's click handler did not run";

  // 終了 opens the system menu under it; Escape closes it without a choice.
  engine.banks().SetS(26, 5);
  std::array<int, 2> exit = ButtonCentre(0);
  Click(exit[0], exit[1]);
  Push(Key(SDLK_ESCAPE));
  platform_->PumpMessages();
  EXPECT_EQ(engine.banks().S(26), 0);
  EXPECT_FALSE(engine.closed());
  EXPECT_FALSE(platform_->popup_menu().open());
}

}  // namespace
}  // namespace quill
