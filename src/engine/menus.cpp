#include "engine/menus.h"

#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {
namespace {

using C = MenuControl;

struct ControlInfo {
  MenuGroup group;
  const char* caption;  // Shift-JIS
  const char* name;
};

// In MenuControl order.
constexpr ControlInfo kControls[kMenuControlCount] = {
    {MenuGroup::Toolbar, "\x8f\x49\x97\xb9", "toolbar_exit"},      // 終了
    {MenuGroup::Toolbar, "\x93\xc7\x8d\x9e", "toolbar_load"},      // 読込
    {MenuGroup::Toolbar, "\x8b\x4c\x98\x5e", "toolbar_save"},      // 記録
    {MenuGroup::Toolbar, "\x90\xdd\x92\xe8", "toolbar_settings"},  // 設定
    {MenuGroup::Toolbar, "\x83\x5a\x81\x5b\x83\x75\x95\xd2\x8f\x57",
     "toolbar_save_edit"},  // セーブ編集
    {MenuGroup::System, "\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\xd6\x96\xdf\x82\xe9",
     "system_title"},  // タイトルへ戻る
    {MenuGroup::System, "\x83\x51\x81\x5b\x83\x80\x8f\x49\x97\xb9", "system_exit"},  // ゲーム終了
    {MenuGroup::System, "\x83\x56\x81\x5b\x83\x93\x83\x58\x83\x4c\x83\x62\x83\x76",
     "system_scene_skip"},  // シーンスキップ
    {MenuGroup::System, "\x89\xf1\x91\x7a\x83\x82\x81\x5b\x83\x68\x8f\x49\x97\xb9",
     "system_replay_end"},  // 回想モード終了
    {MenuGroup::RightClick, "\x8e\xa9\x93\xae\x91\x97\x82\xe8", "popup_auto"},  // 自動送り
    {MenuGroup::RightClick, "\x83\x58\x83\x4c\x83\x62\x83\x76", "popup_skip"},  // スキップ
    {MenuGroup::RightClick, "\x83\x8d\x83\x4f", "popup_log"},                   // ログ
    {MenuGroup::RightClick, "\x83\x45\x83\x42\x83\x93\x83\x68\x83\x45\x8f\xc1\x8b\x8e",
     "popup_hide_window"},  // ウィンドウ消去
    {MenuGroup::RightClick, "\x92\xbc\x91\x4f\x82\xcc\x89\xb9\x90\xba\x82\xf0\x8d\xc4\x90\xb6",
     "popup_replay_voice"},  // 直前の音声を再生
    {MenuGroup::RightClick, "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x8d\x81\x5b\x83\x68",
     "popup_quick_load"},  // クイックロード
    {MenuGroup::RightClick, "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x5a\x81\x5b\x83\x75",
     "popup_quick_save"},                                               // クイックセーブ
    {MenuGroup::RightClick, "\x83\x8d\x81\x5b\x83\x68", "popup_load"},  // ロード
    {MenuGroup::RightClick, "\x83\x5a\x81\x5b\x83\x75", "popup_save"},  // セーブ
    {MenuGroup::RightClick, "\x90\xdd\x92\xe8", "popup_settings"},      // 設定
    {MenuGroup::RightClick, "\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\xd6\x96\xdf\x82\xe9",
     "popup_title"},                                            // タイトルへ戻る
    {MenuGroup::RightClick, "\x8f\x49\x97\xb9", "popup_exit"},  // 終了
};

// "タイトルへ戻りますか？", "クイックロードしますか？"
constexpr std::string_view kAskTitle =
    "\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\xd6\x96\xdf\x82\xe8\x82\xdc\x82\xb7\x82\xa9\x81\x48";
constexpr std::string_view kAskQuickLoad =
    "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81"
    "\x48";
// The yes/no band's actions.
constexpr int kActionQuickLoad = 1;
constexpr int kActionTitle = 3;

constexpr int kRightClickOffsetX = 16;

}  // namespace

Menus::Menus(Engine& engine) : engine_(engine) {
  enabled_.fill(true);
  visible_.fill(true);
  visible_[Index(C::kToolSaveEdit)] = false;
  visible_[Index(C::kSysSceneSkip)] = false;
  visible_[Index(C::kSysReplayEnd)] = false;
}

