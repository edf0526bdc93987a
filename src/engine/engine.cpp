#include "engine/engine.h"

namespace quill {

constexpr uint32_t kFrameMs = 20;

Engine::Engine(Platform& platform, EngineOptions options)
    : platform_(platform), options_(options) {
  platform_.SetEventSink(this);
}

Engine::~Engine() { platform_.SetEventSink(nullptr); }

bool Engine::FormCreate() {
  platform_.Present(screen_);
  return true;
}

void Engine::AppIdle() {
  ++frame_counter_;
  uint32_t t0 = platform_.NowMs();
  uint32_t elapsed = platform_.NowMs() - t0;
  if (elapsed < kFrameMs) platform_.SleepMs(kFrameMs - elapsed);
}

void Engine::OnTimer() { Timer1Timer(); }

void Engine::Timer1Timer() {}

void Engine::OnMouseDown(MouseButton, int, int) {}
void Engine::OnMouseUp(MouseButton, int, int) {}
void Engine::OnMouseMove(int, int) {}
void Engine::OnMouseWheel(int, int, int) {}
void Engine::OnKeyDown(int) {}
void Engine::OnKeyUp(int) {}
void Engine::OnChar(std::string_view) {}

void Engine::OnCloseRequest() { closed_ = true; }

void Engine::OnPaint() { platform_.Present(screen_); }

void Engine::WriteState(JsonWriter&) {}

}  // namespace quill
