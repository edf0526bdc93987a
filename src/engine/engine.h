#pragma once
// The engine: one object owning all game state, driven by the platform's events and by the frame
// loop (AppIdle) that the application calls.
#include <cstdint>
#include <string>

#include "common/picture.h"
#include "platform/platform.h"

namespace quill {

struct EngineOptions {
  bool trace = false;  // developer log and assignment trace to stderr
};

class Engine : public PlatformEvents {
 public:
  Engine(Platform& platform, EngineOptions options);
  ~Engine() override;
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  // FormCreate: the start-up. False when the game cannot start (the error has been shown).
  bool FormCreate();
  // One frame: at least 20 ms of the platform clock.
  void AppIdle();
  // True once the main window has closed.
  bool closed() const { return closed_; }
  // True once the script has ended with nobody to return to (headless runs without a scenario
  // end here).
  bool finished() const { return finished_; }

  Platform& platform() { return platform_; }
  const EngineOptions& options() const { return options_; }

  // The display PB shows this picture (the screen buffer).
  Picture& screen() { return screen_; }

  // PlatformEvents.
  void OnMouseDown(MouseButton button, int x, int y) override;
  void OnMouseUp(MouseButton button, int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnMouseWheel(int delta, int x, int y) override;
  void OnKeyDown(int key) override;
  void OnKeyUp(int key) override;
  void OnChar(std::string_view sjis) override;
  void OnTimer() override;
  void OnCloseRequest() override;
  void OnPaint() override;
  void WriteState(JsonWriter& json) override;

 private:
  void Timer1Timer();

  Platform& platform_;
  EngineOptions options_;
  Picture screen_{kScreenWidth, kScreenHeight};
  uint32_t frame_counter_ = 0;
  bool closed_ = false;
  bool finished_ = false;
};

}  // namespace quill
