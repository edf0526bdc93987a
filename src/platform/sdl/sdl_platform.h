#pragma once
// The window backend: SDL2 window, input, clock, timer and audio device.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/sdl/cursor_set.h"
#include "platform/sdl/letterbox.h"
#include "ui/popup_menu_view.h"
#include "ui/toolbar_view.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;
union SDL_Event;

namespace quill {

class ImGuiLayer;

// Opens the 800 × 624 window (24-pixel toolbar over the 800 × 600 screen). nullptr and *error
// when SDL cannot start.
std::unique_ptr<Platform> CreateSdlPlatform(const std::filesystem::path& game_folder,
                                            std::string* error);

// The window. Pointer events are delivered in screen coordinates: events in the toolbar's band
// while it shows go to the toolbar; presses and wheel turns outside the picture (bars) are
// dropped, and so is motion there, except while a button pressed on the picture is held: then
// motion and the release arrive clamped to the picture's edge.
class SdlPlatform : public Platform {
 public:
  explicit SdlPlatform(std::filesystem::path game_folder);
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  // Starts SDL's video and opens the window. False and *error when it cannot.
  bool Open(std::string* error);

  void SetEventSink(PlatformEvents* sink) override { sink_ = sink; }
  uint32_t NowMs() override;
  void SleepMs(uint32_t ms) override;
  void PumpMessages() override;
  // True after a second termination signal (SIGINT, SIGTERM); the first is a close request.
  bool ShouldStop() override { return stop_; }

  void Present(const Picture& screen) override;
  void PresentRect(const Picture& screen, Rect area) override;

  void SetTitle(std::string_view sjis) override;
  bool GetWindowPosition(int& x, int& y) override;
  void SetWindowPosition(int x, int y) override;
  void SetShakeOffset(int dx, int dy) override;
  bool SetDisplayMode(DisplayMode mode) override;
  DisplayMode GetDisplayMode() override { return mode_; }
  void GetDesktopSize(int& width, int& height) override;

  bool AskOkCancel(std::string_view caption, std::string_view text) override;
  void ShowError(std::string_view caption, std::string_view text) override;
  // Nested calls (a dialog opening another from its DrawFrame) are refused: ImGui draws one frame
  // at a time. The close box waits until the dialog has closed; a termination signal ends the
  // dialog unanswered.
  void RunModal(ModalDialog& dialog) override;

  // The toolbar is drawn over the window's top rows and takes the pointer events there; the system
  // menu opens under its first button, a right-click menu where the engine says.
  void SetToolbar(WindowToolbar* toolbar) override;
  void ToolbarChanged() override;
  int RunPopupMenu(PopupMenuKind kind, const std::vector<MenuEntry>& entries, int x,
                   int y) override;

  void SetCursorVisible(bool visible) override;
  // False when the pointer is off the picture; x and y still hold where it maps to (beyond the
  // screen's edges).
  bool GetPointer(int& x, int& y) override;
  void WarpPointer(int x, int y) override;
  void RegisterCursor(int number, const AnimatedCursor& cursor) override;
  void ShowCursorShape(int number) override;

  // An empty callback closes the device.
  bool OpenAudio(AudioCallback callback) override;
  // Follows the window's focus events, whichever loop (game, menu, dialog) takes them.
  bool WindowActive() override { return window_active_; }

  const std::filesystem::path& GameFolder() override { return game_folder_; }
  std::filesystem::path ConfigFolder() override;
  std::filesystem::path DataFolder() override;
  std::filesystem::path RuntimeFolder() override;

  // The window's layout now, in window pixels; `picture` includes a shake offset.
  WindowLayout Layout() const;
  // Draws the window as it is now and reads its pixels (width × height of the window).
  bool ReadWindowPixels(Picture& out);
  // Reads the window's pixels as they were last presented, without drawing; only where the
  // renderer keeps its picture between presents (the software renderer).
  bool ReadPresentedPixels(Picture& out);
  // How many times the window has been presented.
  int presents() const { return presents_; }
  SDL_Window* window() const { return window_; }
  const ToolbarView& toolbar_view() const { return toolbar_view_; }
  const PopupMenuView& popup_menu() const { return popup_; }