MenuGroup Menus::Group(MenuControl c) { return kControls[Index(c)].group; }
std::string_view Menus::Caption(MenuControl c) { return kControls[Index(c)].caption; }
std::string_view Menus::Name(MenuControl c) { return kControls[Index(c)].name; }

void Menus::SetEnabled(MenuControl c, bool on) {
  if (enabled_[Index(c)] == on) return;
  enabled_[Index(c)] = on;
  if (Group(c) == MenuGroup::Toolbar) engine_.platform().ToolbarChanged();
}

void Menus::SetVisible(MenuControl c, bool on) {
  if (visible_[Index(c)] == on) return;
  visible_[Index(c)] = on;
  if (Group(c) == MenuGroup::Toolbar) engine_.platform().ToolbarChanged();
}

void Menus::Set(std::initializer_list<MenuControl> controls, bool on) {
  for (MenuControl c : controls) enabled_[Index(c)] = on;
}

void Menus::UpdateMenus() {
  // The band sets the flag before it calls this and clears it before the pending action is
  // cleared, so the flag alone tells.
  if (engine_.menus_off) {
    Set({C::kToolExit, C::kToolSettings, C::kToolSave, C::kToolLoad, C::kToolSaveEdit,
         C::kRcQuickLoad, C::kRcQuickSave, C::kRcLoad, C::kRcSave, C::kRcSettings},
        false);
    panel_enabled_ = false;
    engine_.platform().ToolbarChanged();
    return;
  }
  panel_enabled_ = true;
  Set({C::kToolExit, C::kToolSettings, C::kRcSettings, C::kRcLog}, true);
  const auto save_items = {C::kToolSave, C::kRcQuickSave, C::kRcSave};
  const auto load_items = {C::kToolLoad, C::kToolSaveEdit, C::kRcQuickLoad, C::kRcLoad};
  switch (engine_.banks().S(0)) {
    case 0:
      Set(save_items, true);
      Set(load_items, true);
      break;
    case 1:
      Set(save_items, false);
      Set(load_items, true);
      break;
    case 2:
    case 3:
      Set(save_items, false);
      Set(load_items, false);
      break;
    default:  // other values leave the seven as they were
      break;
  }
  if (engine_.banks().S(28) == 0) Set(save_items, false);
  if (engine_.background_animation().running()) {
    Set({C::kToolSettings, C::kToolSave, C::kToolLoad, C::kToolSaveEdit, C::kRcLog, C::kRcQuickLoad,
         C::kRcQuickSave, C::kRcLoad, C::kRcSave, C::kRcSettings},
        false);
  }
  engine_.platform().ToolbarChanged();
}

void Menus::HoldAll(bool hold) {
  if (held_ == hold) return;
  held_ = hold;
  engine_.platform().ToolbarChanged();
}

void Menus::ResetTitleMenus() {
  SetVisible(C::kSysSceneSkip, false);
  SetVisible(C::kSysReplayEnd, false);
  Set({C::kRcQuickLoad, C::kRcQuickSave, C::kRcLoad, C::kRcSave}, true);
}

std::vector<MenuEntry> Menus::Entries(MenuGroup group) const {
  std::vector<MenuEntry> entries;
  for (int i = 0; i < kMenuControlCount; ++i) {
    if (kControls[i].group != group || !visible_[i]) continue;
    bool on = enabled_[i] && !held_ && (group != MenuGroup::Toolbar || panel_enabled_);
    entries.push_back(MenuEntry{i, kControls[i].caption, on});
  }
  return entries;
}

void Menus::ToolbarButtonClicked(int id) {
  if (id < 0 || id >= kMenuControlCount || kControls[id].group != MenuGroup::Toolbar) return;
  Activate(static_cast<MenuControl>(id));
}

void Menus::Choose(int id, MenuGroup group) {
  if (id < 0 || id >= kMenuControlCount || kControls[id].group != group) return;
  Activate(static_cast<MenuControl>(id));
}

void Menus::OpenSystemMenu() {
  int id = engine_.platform().RunPopupMenu(PopupMenuKind::System, Entries(MenuGroup::System), 0, 0);
  Choose(id, MenuGroup::System);
}

