#pragma once
// The two ways the player changes the settings, and what follows them: OpenSettings picks the
// settings dialog or the simple settings screen (CONFIG_MODE), ApplySettings re-reads and applies
// the display and text settings afterwards.
#include <memory>
#include <nlohmann/json_fwd.hpp>

#include "persist/settings.h"
#include "persist/settings_dialog.h"
#include "persist/simple_settings.h"

namespace quill {

class Engine;

class SettingsScreens {
 public:
  explicit SettingsScreens(Engine& engine);

  // The toolbar's "設定", the menus and the key.
  void OpenSettings();
  // After the dialog: the text look when it changed, Delay, GMode and SMode with the switch
  // between the window and full screen.
  void ApplySettings();
  // Shows the dialog modally (also from the simple screen's "詳細").
  void ShowDialog();
  // SMode against the display state: leave and enter full screen as it asks, write it back.
  void SwitchDisplay();

  // A settings value changed by either interface: memory, the store, and the engine's copies.
  void Write(SettingId id, int value);
  void WriteText(SettingId id, std::string_view sjis);
  // The font, size or bold setting changed: the text font and its glyph cache again.
  void RebuildFont();
  void ApplyVolumes();
  void PlayVoiceTest();
  void MusicSwitched(bool on);

  int master_volume() const { return master_volume_; }
  void set_master_volume(int v) { master_volume_ = v; }
  void MarkTextLookChanged() { text_look_changed_ = true; }
  bool text_look_changed() const { return text_look_changed_; }

  SimpleSettings& simple() { return simple_; }
  // The open dialog; nullptr while none is.
  SettingsDialog* open_dialog() { return open_dialog_; }

  // The state dump's `simple_settings`.
  void WriteState(nlohmann::ordered_json& state) const;

 private:
  Engine& engine_;
  SettingsDialog dialog_;
  SimpleSettings simple_;
  SettingsDialog* open_dialog_ = nullptr;
  int master_volume_ = 0;
  bool text_look_changed_ = false;
};

}  // namespace quill