 private:
  void HandleEvent(const SDL_Event& event);
  void HandleWindowEvent(const SDL_Event& event);
  void HandlePointerEvent(const SDL_Event& event);
  // True when a tick was due and fired.
  bool FireTimerIfDue();
  uint32_t MsUntilTick();
  // Window events while a popup menu or a dialog owns the input: a close request is kept for the
  // engine, a termination signal counted, a lost renderer rebuilt, an exposed window redrawn.
  enum class ModalWindowEvent { None, Handled, Close, Quit };
  ModalWindowEvent HandleModalWindowEvent(const SDL_Event& event);
  // The loop of popup menus and dialogs: waits for an event or the next timer tick, hands events
  // to `handle` (false: the loop ends), fires the timer and redraws what changed: the picture's
  // damage, or everything when the ImGui frame (with the dialog's frame when there is a dialog)
  // looks different. Ends when `handle` or the dialog's DrawFrame says so.
  void RunModalLoop(const std::function<bool(const SDL_Event&)>& handle, ModalDialog* dialog);
  bool HandleToolbarEvent(const SDL_Event& event);
  bool CreateTexture();

  // Drawing. Present and PresentRect only update the texture and note the damage; the window is
  // drawn when the engine next pumps or sleeps, and only the damaged part of it where the
  // renderer keeps its picture between frames.
  void Damage(Rect screen_area);
  bool ChangesPending() const;
  // Builds the ImGui frame over the picture: toolbar, popup menu, and the dialog's frame; returns
  // what the dialog's DrawFrame returned (true without one).
  bool ComposeOverlay(ModalDialog* dialog);
  // Draws and presents what changed since the last present; nothing when nothing did.
  void Refresh();
  // ComposeOverlay and Refresh when anything waits to be drawn (outside menus and dialogs).
  void FlushChanges();
  void DrawWindow();
  // Draws only the damaged part of the picture and of the overlay over it; false when the
  // renderer cannot (its picture does not last between frames, or the picture is scaled).
  bool DrawDamagedPart();
  bool MovesRefused() const;
  void ClearShake();
  static void AudioPull(void* self, uint8_t* stream, int length);
  static int WatchFocus(void* self, SDL_Event* event);

  std::filesystem::path game_folder_;
  PlatformEvents* sink_ = nullptr;
  bool video_started_ = false;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  bool software_renderer_ = false;  // its picture lasts from one present to the next
  std::unique_ptr<ImGuiLayer> imgui_;

  bool full_redraw_ = true;     // the whole window, toolbar and bars included
  Rect damage_;                 // the part of the picture changed since the last present
  bool overlay_drawn_ = false;  // the last ComposeOverlay made an ImGui frame
  bool overlay_changed_ = false;
  uint64_t overlay_digest_ = 0;
  int presents_ = 0;

  uint64_t start_ticks_ = 0;
  uint32_t next_tick_ = kTimerPeriodMs;

  DisplayMode mode_ = DisplayMode::Window;
  Rect windowed_{0, 0, kScreenWidth, kScreenHeight + kToolbarHeight};  // kept while not a window

  // Shakes where the window cannot move: the picture's displacement in screen pixels. Where it
  // can, the window moves from the anchor, where it stood when the shake began.
  int shake_dx_ = 0, shake_dy_ = 0;
  int anchor_x_ = 0, anchor_y_ = 0;
  bool window_shaken_ = false;

  unsigned buttons_held_ = 0;  // buttons pressed on the picture and not yet released
  int modal_depth_ = 0;
  bool close_pending_ = false;  // a close request that came while a dialog was open
  int quit_signals_ = 0;
  bool stop_ = false;

  WindowToolbar* toolbar_ = nullptr;
  ToolbarView toolbar_view_;
  bool toolbar_dirty_ = false;  // the overlay is composed again at the next refresh
  PopupMenuView popup_;

  CursorSet cursors_;

  uint32_t audio_device_ = 0;
  AudioCallback audio_;
  bool window_active_ = true;
};

}  // namespace quill
