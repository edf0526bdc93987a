// The game screen's pointer, wheel and key handlers: advancing text, auto and skip mode, the quick
// buttons, the right-click action and the screens that own the input while they are open. The
// handlers only change state; the frame loop and the timer do the rest.
#include "engine/engine.h"
#include "platform/keys.h"

namespace quill {
namespace {

int ButtonIndex(MouseButton button) {
  switch (button) {
    case MouseButton::Left:
      return 0;
    case MouseButton::Right:
      return 1;
    case MouseButton::Middle:
      return 2;
  }
  return 0;
}

bool SettingOn(Engine& e, SettingId id) { return e.settings().Int(id) != 0; }

// With "CS_SWAP" on, Shift and Ctrl exchange their roles.
int SwapShiftControl(Engine& e, int key) {
  if (!SettingOn(e, SettingId::CS_SWAP)) return key;
  if (key == kKeyShift) return kKeyControl;
  if (key == kKeyControl) return kKeyShift;
  return key;
}

// A click for the choice shown: select's or the click map's, or the selection tree's.
void ChoiceClick(Engine& e, int button, int x, int y) {
  if (e.choice_mode == kChoiceTree) {
    e.subsystems().SelectionTreeMouseDown(button, x, y);
  } else {
    e.choices().ConfirmChoice();
  }
}

void AutoModeOff(Engine& e) {
  e.banks().SetS(26, 0);
  e.banks().SetS(61, 0);
}

void SkipModeOn(Engine& e) {
  e.sound().StopVoice();
  e.banks().SetS(60, 2);
  e.skip_mode = true;  // before the redraw, which shows the real mode
  e.quick_buttons().DrawQuickBar(1);
}

// The backlog with button 6 shown pressed while it opens.
void OpenBacklog(Engine& e) {
  e.banks().SetS(65, 2);
  e.quick_buttons().DrawQuickBar(1);
  e.log_view().OpenLogView();
  e.banks().SetS(65, 1);
}

}  // namespace

void Engine::OnMouseDown(MouseButton button, int x, int y) { PBMouseDown(button, x, y); }
void Engine::OnMouseUp(MouseButton button, int x, int y) { PBMouseUp(button, x, y); }
void Engine::OnMouseMove(int x, int y) { PBMouseMove(x, y); }
void Engine::OnMouseWheel(int delta, int, int) { FormMouseWheel(delta); }

void Engine::OnKeyDown(int key) {
  // Held modifier keys repeat on some systems; Shift and Ctrl toggle modes, so only their first
  // press counts.
  bool* held = key == kKeyShift ? &shift_held : key == kKeyControl ? &control_held : nullptr;
  if (held) {
    if (*held) return;
    *held = true;
  }
  FormKeyDown(key);
  // Neither backend delivers these as typed characters; the game reads them as such.
  switch (key) {
    case kKeyEnter:
      FormKeyPress('\r');
      break;
    case kKeyBackspace:
      FormKeyPress('\b');
      break;
    case kKeyEscape:
      FormKeyPress('\x1b');
      break;
    case kKeySpace:
      FormKeyPress(' ');
      break;
    default:
      break;
  }
}

void Engine::OnKeyUp(int key) {
  if (key == kKeyShift) shift_held = false;
  if (key == kKeyControl) control_held = false;
  FormKeyUp(key);
}

void Engine::OnChar(std::string_view sjis) {
  // Only single-byte characters have a meaning here; the space comes with its key.
  if (sjis.size() != 1) return;
  char c = sjis[0];
  if (static_cast<unsigned char>(c) <= ' ') return;
  FormKeyPress(c);
}

void Engine::PBMouseDown(MouseButton button, int x, int y) {
  SubsystemEntryPoints& sub = subsystems_;
  bool left = button == MouseButton::Left;
  bool right = button == MouseButton::Right;
  int b = ButtonIndex(button);
  bool cv_through = SettingOn(*this, SettingId::CV_THROUGH);
  pointer_x = x;
  pointer_y = y;

  // Special click modes a script sets in S056.
  switch (banks_.S(56)) {
    case 56:
      if (right) break;  // this mode leaves right clicks to the rules below
      sleep_frames = 0;
      sound_.StopVoice();
      if (transition_running) transition_interrupt = 1;
      banks_.SetS(56, 0);
      if (confirm_pending != 0) confirmations_.AnswerConfirm(MouseButton::Right, true);
      confirmations_.ReturnToTitle();
      return;
    case 57:
      banks_.SetS(56, 0);
      Go(banks_.NameSlot(8));
      return;
    case 66:
      return;
    default:
      break;
  }
  if (settings_screens_.simple().open()) {
    settings_screens_.simple().MouseDown(x, y);
    return;
  }
  if (transition_running) {
    if (!cv_through) sound_.StopVoice();
    transition_interrupt = 1;
    return;
  }
  if (confirm_pending != 0) {
    confirmations_.AnswerConfirm(button, false);
    return;
  }
  if (panic_shown) {
    screen_pauses_.EndPanic();
    return;
  }
  if (left) popup_open = false;
  if (busy) return;
  if (left && !(wait_kind == kWaitPageVoice || click_debounce >= 3 || cv_through)) {
    sound_.StopVoice();
  }
  if (log_view_open) {
    log_view_.MouseDown(b, x, y);
    return;
  }
  switch (screen_mode) {
    case 0:
    case 4:  // the map takes its clicks as a choice below
      break;
    case 1:
      screen_pauses_.ShowWindow();
      return;
    case 2:
      log_view_.MouseDown(b, x, y);
      return;
    case 5:
      sub.StopScrollRoll(false);
      return;
    case 6:
      sub.GalleryMouseDown(b, x, y);
      return;
    case 8:
      sub.RecollectionMouseDown(b, x, y);
      return;
    case 9:
      if (right) {
        page_view_.ClosePageView();
      } else {
        quick_buttons_.PressQuickButton(quick_buttons_.hovered());
      }
      return;
    default:  // 3 the staff roll, 7 and 10
      return;
  }

  bool choice = choice_mode != 0;
  if (screen_mode == 0 && window_open && !skip_mode && AutoLevel() > 0) {
    if (quick_buttons_.ClickAutoGauge(x, y)) return;
    if (!choice) {
      if (left) {
        if (!quick_buttons_.PressQuickButton(quick_buttons_.hovered())) {
          // Auto mode: the click shortens the wait instead of turning the page.
          if (wait_kind != kWaitNone && auto_wait_ticks > 0) {
            auto_wait_ticks = 1;
          } else {
            finish_now = true;
          }
        }
        click_debounce = 5;
      } else {
        AutoModeOff(*this);
        quick_buttons_.DrawQuickBar(1);
      }
      return;
    }
  }
  bool typing = one_by_one && wait_kind == kWaitNone && !choice;
  if (typing) finish_now = true;
  if (sleep_frames != 0) {
    sleep_frames = 0;
    banks_.SetS(19, 1);
    return;
  }
  if (skip_mode && !choice) {
    LeaveSkipMode();
    return;
  }
  if (typing) finish_now = true;
  if (left && !choice) {
    quick_buttons_.HoverQuickBar(x, y);
    if (quick_buttons_.PressQuickButton(quick_buttons_.hovered())) return;
  }

  if (right) {
    if (choice_mode == kChoiceClickMap || choice_mode == kChoiceTree) {
      ChoiceClick(*this, b, x, y);
    } else if (screen_mode == 0) {
      RightClickAction();
    }
    return;
  }
  if (!left) {
    click_debounce = 5;
    return;
  }
  if (!choice) {
    switch (wait_kind) {
      case kWaitPage:
      case kWaitPageVoice:
      case kWaitPageNoIcon:
        NewPage();
        break;
      case kWaitContinue:
        sub.EraseClickIcon();
        break;
      case kWaitChoice:
        choices_.CloseChoiceDisplay();
        break;
      default:
        break;
    }
    wait_kind = kWaitNone;
  } else if (click_debounce == 0) {
    ChoiceClick(*this, b, x, y);
    quick_buttons_.PressQuickButton(quick_buttons_.hovered());
  }
  click_debounce = 5;
}

void Engine::PBMouseMove(int x, int y) {
  SubsystemEntryPoints& sub = subsystems_;
  pointer_x = x;
  pointer_y = y;
  if (busy || transition_running) return;
  if (settings_screens_.simple().open()) {
    settings_screens_.simple().MouseMove(x, y);
    return;
  }
  if (confirm_pending != 0) {
    confirmations_.HoverConfirm(x, y);
    return;
  }
  if (log_view_open) {
    log_view_.MouseMove(x, y);
    return;
  }
  switch (screen_mode) {
    case 0:
      break;
    case 4:
      sub.MapMouseMove(x, y);
      return;
    case 6:
      sub.GalleryMouseMove(x, y);
      return;
    case 8:
      sub.RecollectionMouseMove(x, y);
      return;
    case 9:
      quick_buttons_.HoverQuickBar(x, y);
      return;
    default:
      return;
  }
  switch (choice_mode) {
    case 0:
      if (!skip_mode) quick_buttons_.HoverQuickBar(x, y);
      break;
    case 1:
    case 2:
      quick_buttons_.HoverQuickBar(x, y);
      choices_.UpdateHover(x, y);
      break;
    case 4:
      choices_.UpdateZoneHover(x, y);
      break;
    case 6:
      sub.SelectionTreeHover(x, y);
      break;
    default:
      break;
  }
}

void Engine::PBMouseUp(MouseButton button, int x, int y) {
  int b = ButtonIndex(button);
  if (settings_screens_.simple().open()) settings_screens_.simple().MouseUp(x, y);
  if (log_view_open) log_view_.MouseUp(b, x, y);
  if (screen_mode == 0) {
    quick_buttons_.ReleasePressed();
  } else if (screen_mode == 8) {
    subsystems_.RecollectionMouseUp(b, x, y);
  }
}

void Engine::FormMouseWheel(int delta) {
  // Opening a screen may pump messages; a wheel turn meanwhile is dropped.
  static bool handling = false;
  if (handling || delta == 0) return;
  handling = true;
  if (log_view_open) {
    log_view_.ScrollLogView(delta > 0 ? 1 : -1);
  } else if (confirm_pending != 0 || busy || background_animation_.running()) {
    // nothing
  } else if (screen_mode == 9) {
    page_view_.StepPageView(delta < 0 ? -1 : 1);  // down: newer, up: older
  } else if (screen_mode == 0 && choice_mode == 0 && delta > 0) {
    if (settings_.Int(SettingId::WHEEL_MODE) == 0) {
      page_view_.OpenPageView();
    } else {
      OpenBacklog(*this);
    }
  }
  handling = false;
}

void Engine::FormKeyDown(int key) {
  if (confirm_pending != 0 || log_view_open || transition_running || busy) return;
  if (choice_mode == 1) {
    if (key == kKeyUp) choices_.MoveChoicePointer(-1);
    if (key == kKeyDown) choices_.MoveChoicePointer(1);
    return;
  }
  bool page_view_free = choice_mode == 0 && !background_animation_.running();
  if (screen_mode == 9) {
    if (!page_view_free) return;
    if (key == kKeyLeft) page_view_.StepPageView(1);
    if (key == kKeyRight) page_view_.StepPageView(-1);
    return;
  }
  if (screen_mode != 0) return;
  int k = SwapShiftControl(*this, key);
  if (k == kKeyTab) {
    RightClickAction();
  } else if (k == kKeyShift) {
    skip_mode = false;
    if (banks_.S(27) == 0) banks_.SetS(27, 4);
    banks_.SetS(26, AutoLevel() > 0 ? 0 : banks_.S(27));
    quick_buttons_.DrawQuickBar(1);
  } else if (k == kKeyControl) {
    if (skip_mode) {
      LeaveSkipMode();
    } else {
      AutoModeOff(*this);
      LeaveSkipMode();
      SkipModeOn(*this);
    }
  } else if (k == kKeyLeft) {
    if (page_view_free) page_view_.OpenPageView();
  } else if (k >= kKeyF1 && k <= kKeyF12) {
    quick_buttons_.FunctionKey(k);
  }
}

void Engine::FormKeyUp(int key) {
  if (log_view_open) return;
  if (SwapShiftControl(*this, key) != kKeyControl) return;
  skip_mode = false;
  if (screen_mode == 0) {
    banks_.SetS(60, 0);
    if (!busy) quick_buttons_.DrawQuickBar(1);
  }
}

void Engine::FormKeyPress(char c) {
  SubsystemEntryPoints& sub = subsystems_;
  if (confirm_pending != 0) return;
  if (log_view_open) {
    if (c == '\b') log_view_.CloseLogView();
    return;
  }
  switch (c) {
    case '\r':
    case 'Z':
    case 'z':
      PBMouseDown(MouseButton::Left, pointer_x, pointer_y);
      PBMouseUp(MouseButton::Left, pointer_x, pointer_y);
      return;
    case 'V':
    case 'v':
      sound_commands_.ReplayLastVoice();
      return;
    default:
      break;
  }
  if (transition_running || busy) return;
  bool save_screens = screen_mode == 0 && !background_animation_.running();
  int s0 = banks_.S(0);
  switch (c) {
    case 'W':
    case 'w':
      if (screen_mode == 1) {
        screen_pauses_.ShowWindow();
      } else if (screen_mode == 0) {
        screen_pauses_.HideWindow();
      }
      break;
    case 'C':
    case 'c':
      CancelAutoSkip(true);
      settings_screens_.OpenSettings();
      break;
    case '\b':
      if (save_screens) OpenBacklog(*this);
      break;
    case '\x1b':
      popup_open = false;
      break;
    case ' ':
      if (screen_mode == 0) {
        quick_buttons_.PressQuickButton(2);
        banks_.SetS(60, 0);
      }
      break;
    case 'L':
    case 'l':
      if (save_screens && s0 < 2) {
        sound_commands_.PlayNamed("SSE06");
        sub.OpenLoadScreen();
      }
      break;
    case 'Q':
    case 'q':
      if (save_screens && s0 < 1) sub.QuickSave();
      break;
    case 'S':
    case 's':
      if (save_screens && s0 < 1) {
        sound_commands_.PlayNamed("SSE05");
        sub.OpenSaveScreen();
      }
      break;
    case 'X':
    case 'x':
      PBMouseDown(MouseButton::Right, pointer_x, pointer_y);
      PBMouseUp(MouseButton::Right, pointer_x, pointer_y);
      break;
    default:
      break;
  }
}

void Engine::RightClickAction() {
  SubsystemEntryPoints& sub = subsystems_;
  if (popup_open) {
    sub.CloseRightClickMenu();
    popup_open = false;
    return;
  }
  switch (settings_.Int(SettingId::RC_MODE)) {
    case 0:
      // The menu is modal and sets the popup flag itself.
      sub.OpenRightClickMenu(pointer_x, pointer_y);
      break;
    case 1:
      screen_pauses_.HideWindow();
      break;
    case 2:
      SkipModeOn(*this);
      break;
    case 3:
      if (banks_.S(27) == 0) banks_.SetS(27, 5);
      banks_.SetS(26, banks_.S(27));
      quick_buttons_.DrawQuickBar(1);
      break;
    case 4:
      screen_pauses_.ShowPanic();
      break;
    default:
      break;
  }
}

}  // namespace quill