void Menus::OpenRightClickMenu(int x, int y) {
  Set({C::kRcAuto, C::kRcSkip, C::kRcHideWindow, C::kRcReplayVoice}, true);
  // Set before the menu shows, so that the chosen item can clear it.
  engine_.popup_open = true;
  int id = engine_.platform().RunPopupMenu(
      PopupMenuKind::RightClick, Entries(MenuGroup::RightClick), x + kRightClickOffsetX, y);
  Choose(id, MenuGroup::RightClick);
}

void Menus::Activate(MenuControl control) {
  int i = Index(control);
  if (!enabled_[i] || !visible_[i] || held_) return;
  if (Group(control) == MenuGroup::Toolbar && !panel_enabled_) return;
  Engine& e = engine_;
  SubsystemEntryPoints& sub = e.subsystems();
  // Every right-click item but these four closes the popup state.
  if (Group(control) == MenuGroup::RightClick && control != C::kRcSkip && control != C::kRcAuto &&
      control != C::kRcTitle && control != C::kRcExit) {
    e.popup_open = false;
  }
  switch (control) {
    case C::kToolExit:
      if (e.busy) return;
      e.CancelAutoSkip(true);
      OpenSystemMenu();
      break;
    case C::kToolLoad:
    case C::kRcLoad:
      if (control == C::kToolLoad && e.transition_running) return;
      e.sound_commands().PlayNamed("SSE06");
      sub.OpenLoadScreen();
      break;
    case C::kToolSave:
    case C::kRcSave:
      if (control == C::kToolSave && e.transition_running) return;
      e.sound_commands().PlayNamed("SSE05");
      sub.OpenSaveScreen();
      break;
    case C::kToolSettings:
      if (e.busy) return;
      e.CancelAutoSkip(true);
      e.settings_screens().OpenSettings();
      break;
    case C::kRcSettings:
      e.settings_screens().OpenSettings();
      break;
    case C::kToolSaveEdit:
      e.sound_commands().PlayNamed("SSE11");
      sub.OpenSaveEditScreen();
      break;
    case C::kSysTitle:
    case C::kRcTitle:
      sub.ShowConfirm(kAskTitle, kActionTitle);
      break;
    case C::kSysExit:
    case C::kRcExit:
      e.CloseMainWindow();
      break;
    case C::kSysSceneSkip:
      e.sound().StopVoice();
      e.sound().StopLoops(0);
      sub.NextScene();
      break;
    case C::kSysReplayEnd:
      e.sound().StopVoice();
      e.sound().StopLoops(0);
      if (e.extra_mode == 1) {
        sub.ReturnFromGallery();
      } else if (e.extra_mode == 2) {
        sub.ReturnFromRecollection();
      }
      break;
    case C::kRcAuto:
      if (e.banks().S(27) == 0) e.banks().SetS(27, 4);
      e.banks().SetS(26, e.banks().S(27));
      sub.RedrawQuickButtons();
      break;
    case C::kRcSkip:
      e.sound().StopVoice();
      e.banks().SetS(60, 2);
      e.skip_mode = true;  // before the redraw, which shows the skip button from the mode
      sub.RedrawQuickButtons();
      break;
    case C::kRcLog:
      e.log_view().OpenLogView();
      break;
    case C::kRcHideWindow:
      e.screen_pauses().HideWindow();
      break;
    case C::kRcReplayVoice:
      e.sound_commands().ReplayLastVoice();
      break;
    case C::kRcQuickLoad:
      sub.ShowConfirm(kAskQuickLoad, kActionQuickLoad);
      break;
    case C::kRcQuickSave:
      sub.QuickSave();
      break;
  }
}

nlohmann::ordered_json Menus::StateJson() const {
  nlohmann::ordered_json menus;
  menus["toolbar"] = panel_enabled();
  for (int i = 0; i < kMenuControlCount; ++i) {
    menus[kControls[i].name] = {{"caption", SjisToUtf8Lossy(kControls[i].caption)},
                                {"enabled", enabled_[i] && !held_},
                                {"visible", visible_[i]}};
  }
  return menus;
}

}  // namespace quill
