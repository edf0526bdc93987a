#include "engine/engine.h"

#include "common/text_util.h"

namespace quill {

Engine::Engine(Platform& platform, EngineOptions options) : platform_(platform), options_(options) {
  platform_.SetEventSink(this);
  platform_.SetToolbar(&menus_);
}

Engine::~Engine() {
  platform_.SetToolbar(nullptr);
  platform_.SetEventSink(nullptr);
}

bool Engine::FormCreate() {
  exit_requested = false;
  StartUp();
  platform_.SetTitle(config_.TITLE);
  return !exit_requested;
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
  banks_.SetS(60, 0);
  banks_.SetS(61, 0);
  skip_mode = false;
  if (window_open && screen_mode == 0) subsystems_.RedrawQuickButtons();
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

void Engine::OnCloseRequest() { CloseMainWindow(); }

void Engine::OnPaint() { PBPaint(); }

}  // namespace quill
