#pragma once
// The one interface between the engine and the machine it runs on. The engine never calls SDL,
// the clock or the user's folders directly; the SDL backend (a real window) and the headless
// backend (virtual clock, scripted input) implement this.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "common/picture.h"

namespace quill {

constexpr int kScreenWidth = 800;
constexpr int kScreenHeight = 600;
constexpr int kToolbarHeight = 24;
constexpr uint32_t kTimerPeriodMs = 55;

enum class MouseButton { Left, Right, Middle };

// What the platform delivers, from PumpMessages (and, for dialogs, from inside RunModal).
// Coordinates are on the 800 × 600 screen.
class PlatformEvents {
 public:
  virtual ~PlatformEvents() = default;
  virtual void OnMouseDown(MouseButton button, int x, int y) = 0;
  virtual void OnMouseUp(MouseButton button, int x, int y) = 0;
  virtual void OnMouseMove(int x, int y) = 0;
  // delta > 0: wheel turned away from the user (up); one unit per notch.
  virtual void OnMouseWheel(int delta, int x, int y) = 0;
  virtual void OnKeyDown(int key) = 0;
  virtual void OnKeyUp(int key) = 0;
  // A typed character, Shift-JIS bytes (one or two).
  virtual void OnChar(std::string_view sjis) = 0;
  // The 55 ms timer; at most one per PumpMessages however many periods passed.
  virtual void OnTimer() = 0;
  // The window's close box (or the scenario's `close`): the engine decides whether to close.
  virtual void OnCloseRequest() = 0;
  // The window needs its picture again (exposed, resized).
  virtual void OnPaint() = 0;
  // Headless `state` dumps: the engine adds its keys to the dump's object, in order.
  virtual void WriteState(nlohmann::ordered_json& state) = 0;
};

// A modal dialog of the engine's (save/load, settings, name entry …). Its logic lives with its
// subsystem; the window backend draws it, the headless backend answers it from the scenario.
class ModalDialog {
 public:
  virtual ~ModalDialog() = default;
  // The word a scenario's `dialog` event names it by ("save", "settings" …).
  virtual std::string_view Kind() const = 0;
  // Headless: applies a scenario answer (the words after the kind). Returns false when the words
  // do not fit the dialog; *error says why.
  virtual bool Answer(const std::vector<std::string>& words, std::string* error) = 0;
  // Window: draws one frame of the dialog; returns false once it has closed.
  virtual bool DrawFrame() = 0;
  // Headless: true while the dialog is still open after an answer that fitted (a button that does
  // not close it, a refused entry); the platform then waits for the next answer.
  virtual bool StaysOpen() const { return false; }
};

enum class DisplayMode {
  Window,             // the normal resizable window with its toolbar
  FullScreen,         // borderless, desktop-sized, picture scaled, toolbar hidden
  BorderlessTopLeft,  // borderless 800 × 600 window at (0, 0)
};

// The window's menus as the engine keeps them: a toolbar button or a popup menu item.
struct MenuEntry {
  int id = 0;           // handed back when the entry is chosen
  std::string caption;  // Shift-JIS
  bool enabled = true;
};

enum class PopupMenuKind {
  System,      // opens under the toolbar's first button
  RightClick,  // opens at a point of the screen
};

// The engine's side of the toolbar over the picture. The window backend draws the buttons and
// reports a click on an enabled one from PumpMessages.
class WindowToolbar {
 public:
  virtual ~WindowToolbar() = default;
  // False while the whole panel is disabled.
  virtual bool ToolbarEnabled() = 0;
  // The visible buttons, left to right.
  virtual std::vector<MenuEntry> ToolbarButtons() = 0;
  virtual void ToolbarButtonClicked(int id) = 0;
};

// A mouse cursor picture: straight RGBA, rows from the top, and the hot spot.
struct CursorFrame {
  int width = 0, height = 0;
  int hot_x = 0, hot_y = 0;
  std::vector<uint8_t> rgba;  // width × height × 4
};
// An animated cursor: its pictures and the order they show in, each for its own time.
struct AnimatedCursor {
  struct Step {
    int frame = 0;  // index into frames
    uint32_t duration_ms = 0;
  };
  std::vector<CursorFrame> frames;
  std::vector<Step> steps;  // never empty when frames is not
};
// Cursor number 0 is the system's arrow.
constexpr int kDefaultCursor = 0;

// Audio: the platform pulls interleaved signed 16-bit stereo frames at kAudioRate from the mixer.
constexpr int kAudioRate = 44100;
using AudioCallback = std::function<void(int16_t* frames, int count)>;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual void SetEventSink(PlatformEvents* sink) = 0;

