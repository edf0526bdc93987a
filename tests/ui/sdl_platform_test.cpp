// The window backend, run on SDL's dummy video and audio drivers.
#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/keys.h"
#include "platform/sdl/input_translation.h"
#include "platform/sdl/letterbox.h"
#include "platform/sdl/message_box.h"

namespace quill {
namespace {

using ::testing::ElementsAre;

// Rects compare as text, which also reads well in a failure.
std::string Str(Rect r) {
  return "{" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) +
         ", " + std::to_string(r.h) + "}";
}

// ---- letterbox arithmetic ----

struct LayoutCase {
  const char* name;
  int width, height;
  bool toolbar;
  Rect picture;
};

TEST(Letterbox, PictureKeepsItsAspectInAnyWindow) {
  const LayoutCase cases[] = {
      {"the initial window", 800, 624, true, {0, 24, 800, 600}},
      {"wide: bars left and right", 1000, 624, true, {100, 24, 800, 600}},
      {"tall: bars above and below", 800, 900, true, {0, 162, 800, 600}},
      {"half size", 400, 324, true, {0, 24, 400, 300}},
      {"full screen, no toolbar", 1920, 1080, false, {240, 0, 1440, 1080}},
      {"borderless 800 x 600", 800, 600, false, {0, 0, 800, 600}},
      {"only the toolbar fits", 300, 20, true, {0, 20, 0, 0}},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(c.name);
    WindowLayout layout = ComputeLayout(c.width, c.height, c.toolbar);
    EXPECT_EQ(Str(layout.picture), Str(c.picture));
    EXPECT_EQ(layout.toolbar.h, c.toolbar ? std::min(c.height, kToolbarHeight) : 0);
    EXPECT_EQ(layout.game_area.y + layout.game_area.h, c.height);
  }
}

struct PointCase {
  int width, height;
  int wx, wy;
  int sx, sy;
  bool inside;
};

TEST(Letterbox, WindowPointsMapToTheScreen) {
  const PointCase cases[] = {
      {800, 624, 0, 24, 0, 0, true},  // the picture's corners
      {800, 624, 799, 623, 799, 599, true},
      {800, 624, 400, 10, 400, -14, false},  // on the toolbar
      {1000, 624, 99, 300, -1, 276, false},  // in the left bar
      {1000, 624, 100, 300, 0, 276, true},
      {1000, 624, 899, 300, 799, 276, true},
      {1000, 624, 900, 300, 800, 276, false},  // in the right bar
      {800, 900, 400, 161, 400, -1, false},    // in the bar above
      {800, 900, 400, 762, 400, 600, false},   // in the bar below
      {1600, 1224, 1599, 1223, 799, 599, true},
      {1600, 1224, 3, 27, 1, 1, true},  // scaled ×2: two window pixels per screen pixel
      {400, 324, 399, 323, 799, 599, true},
  };
  for (const PointCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.wx << "," << c.wy);
    ScreenPoint p = WindowToScreen(ComputeLayout(c.width, c.height, true).picture, c.wx, c.wy);
    EXPECT_EQ(p.x, c.sx);
    EXPECT_EQ(p.y, c.sy);
    EXPECT_EQ(p.inside, c.inside);
  }
  EXPECT_FALSE(WindowToScreen(ComputeLayout(300, 20, true).picture, 5, 5).inside);
}

TEST(Letterbox, ScreenPointsGoToWindowPixelsThatMapBack) {
  for (auto [w, h] : {std::pair{800, 624}, {1000, 624}, {800, 900}, {1303, 977}, {1920, 1104}}) {
    Rect picture = ComputeLayout(w, h, true).picture;
    for (int sy = 0; sy < kScreenHeight; sy += 37) {
      for (int sx = 0; sx < kScreenWidth; sx += 41) {
        int wx = 0, wy = 0;
        ScreenToWindow(picture, sx, sy, wx, wy);
        ScreenPoint back = WindowToScreen(picture, wx, wy);
        ASSERT_TRUE(back.inside) << w << "x" << h << " " << sx << "," << sy;
        ASSERT_EQ(back.x, sx) << w << "x" << h;
        ASSERT_EQ(back.y, sy) << w << "x" << h;
      }
    }
  }
}

