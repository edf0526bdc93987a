#include "engine/engine.h"

#include "common/text_util.h"

namespace quill {
namespace {

constexpr std::string_view kErrorCaption = "Error!";
// "ゲームデータを読み込めません。"
constexpr std::string_view kNoGameData =
    "\x83\x51\x81\x5b\x83\x80\x83\x66\x81\x5b\x83\x5e\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf"
    "\x82\xdc\x82\xb9\x82\xf1\x81\x42";

}  // namespace

Engine::Engine(Platform& platform, EngineOptions options) : platform_(platform), options_(options) {
  platform_.SetEventSink(this);
}

Engine::~Engine() { platform_.SetEventSink(nullptr); }

bool Engine::FormCreate() {
  exit_requested = false;
  if (!LoadArchiveIndexes()) {
    platform_.ShowError(kErrorCaption, kNoGameData);
    return false;
  }
  for (int i = 0; i < 200; ++i) banks_.SetS(i, 0);
  random_seed_ = platform_.NowMs();
  // Until the mixer exists the device only tells whether voices could play at all.
  wave_device = platform_.OpenAudio([](int16_t* frames, int count) {
    for (int i = 0; i < count * 2; ++i) frames[i] = 0;
  });
  start_game = true;
  platform_.Present(pictures_.screen);
  return true;
}

int32_t Engine::NextRandom() {
  random_seed_ = random_seed_ * 134775813u + 1u;
  return static_cast<int32_t>((static_cast<uint64_t>(random_seed_) * 32768u) >> 32);
}

void Engine::SystemCellAssigned(int index) {
  if (index == 0 || index == 28) subsystems_.UpdateMenus();
}

void Engine::set_current_script_name(std::string_view name) {
  current_script_name_ = CutScriptName(name);
}

void Engine::LeaveSkipMode() {
  skip_mode = false;
  banks_.SetS(60, 0);
}

void Engine::CancelAutoSkip(bool force) {
  if (!break_on_select && !force) return;
  LeaveSkipMode();
  banks_.SetS(26, 0);
  if (screen_mode == 0) subsystems_.RedrawQuickButtons();
}

void Engine::CloseMainWindow() {
  if (closed_) return;
  if (!exit_requested && !subsystems_.FormCloseQuery()) return;
  subsystems_.FormDestroy();
  closed_ = true;
}

void Engine::OnTimer() { Timer1Timer(); }

void Engine::OnMouseDown(MouseButton, int, int) {}
void Engine::OnMouseUp(MouseButton, int, int) {}
void Engine::OnMouseMove(int, int) {}
void Engine::OnMouseWheel(int, int, int) {}
void Engine::OnKeyDown(int) {}
void Engine::OnKeyUp(int) {}
void Engine::OnChar(std::string_view) {}

void Engine::OnCloseRequest() { CloseMainWindow(); }

void Engine::OnPaint() { platform_.Present(pictures_.screen); }

}  // namespace quill
