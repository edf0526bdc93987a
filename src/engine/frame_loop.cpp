// The frame loop (AppIdle) and the 55 ms timer (Timer1Timer): the script side of both.
#include "engine/engine.h"

namespace quill {
namespace {

constexpr uint32_t kFrameMs = 20;

}  // namespace

void Engine::AppIdle() {
  ++frame_counter;
  uint32_t t0 = platform_.NowMs();
  if (click_debounce > 0) --click_debounce;
  auto sleep_until = [&](uint32_t ms) {
    uint32_t elapsed = platform_.NowMs() - t0;
    if (elapsed < ms) platform_.SleepMs(ms - elapsed);
  };
  if (log_view_open || confirm_pending != 0) {
    sleep_until(kFrameMs);
    return;
  }
  if (screen_mode == 6) subsystems_.GalleryFrame();
  if (screen_mode == 0) {
    if (start_game) {
      start_game = false;
      BeginGame();
      sleep_until(kFrameMs);
      return;
    }
    if (busy) {
      sleep_until(kFrameMs);
      return;
    }
    NextRandom();  // the sequence advances every frame
    if (exit_requested) {
      CloseMainWindow();
      sleep_until(kFrameMs);
      return;
    }
    loop_animation_.Step();
    if (skip_mode && wait_kind != kWaitNone) {
      if (wait_kind == kWaitPage || wait_kind == kWaitPageVoice || wait_kind == kWaitPageNoIcon) {
        NewPage();
      }
      wait_kind = kWaitNone;
    }
    if (choice_mode == 0 && wait_ticks == 0 && wait_kind == kWaitNone && !voice_end_wait) {
      if (sleep_frames != 0) {
        if (sleep_frames > 0) --sleep_frames;
      } else if (script_enabled) {
        StepScript();
        int d = AutoLevel();
        if (d > 0) {
          sleep_until(static_cast<uint32_t>(4 * d + 15));
          return;
        }
      }
    }
  }
  background_animation_.Frame(frame_counter);
  sleep_until(kFrameMs);
}

void Engine::Timer1Timer() {
  ++tick_counter;
  sound_.UpdateMusicStream();
  if (subsystems_.MoviePanelTick()) return;
  comic_symbol_.Tick(tick_counter);
  if (screen_mode == 8) {
    subsystems_.RecollectionTick();
    return;
  }
  if (screen_mode != 0 || log_view_open || busy || settings_screens_.simple().open()) return;
  if (choice_mode != 0 && confirm_pending == 0) {
    choices_.ChoiceTimerTick();
    return;
  }
  bool voice_playing = sound_.IsVoicePlaying();
  if (!voice_playing) voice_end_wait = false;
  if (wait_ticks > 0) {
    --wait_ticks;
    return;
  }
  subsystems_.QuickButtonHover();
  sound_.DeferredMusicStart();
  if (wait_kind == kWaitNone || busy || screen_mode != 0) return;
  if (AutoLevel() <= 0) {
    if (wait_kind != kWaitPageNoIcon) subsystems_.ShowClickIcon();
    return;
  }
  if (auto_wait_ticks > 0) {
    --auto_wait_ticks;
    // The page stays until the voice has ended.
    if (auto_wait_ticks == 0 && voice_playing) auto_wait_ticks = 1;
  } else if (voice_playing) {
    auto_wait_ticks = 1;
  }
  if (auto_wait_ticks > 0) return;
  switch (wait_kind) {
    case kWaitPage:
    case kWaitPageVoice:
    case kWaitPageNoIcon:
      if (window_open) NewPage();
      break;
    case kWaitChoice:
      choices_.CloseChoiceDisplay();
      break;
    default:
      break;
  }
  wait_kind = kWaitNone;
}

}  // namespace quill