// ---- input translation ----

TEST(InputTranslation, SdlKeysToEngineCodes) {
  const std::pair<SDL_Keycode, int> cases[] = {
      {SDLK_a, 'A'},
      {SDLK_z, 'Z'},
      {SDLK_0, '0'},
      {SDLK_9, '9'},
      {SDLK_F1, kKeyF1},
      {SDLK_F10, kKeyF1 + 9},
      {SDLK_F12, kKeyF12},
      {SDLK_LCTRL, kKeyControl},
      {SDLK_RCTRL, kKeyControl},
      {SDLK_LSHIFT, kKeyShift},
      {SDLK_RSHIFT, kKeyShift},
      {SDLK_RETURN, kKeyEnter},
      {SDLK_KP_ENTER, kKeyEnter},
      {SDLK_ESCAPE, kKeyEscape},
      {SDLK_SPACE, kKeySpace},
      {SDLK_BACKSPACE, kKeyBackspace},
      {SDLK_TAB, kKeyTab},
      {SDLK_UP, kKeyUp},
      {SDLK_DOWN, kKeyDown},
      {SDLK_LEFT, kKeyLeft},
      {SDLK_RIGHT, kKeyRight},
      {SDLK_PAGEUP, kKeyPageUp},
      {SDLK_PAGEDOWN, kKeyPageDown},
      {SDLK_HOME, kKeyHome},
      {SDLK_END, kKeyEnd},
  };
  for (const auto& [sdl, code] : cases) {
    EXPECT_EQ(TranslateSdlKey(sdl), std::optional<int>(code)) << SDL_GetKeyName(sdl);
  }
  for (SDL_Keycode unknown : {SDLK_LALT, SDLK_CAPSLOCK, SDLK_F13, SDLK_KP_5, SDLK_UNKNOWN}) {
    EXPECT_EQ(TranslateSdlKey(unknown), std::nullopt) << SDL_GetKeyName(unknown);
  }
}

TEST(InputTranslation, TypedTextBecomesShiftJisCharacters) {
  // ASCII, hiragana, half-width katakana (one byte), a kanji, and an emoji with no Shift-JIS form.
  EXPECT_THAT(Utf8ToSjisChars("a\xE3\x81\x82\xEF\xBD\xB1\xF0\x9F\x98\x80\xE6\xBC\xA2"),
              ElementsAre("a", "\x82\xA0", "\xB1", "\x8A\xBF"));
  // A stray continuation byte, a truncated sequence at the end.
  EXPECT_THAT(Utf8ToSjisChars("\x80z\xE3\x81"), ElementsAre("z"));
  EXPECT_TRUE(Utf8ToSjisChars("").empty());
}

// ---- the window on the dummy drivers ----

