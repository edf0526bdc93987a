// The main window's own events: the close question (FormCloseQuery), the end (FormDestroy) and
// the repaint of the display (PBPaint).
#include "engine/engine.h"

namespace quill {
namespace {

// "確認"
constexpr std::string_view kConfirmCaption = "\x8a\x6d\x94\x46";
// "ゲームを終了しますか？"
constexpr std::string_view kQuitQuestion =
    "\x83\x51\x81\x5b\x83\x80\x82\xf0\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";

}  // namespace

bool Engine::FormCloseQuery() {
  if (exit_requested) return true;
  subsystems_.WriteGlobalSave();
  if (transition_running) {
    // The transition ends first; gra asks afterwards.
    transition_interrupt = 2;
    return false;
  }
  if (busy) return false;
  script_enabled = false;
  subsystems_.SignalStaffRoll(2);
  bool ok = platform_.AskOkCancel(kConfirmCaption, kQuitQuestion);
  if (ok) {
    transition_interrupt = 1;
    subsystems_.SignalStaffRoll(1);
  }
  subsystems_.SignalStaffRoll(3);
  // The scroll roll ends whatever the answer.
  if (screen_mode == 5) subsystems_.StopScrollRoll(true);
  PBPaint();
  script_enabled = true;
  return ok;
}

void Engine::FormDestroy() {
  sound_commands_.SetMusic(0);
  screen_mode_switch_.LeaveFullScreen();
}

void Engine::PBPaint() {
  platform_.Present(screen_mode == 1 ? pictures_.scene : pictures_.screen);
  sound_.ApplyVolumes();
}

}  // namespace quill