  // Clock: milliseconds since the platform started.
  virtual uint32_t NowMs() = 0;
  virtual void SleepMs(uint32_t ms) = 0;
  // Delivers pending input to the sink and fires a due timer tick.
  virtual void PumpMessages() = 0;
  // True once the run must end whatever the engine does (headless `quit`, time limit).
  virtual bool ShouldStop() = 0;

  // Display: the 800 × 600 picture PB. PresentRect updates only a part of it.
  virtual void Present(const Picture& screen) = 0;
  virtual void PresentRect(const Picture& screen, Rect area) = 0;

  // Window.
  virtual void SetTitle(std::string_view sjis) = 0;
  virtual bool GetWindowPosition(int& x, int& y) = 0;
  virtual void SetWindowPosition(int x, int y) = 0;
  // Shakes: the window displaced by (dx, dy) from where it stood when the shake began; (0, 0)
  // puts it back. Where the window system does not let the window move, the picture is offset
  // inside the window instead (the uncovered edge shows black).
  virtual void SetShakeOffset(int dx, int dy) = 0;
  virtual bool SetDisplayMode(DisplayMode mode) = 0;
  virtual DisplayMode GetDisplayMode() = 0;
  virtual void GetDesktopSize(int& width, int& height) = 0;

  // Dialogs. Texts are Shift-JIS.
  virtual bool AskOkCancel(std::string_view caption, std::string_view text) = 0;
  virtual void ShowError(std::string_view caption, std::string_view text) = 0;
  virtual void RunModal(ModalDialog& dialog) = 0;

  // Pointer.
  virtual void SetCursorVisible(bool visible) = 0;
  virtual bool GetPointer(int& x, int& y) = 0;
  virtual void WarpPointer(int x, int y) = 0;
  // Keeps a cursor under a number for ShowCursorShape; a number registered again is replaced.
  virtual void RegisterCursor(int number, const AnimatedCursor& cursor) = 0;
  // Shows cursor `number` over the game screen (animated by its own steps); an unregistered
  // number, like kDefaultCursor, shows the arrow.
  virtual void ShowCursorShape(int number) = 0;

  // Audio device; false when there is none (the engine then plays no sound). The callback runs
  // on the device's own thread. A null callback closes the device; once this returns the old
  // callback is no longer running.
  virtual bool OpenAudio(AudioCallback callback) = 0;
  // True while the game window is the active window of the desktop (sounds start, music does
  // not wait).
  virtual bool WindowActive() = 0;

  // Menus. A backend without a window has none: the toolbar is ignored and a popup menu closes
  // at once without a choice.
  virtual void SetToolbar(WindowToolbar* toolbar) { (void)toolbar; }
  // The toolbar's buttons changed (captions, enabled state): draw them again.
  virtual void ToolbarChanged() {}
  // Shows a popup menu and returns once it has closed: the chosen entry's id, or -1 when it was
  // dismissed. Input meanwhile goes to the menu; the timer keeps ticking. (x, y): the menu's
  // top-left corner on the screen for a RightClick menu; the System menu ignores them.
  virtual int RunPopupMenu(PopupMenuKind kind, const std::vector<MenuEntry>& entries, int x,
                           int y) {
    (void)kind, (void)entries, (void)x, (void)y;
    return -1;
  }

  // Folders.
  virtual const std::filesystem::path& GameFolder() = 0;
  // $XDG_CONFIG_HOME/quill (settings store), $XDG_DATA_HOME/quill (saves when the game folder is
  // read-only), $XDG_RUNTIME_DIR (the single-instance lock).
  virtual std::filesystem::path ConfigFolder() = 0;
  virtual std::filesystem::path DataFolder() = 0;
  virtual std::filesystem::path RuntimeFolder() = 0;
};

}  // namespace quill