struct Recorder : PlatformEvents {
  std::vector<std::string> events;
  int timers = 0;
  int paints = 0;
  int closes = 0;
  static const char* Name(MouseButton b) {
    return b == MouseButton::Left ? "L" : b == MouseButton::Right ? "R" : "M";
  }
  void Add(std::string s) { events.push_back(std::move(s)); }
  void OnMouseDown(MouseButton b, int x, int y) override {
    Add(std::string("down ") + Name(b) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseUp(MouseButton b, int x, int y) override {
    Add(std::string("up ") + Name(b) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseMove(int x, int y) override {
    Add("move " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnMouseWheel(int delta, int x, int y) override {
    Add("wheel " + std::to_string(delta) + " " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnKeyDown(int key) override { Add("keydown " + KeyName(key)); }
  void OnKeyUp(int key) override { Add("keyup " + KeyName(key)); }
  void OnChar(std::string_view sjis) override { Add("char " + std::string(sjis)); }
  void OnTimer() override { ++timers; }
  void OnCloseRequest() override { ++closes; }
  void OnPaint() override { ++paints; }
  void WriteState(nlohmann::ordered_json&) override {}
};

class SdlWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    // The test runner sets these; a hand-run binary must not open a real window either.
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::string error;
    platform_ = std::make_unique<SdlPlatform>("/nonexistent/game");
    ASSERT_TRUE(platform_->Open(&error)) << error;
    platform_->SetEventSink(&sink_);
    platform_->PumpMessages();  // the window's own start-up events
    sink_.events.clear();
    sink_.paints = 0;
  }

  Uint32 WindowId() { return SDL_GetWindowID(platform_->window()); }

  void PushButton(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.windowID = WindowId();
    e.button.button = button;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
  }
  void PushMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = WindowId();
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
  }
  void PushWheel(int notches, int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = WindowId();
    e.wheel.y = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    e.wheel.mouseX = x;
    e.wheel.mouseY = y;
    SDL_PushEvent(&e);
  }
  void PushKey(Uint32 type, SDL_Keycode key) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = WindowId();
    e.key.keysym.sym = key;
    SDL_PushEvent(&e);
  }
  void PushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = WindowId();
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    SDL_PushEvent(&e);
  }
  void PushClose() {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = WindowId();
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    SDL_PushEvent(&e);
  }
  // One window pixel as b, g, r.
  std::array<int, 3> WindowPixel(const Picture& shot, int x, int y) {
    const uint8_t* p = shot.Pixel(x, y);
    return {p[0], p[1], p[2]};
  }

  Recorder sink_;
  std::unique_ptr<SdlPlatform> platform_;
};

TEST_F(SdlWindow, PresentsThePictureBelowABlackToolbar) {
  int w = 0, h = 0;
  SDL_GetWindowSize(platform_->window(), &w, &h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 624);

  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(10, 20, 30);  // blue, green, red
  screen.FillRect(Rect{0, 0, 1, 1}, 200, 0, 0);
  platform_->Present(screen);
  Picture shot;
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  ASSERT_EQ(shot.width(), 800);
  ASSERT_EQ(shot.height(), 624);
  EXPECT_EQ(WindowPixel(shot, 400, 10), (std::array<int, 3>{0, 0, 0}));  // toolbar
  EXPECT_EQ(WindowPixel(shot, 0, 24), (std::array<int, 3>{200, 0, 0}));  // byte order kept
  EXPECT_EQ(WindowPixel(shot, 799, 623), (std::array<int, 3>{10, 20, 30}));

  // PresentRect replaces only its rectangle, clipped to the screen.
  Picture other(kScreenWidth, kScreenHeight);
  other.Fill(0, 255, 0);
  platform_->PresentRect(other, Rect{790, 590, 40, 40});
  platform_->PresentRect(other, Rect{-5, -5, 0, 0});  // empty: nothing happens
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  EXPECT_EQ(WindowPixel(shot, 799, 623), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(WindowPixel(shot, 789, 613), (std::array<int, 3>{10, 20, 30}));
  EXPECT_EQ(WindowPixel(shot, 0, 24), (std::array<int, 3>{200, 0, 0}));

  // A picture smaller than the screen replaces only what it covers.
  Picture small(100, 50);
  small.Fill(9, 9, 9);
  platform_->Present(small);
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  EXPECT_EQ(WindowPixel(shot, 99, 73), (std::array<int, 3>{9, 9, 9}));
  EXPECT_EQ(WindowPixel(shot, 100, 73), (std::array<int, 3>{10, 20, 30}));
  EXPECT_EQ(WindowPixel(shot, 99, 74), (std::array<int, 3>{10, 20, 30}));
}

TEST_F(SdlWindow, PresentsOnlyWhenSomethingChanged) {
  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(10, 20, 30);
  platform_->Present(screen);
  platform_->PumpMessages();
  int presents = platform_->presents();
  for (int i = 0; i < 5; ++i) platform_->PumpMessages();
  platform_->SleepMs(1);
  EXPECT_EQ(platform_->presents(), presents);  // a still picture is not drawn again

  // Changes made between two pumps are drawn together, once.
  platform_->PresentRect(screen, Rect{0, 0, 10, 10});
  platform_->PresentRect(screen, Rect{700, 500, 10, 10});
  platform_->PumpMessages();
  EXPECT_EQ(platform_->presents(), presents + 1);
  // And before the engine sleeps.
  platform_->PresentRect(screen, Rect{0, 0, 10, 10});
  platform_->SleepMs(1);
  EXPECT_EQ(platform_->presents(), presents + 2);
}

TEST_F(SdlWindow, APartlyPresentedPictureLooksAsIfDrawnWhole) {
  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(10, 20, 30);
  platform_->Present(screen);
  platform_->PumpMessages();
  Picture other(kScreenWidth, kScreenHeight);
  other.Fill(0, 255, 0);
  platform_->PresentRect(other, Rect{100, 100, 30, 20});
  platform_->PumpMessages();

  Picture presented, whole;
  ASSERT_TRUE(platform_->ReadPresentedPixels(presented));
  EXPECT_EQ(WindowPixel(presented, 100, 124), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(WindowPixel(presented, 129, 143), (std::array<int, 3>{0, 255, 0}));
  EXPECT_EQ(WindowPixel(presented, 130, 143), (std::array<int, 3>{10, 20, 30}));
  EXPECT_EQ(WindowPixel(presented, 99, 124), (std::array<int, 3>{10, 20, 30}));
  ASSERT_TRUE(platform_->ReadWindowPixels(whole));
  EXPECT_TRUE(presented.bytes() == whole.bytes());
}

TEST_F(SdlWindow, AResizedWindowLetterboxesAndAsksForAPaint) {
  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(50, 60, 70);
  platform_->Present(screen);
  SDL_SetWindowSize(platform_->window(), 1000, 624);
  platform_->PumpMessages();
  EXPECT_GE(sink_.paints, 1);
  EXPECT_EQ(Str(platform_->Layout().picture), Str(Rect{100, 24, 800, 600}));
  Picture shot;
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  ASSERT_EQ(shot.width(), 1000);
  EXPECT_EQ(WindowPixel(shot, 50, 300), (std::array<int, 3>{0, 0, 0}));   // left bar
  EXPECT_EQ(WindowPixel(shot, 950, 300), (std::array<int, 3>{0, 0, 0}));  // right bar
  EXPECT_EQ(WindowPixel(shot, 500, 300), (std::array<int, 3>{50, 60, 70}));

  // A click in the bar is dropped; one on the picture arrives in screen coordinates.
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 50, 300);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 50, 300);
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 100, 24);
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 899, 623);
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, ElementsAre("down R 0,0", "up R 799,599"));
}

