#pragma once
// The platform of headless runs: a virtual clock that moves only when the engine sleeps, input
// from a scenario at its virtual times, screenshots and state dumps, and an audio device that
// consumes the mixer's output as virtual time passes.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/headless/scenario.h"
#include "platform/platform.h"

namespace quill {

class HeadlessPlatform : public Platform {
 public:
  // Runs stop at `quit`, or limit_ms after the last scenario event (after 0 with no events).
  HeadlessPlatform(std::filesystem::path game_folder, std::vector<ScenarioEvent> events,
                   uint32_t limit_ms = 600000);
  ~HeadlessPlatform() override;

  void SetEventSink(PlatformEvents* sink) override { sink_ = sink; }
  uint32_t NowMs() override { return now_; }
  void SleepMs(uint32_t ms) override { Advance(now_ + ms); }
  void PumpMessages() override;
  bool ShouldStop() override { return stop_ || now_ >= limit_; }

  void Present(const Picture& screen) override;
  void PresentRect(const Picture& screen, Rect area) override;

  void SetTitle(std::string_view sjis) override;
  bool GetWindowPosition(int& x, int& y) override;
  void SetWindowPosition(int x, int y) override;
  // There is no window to move: the picture is offset, in shots and in the state dump.
  void SetShakeOffset(int dx, int dy) override;
  bool SetDisplayMode(DisplayMode mode) override;
  DisplayMode GetDisplayMode() override { return mode_; }
  void GetDesktopSize(int& width, int& height) override;

  bool AskOkCancel(std::string_view caption, std::string_view text) override;
  void ShowError(std::string_view caption, std::string_view text) override;
  void RunModal(ModalDialog& dialog) override;

  void SetCursorVisible(bool visible) override { cursor_visible_ = visible; }
  bool GetPointer(int& x, int& y) override;
  void WarpPointer(int x, int y) override;
  void RegisterCursor(int number, const AnimatedCursor& cursor) override;
  void ShowCursorShape(int number) override { shown_cursor_ = number; }

  bool OpenAudio(AudioCallback callback) override;
  bool WindowActive() override { return window_active_; }
  // Writes everything the audio device plays, from virtual time 0, to a 44,100 Hz 16-bit stereo
  // WAV file (finished when the platform is destroyed). False when the file cannot be created.
  bool SetAudioOut(const std::filesystem::path& wav, std::string* error);

  const std::filesystem::path& GameFolder() override { return game_folder_; }
  std::filesystem::path ConfigFolder() override;
  std::filesystem::path DataFolder() override;
  std::filesystem::path RuntimeFolder() override;

  // What the run saw: problems with the scenario found while running (a shot that could not be
  // written, a dialog answer that did not fit). A run with any ends with a non-zero exit code.
  const std::vector<std::string>& errors() const { return errors_; }
  const Picture& display() const { return display_; }
  // The display as a shot shows it: moved by the shake offset, black where it uncovers.
  Picture ShotPicture() const;
  int shake_dx() const { return shake_dx_; }
  int shake_dy() const { return shake_dy_; }
  const std::string& title() const { return title_; }
  // The cursor number last shown, and the frame count of a registered cursor (0 when none).
  int shown_cursor() const { return shown_cursor_; }
  int cursor_frames(int number) const;

 private:
  void Advance(uint32_t to);
  void Handle(size_t index);
  void TakeShot(const ScenarioEvent& ev);
  void WriteState(const ScenarioEvent& ev);
  void FireTimerIfDue();
  void Error(const ScenarioEvent& ev, const std::string& what);

  std::filesystem::path game_folder_;
  std::vector<ScenarioEvent> events_;
  std::vector<bool> handled_;
  size_t next_ = 0;  // first event not yet handled in order
  uint32_t now_ = 0;
  uint32_t limit_;
  uint32_t next_tick_ = kTimerPeriodMs;
  bool stop_ = false;
  PlatformEvents* sink_ = nullptr;

  Picture display_{kScreenWidth, kScreenHeight};
  std::string title_;
  DisplayMode mode_ = DisplayMode::Window;
  int window_x_ = 0, window_y_ = 0;
  int shake_dx_ = 0, shake_dy_ = 0;
  int pointer_x_ = 0, pointer_y_ = 0;
  bool cursor_visible_ = true;
  int shown_cursor_ = kDefaultCursor;
  std::map<int, int> cursor_frames_;  // registered number → frame count

  void PullAudio(uint64_t frames);
  void FinishAudioOut();

  AudioCallback audio_;
  uint64_t audio_frames_done_ = 0;  // frames of virtual time the device has played
  std::vector<int16_t> audio_scratch_;
  std::FILE* audio_out_ = nullptr;
  uint64_t audio_out_frames_ = 0;
  bool window_active_ = true;

  std::vector<std::string> errors_;
};

}  // namespace quill
