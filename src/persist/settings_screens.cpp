#include "persist/settings_screens.h"

#include <nlohmann/json.hpp>

#include "engine/engine.h"

namespace quill {

SettingsScreens::SettingsScreens(Engine& engine)
    : engine_(engine), dialog_(engine, *this), simple_(engine, *this) {}

void SettingsScreens::OpenSettings() {
  Engine& e = engine_;
  e.sound_commands().PlayNamed("SSE07");
  e.busy = true;
  e.script_enabled = false;
  e.menus_off = true;
  e.subsystems().UpdateMenus();
  const GameConfig& config = e.config();
  // Without both pictures there is no simple screen to show.
  if (config.CFG_GRA[0].empty() || config.CFG_GRA[1].empty()) {
    e.settings().SetInt(SettingId::CONFIG_MODE, 1);
  }
  if (e.settings().Int(SettingId::CONFIG_MODE) == 1) {
    ShowDialog();
    ApplySettings();
    e.menus_off = false;
    e.subsystems().UpdateMenus();
    e.script_enabled = true;
    e.busy = false;
    return;
  }
  e.busy = false;
  simple_.Open();
}

void SettingsScreens::ShowDialog() {
  dialog_.Show();
  open_dialog_ = &dialog_;
  engine_.platform().RunModal(dialog_);
  open_dialog_ = nullptr;
}

void SettingsScreens::ApplySettings() {
  Engine& e = engine_;
  if (text_look_changed_) {
    text_look_changed_ = false;
    e.message_window().TintWindowSkin();
    e.message_window().ComposeWindow();
    RebuildFont();
    if (e.extra_mode == 0 && e.screen_mode == 0 && e.choice_mode == 0) {
      e.subsystems().RebuildScreen();
      e.platform().Present(e.screen());
    }
  }
  const SettingsStore* store = e.settings_store();
  Settings& s = e.settings();
  for (SettingId id : {SettingId::Delay, SettingId::GMode, SettingId::SMode}) {
    int32_t v = store ? store->ReadInt(InfoOf(id).name, s.Int(id)) : s.Int(id);
    s.SetInt(id, v);
  }
  e.one_by_one = s.Int(SettingId::Delay) == 0;
  SwitchDisplay();
}

void SettingsScreens::SwitchDisplay() {
  Engine& e = engine_;
  Platform& platform = e.platform();
  int smode = e.settings().Int(SettingId::SMode);
  ScreenModeSwitch& display = e.screen_mode_switch();
  if ((smode == 1) == display.full_screen_active() &&
      (smode == 2) == (platform.GetDisplayMode() == DisplayMode::BorderlessTopLeft)) {
    return;
  }
  e.busy = true;
  if (display.full_screen_active() || platform.GetDisplayMode() != DisplayMode::Window) {
    platform.SleepMs(100);
    platform.PumpMessages();
    if (display.full_screen_active()) {
      display.LeaveFullScreen();
    } else {
      platform.SetDisplayMode(DisplayMode::Window);
    }
  }
  if (smode != 0) {
    display.EnterFullScreen(smode);
    platform.SleepMs(100);
    platform.PumpMessages();
  }
  e.busy = false;
  Write(SettingId::SMode, smode);
  e.PBPaint();
}

void SettingsScreens::Write(SettingId id, int value) {
  Engine& e = engine_;
  if (SettingsStore* store = e.settings_store()) {
    e.settings().Change(id, value, *store);
  } else {
    e.settings().SetInt(id, value);
  }
  switch (id) {
    case SettingId::Delay:
      e.one_by_one = value == 0;
      break;
    case SettingId::Seen:
      e.seen = value != 0;
      break;
    case SettingId::BreakonSelect:
      e.break_on_select = value != 0;
      break;
    case SettingId::EFX_CUT:
      e.efx_cut = value != 0;
      break;
    default:
      break;
  }
}

void SettingsScreens::WriteText(SettingId id, std::string_view sjis) {
  if (SettingsStore* store = engine_.settings_store()) {
    engine_.settings().Change(id, sjis, *store);
  } else {
    engine_.settings().SetText(id, sjis);
  }
}

void SettingsScreens::RebuildFont() {
  const Settings& s = engine_.settings();
  engine_.glyph_renderer().ChangeFont(s.Text(SettingId::FontName), s.Int(SettingId::FONTSIZE),
                                      s.Int(SettingId::FONTBold) != 0);
}

void SettingsScreens::ApplyVolumes() { engine_.sound().ApplyVolumes(); }

void SettingsScreens::PlayVoiceTest() { engine_.sound_commands().PlayNamed("SAMPLECV"); }

// BGM_ENA is already written: off stops the track, on starts the requested one (S003) again.
void SettingsScreens::MusicSwitched(bool) { engine_.sound_commands().RestartMusic(); }

void SettingsScreens::WriteState(nlohmann::ordered_json& state) const {
  state["simple_settings"] = simple_.StateJson();
}

}  // namespace quill