TEST_F(SdlWindow, PointerEventsOffThePictureAreDroppedOrClamped) {
  PushMotion(400, 324);
  PushMotion(400, 5);  // over the toolbar, no button held: dropped
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 400, 10);  // pressed on the toolbar
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_MIDDLE, 400, 300);   // its release is dropped too
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 10, 30);
  PushMotion(-40, 2000);  // dragged out of the window: clamped to the edge
  PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, -40, 2000);
  PushMotion(900, 900);                          // released: dropped again
  PushButton(SDL_MOUSEBUTTONDOWN, 4, 100, 100);  // a button the engine has no name for
  PushWheel(2, 400, 324);
  PushWheel(-1, 400, 324);
  PushWheel(1, 400, 0);  // over the toolbar
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, ElementsAre("move 400,300", "down L 10,6", "move 0,599", "up L 0,599",
                                        "wheel 1 400,300", "wheel 1 400,300", "wheel -1 400,300"));
}

TEST_F(SdlWindow, PointerWarpAndQueryUseScreenCoordinates) {
  SDL_SetWindowSize(platform_->window(), 1600, 1224);  // picture scaled ×2 from (0, 24)
  // The dummy driver has no desktop pointer of its own: with the window at the desktop's origin
  // its window-relative answer is the desktop one.
  SDL_SetWindowPosition(platform_->window(), 0, 0);
  platform_->PumpMessages();
  sink_.events.clear();
  platform_->WarpPointer(400, 300);
  int x = -1, y = -1;
  EXPECT_TRUE(platform_->GetPointer(x, y));
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, 300);
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, ElementsAre("move 400,300"));

  platform_->WarpPointer(0, 0);
  EXPECT_TRUE(platform_->GetPointer(x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  SDL_WarpMouseInWindow(platform_->window(), 801, 4);  // over the toolbar
  EXPECT_FALSE(platform_->GetPointer(x, y));
  EXPECT_EQ(x, 400);
  EXPECT_EQ(y, -10);
}

TEST_F(SdlWindow, KeysTextAndCloseReachTheEngine) {
  PushKey(SDL_KEYDOWN, SDLK_RCTRL);
  PushKey(SDL_KEYUP, SDLK_RCTRL);
  PushKey(SDL_KEYDOWN, SDLK_LALT);  // no engine code: dropped
  PushKey(SDL_KEYDOWN, SDLK_F5);
  PushText("a\xE3\x81\x82\xF0\x9F\x98\x80");  // "a", "あ", an emoji Shift-JIS lacks
  PushClose();
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events,
              ElementsAre("keydown CTRL", "keyup CTRL", "keydown F5", "char a", "char \x82\xA0"));
  EXPECT_EQ(sink_.closes, 1);
}

TEST_F(SdlWindow, TimerTicksCoalesce) {
  platform_->SleepMs(200);
  platform_->PumpMessages();
  EXPECT_EQ(sink_.timers, 1);  // three periods passed, one tick
  platform_->PumpMessages();
  EXPECT_EQ(sink_.timers, 1);  // the next is due a period after that one
  platform_->SleepMs(kTimerPeriodMs + 5);
  platform_->PumpMessages();
  EXPECT_EQ(sink_.timers, 2);
}

TEST_F(SdlWindow, DisplayModesChangeTheLayout) {
  int dw = 0, dh = 0;
  platform_->GetDesktopSize(dw, dh);
  ASSERT_GT(dw, 0);
  ASSERT_GT(dh, 0);

  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::FullScreen));
  EXPECT_EQ(platform_->GetDisplayMode(), DisplayMode::FullScreen);
  WindowLayout full = platform_->Layout();
  EXPECT_EQ(full.toolbar.h, 0);
  EXPECT_EQ(Str(full.game_area), Str(Rect{0, 0, dw, dh}));

  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::BorderlessTopLeft));
  EXPECT_EQ(Str(platform_->Layout().picture), Str(Rect{0, 0, 800, 600}));
  int x = -1, y = -1;
  ASSERT_TRUE(platform_->GetWindowPosition(x, y));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);

  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::Window));
  EXPECT_EQ(Str(platform_->Layout().picture), Str(Rect{0, 24, 800, 600}));
  EXPECT_EQ(platform_->Layout().toolbar.h, kToolbarHeight);
}

TEST_F(SdlWindow, ShakesMoveTheWindowOrElseThePicture) {
  // In a window the window itself moves, from where it stood when the shake began.
  int x0 = 0, y0 = 0;
  ASSERT_TRUE(platform_->GetWindowPosition(x0, y0));
  platform_->SetShakeOffset(8, -4);
  platform_->SetShakeOffset(-6, 2);
  int x = 0, y = 0;
  SDL_GetWindowPosition(platform_->window(), &x, &y);
  EXPECT_EQ(x, x0 - 6);
  EXPECT_EQ(y, y0 + 2);
  EXPECT_EQ(Str(platform_->Layout().picture), Str(Rect{0, 24, 800, 600}));
  platform_->SetShakeOffset(0, 0);
  SDL_GetWindowPosition(platform_->window(), &x, &y);
  EXPECT_EQ(x, x0);
  EXPECT_EQ(y, y0);

  // Full screen cannot move: the picture moves by the offset, scaled with it.
  ASSERT_TRUE(platform_->SetDisplayMode(DisplayMode::FullScreen));
  Rect still = platform_->Layout().picture;
  platform_->SetShakeOffset(10, 0);
  platform_->SetShakeOffset(-20, 30);
  Rect shaken = platform_->Layout().picture;
  EXPECT_EQ(shaken.x, still.x - 20 * still.w / kScreenWidth);
  EXPECT_EQ(shaken.y, still.y + 30 * still.h / kScreenHeight);
  platform_->SetShakeOffset(0, 0);
  EXPECT_EQ(Str(platform_->Layout().picture), Str(still));
}

// Counts its frames, stays open until the platform clock passes `until_ms`.
class TimedDialog : public ModalDialog {
 public:
  TimedDialog(Platform& platform, uint32_t until_ms) : platform_(platform), until_(until_ms) {}
  std::string_view Kind() const override { return "test"; }
  bool Answer(const std::vector<std::string>&, std::string*) override { return false; }
  bool DrawFrame() override {
    ++frames;
    ImGui::Begin("test");
    ImGui::TextUnformatted("\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88");
    ImGui::End();
    return platform_.NowMs() < until_;
  }
  int frames = 0;

 private:
  Platform& platform_;
  uint32_t until_;
};

TEST_F(SdlWindow, ModalDialogKeepsTheTimerAndHoldsBackGameInput) {
  PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 400, 300);
  PushKey(SDL_KEYDOWN, SDLK_SPACE);
  PushClose();
  TimedDialog dialog(*platform_, platform_->NowMs() + 150);
  platform_->RunModal(dialog);
  EXPECT_GE(dialog.frames, 2);
  EXPECT_GE(sink_.timers, 1);
  EXPECT_TRUE(sink_.events.empty());
  EXPECT_EQ(sink_.closes, 0);  // held until the dialog has gone
  platform_->PumpMessages();
  EXPECT_EQ(sink_.closes, 1);

  // The picture is back without the dialog.
  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(1, 2, 3);
  platform_->Present(screen);
  Picture shot;
  ASSERT_TRUE(platform_->ReadWindowPixels(shot));
  EXPECT_EQ(WindowPixel(shot, 400, 324), (std::array<int, 3>{1, 2, 3}));
}

// An OK box over the picture that, frame by frame (frames come with the timer's ticks), checks
// that a still dialog is not presented again, changes the picture under itself, reads what was
// presented, asks for a whole redraw and reads again.
class RedrawProbe : public ModalDialog {
 public:
  explicit RedrawProbe(SdlPlatform& platform) : platform_(platform), box_("box", "text", false) {}
  std::string_view Kind() const override { return "test"; }
  bool Answer(const std::vector<std::string>&, std::string*) override { return false; }
  bool DrawFrame() override {
    box_.DrawFrame();
    ++frames;
    if (frames == 4) still_from = platform_.presents();
    if (frames == 8) {
      still_to = platform_.presents();
      Picture other(kScreenWidth, kScreenHeight);
      other.Fill(0, 0, 255);
      // Half under the box, which stays over it.
      platform_.PresentRect(other, Rect{300, 250, 200, 100});
      changed_at = platform_.presents();
    }
    if (frames == 9) {
      after_change = platform_.presents();
      platform_.ReadPresentedPixels(partly);
      SDL_Event e{};
      e.type = SDL_WINDOWEVENT;
      e.window.windowID = SDL_GetWindowID(platform_.window());
      e.window.event = SDL_WINDOWEVENT_EXPOSED;
      SDL_PushEvent(&e);
    }
    if (frames == 11) {
      platform_.ReadPresentedPixels(wholly);
      return false;
    }
    return frames < 50;
  }
  int frames = 0;
  int still_from = 0, still_to = 0, changed_at = 0, after_change = 0;
  Picture partly, wholly;

 private:
  SdlPlatform& platform_;
  OkCancelDialog box_;
};

TEST_F(SdlWindow, ADialogRedrawsOnlyWhatChanged) {
  Picture screen(kScreenWidth, kScreenHeight);
  screen.Fill(10, 20, 30);
  platform_->Present(screen);
  platform_->PumpMessages();
  RedrawProbe probe(*platform_);
  platform_->RunModal(probe);
  ASSERT_EQ(probe.frames, 11);
  EXPECT_GE(sink_.timers, 5);  // the frames came with the ticks
  EXPECT_EQ(probe.still_to, probe.still_from);
  EXPECT_EQ(probe.after_change, probe.changed_at + 1);
  ASSERT_EQ(probe.partly.width(), 800);
  EXPECT_EQ(WindowPixel(probe.partly, 310, 300), (std::array<int, 3>{0, 0, 255}));
  EXPECT_TRUE(probe.partly.bytes() == probe.wholly.bytes());  // the box drawn over the change
  Picture after;
  ASSERT_TRUE(platform_->ReadPresentedPixels(after));  // the box has gone
  EXPECT_EQ(WindowPixel(after, 400, 312), (std::array<int, 3>{0, 0, 255}));
  EXPECT_NE(WindowPixel(probe.partly, 400, 312), (std::array<int, 3>{0, 0, 255}));
}

// Runs a dialog for at most `limit` frames, so that a dialog that never closes fails the test
// instead of hanging it.
class FrameLimit : public ModalDialog {
 public:
  FrameLimit(ModalDialog& inner, int limit) : inner_(inner), left_(limit) {}
  std::string_view Kind() const override { return inner_.Kind(); }
  bool Answer(const std::vector<std::string>& w, std::string* e) override {
    return inner_.Answer(w, e);
  }
  bool DrawFrame() override {
    if (!inner_.DrawFrame()) return false;
    gave_up = --left_ <= 0;
    return !gave_up;
  }
  bool gave_up = false;

 private:
  ModalDialog& inner_;
  int left_;
};

TEST_F(SdlWindow, InWindowOkCancelBoxAnswersToEnterAndEscape) {
  for (auto [scancode, ok] : {std::pair{SDL_SCANCODE_RETURN, true}, {SDL_SCANCODE_ESCAPE, false}}) {
    SDL_Event e{};
    e.key.windowID = WindowId();
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
    e.type = SDL_KEYDOWN;
    SDL_PushEvent(&e);
    OkCancelDialog box("\xE7\xA2\xBA\xE8\xAA\x8D", "\xE7\xB5\x82\xE4\xBA\x86?", true);
    FrameLimit limited(box, 50);
    platform_->RunModal(limited);
    EXPECT_FALSE(limited.gave_up) << SDL_GetScancodeName(scancode);
    EXPECT_EQ(box.ok(), ok) << SDL_GetScancodeName(scancode);
    e.type = SDL_KEYUP;  // taken by the next box, or by the game after the last
    SDL_PushEvent(&e);
  }
  EXPECT_TRUE(sink_.events.empty());  // the presses went to the boxes, not the game
  platform_->PumpMessages();
  EXPECT_THAT(sink_.events, ElementsAre("keyup ESC"));
}

TEST_F(SdlWindow, TerminationSignalsCloseThenStop) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  // Under a dialog the first one ends the dialog unanswered and becomes a close request.
  SDL_PushEvent(&quit);
  TimedDialog forever(*platform_, UINT32_MAX);
  FrameLimit limited(forever, 50);
  platform_->RunModal(limited);
  EXPECT_FALSE(limited.gave_up);
  EXPECT_EQ(sink_.closes, 0);
  platform_->PumpMessages();
  EXPECT_EQ(sink_.closes, 1);
  EXPECT_FALSE(platform_->ShouldStop());
  // The engine may have refused to close; a second signal ends the run.
  SDL_PushEvent(&quit);
  platform_->PumpMessages();
  EXPECT_EQ(sink_.closes, 1);
  EXPECT_TRUE(platform_->ShouldStop());
}

TEST_F(SdlWindow, AudioDevicePullsStereoFrames) {
  std::atomic<int> calls{0};
  std::atomic<int> frames{0};
  std::atomic<bool> dirty{false};
  ASSERT_TRUE(platform_->OpenAudio([&](int16_t* out, int count) {
    // Every buffer arrives silent, whatever the last call left in it.
    for (int i = 0; i < 2 * count; ++i) {
      if (out[i] != 0) dirty = true;
      out[i] = 1234;
    }
    frames = count;
    ++calls;
  }));
  for (int i = 0; i < 200 && calls < 2; ++i) platform_->SleepMs(10);
  EXPECT_GE(calls, 2);
  EXPECT_GT(frames, 0);
  EXPECT_FALSE(dirty);
  EXPECT_FALSE(platform_->OpenAudio(nullptr));  // closes the device
  int after_close = calls;
  platform_->SleepMs(100);
  EXPECT_EQ(calls, after_close);
}

TEST_F(SdlWindow, FocusEventsMakeTheWindowInactiveAndActive) {
  EXPECT_TRUE(platform_->WindowActive());
  SDL_Event focus{};
  focus.type = SDL_WINDOWEVENT;
  focus.window.windowID = SDL_GetWindowID(platform_->window());
  focus.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
  SDL_PushEvent(&focus);
  platform_->PumpMessages();
  EXPECT_FALSE(platform_->WindowActive());
  focus.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
  SDL_PushEvent(&focus);
  platform_->PumpMessages();
  EXPECT_TRUE(platform_->WindowActive());
}

}  // namespace
}  // namespace quill
