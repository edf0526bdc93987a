#pragma once
// The toolbar and the two popup menus of the main window: every control's caption, its enabled
// and visible state (UpdateMenus), and what choosing it does. The window backend draws them
// (platform.h WindowToolbar, RunPopupMenu); a headless run has neither, and tests call Activate.
#include <array>
#include <nlohmann/json_fwd.hpp>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quill {

class Engine;

enum class MenuControl : int {
  // Toolbar buttons 1–5 (the fifth is hidden).
  kToolExit,
  kToolLoad,
  kToolSave,
  kToolSettings,
  kToolSaveEdit,
  // The system menu under button 1.
  kSysTitle,
  kSysExit,
  kSysSceneSkip,  // shown only by the recollection mode
  kSysReplayEnd,  // shown only by the gallery viewer and the recollection mode
  // The right-click menu.
  kRcAuto,
  kRcSkip,
  kRcLog,
  kRcHideWindow,
  kRcReplayVoice,
  kRcQuickLoad,
  kRcQuickSave,
  kRcLoad,
  kRcSave,
  kRcSettings,
  kRcTitle,
  kRcExit,
};
constexpr int kMenuControlCount = 21;

enum class MenuGroup { Toolbar, System, RightClick };

class Menus : public WindowToolbar {
 public:
  explicit Menus(Engine& engine);

  // Enables and disables the controls from S000, S028, the menus-off flag (a yes/no band or a
  // notice is up) and a running background animation.
  void UpdateMenus();
  // The backlog, the page-back view, the hidden window and the panic screen hold every control
  // and the panel off while they are up; releasing gives back the states they had.
  void HoldAll(bool hold);
  bool held() const { return held_; }

  // Performs a control's action, as a click on it does. A disabled or hidden control, or a toolbar
  // button while the panel is disabled, does nothing.
  void Activate(MenuControl control);
  // The system popup menu under toolbar button 1; the chosen item acts.
  void OpenSystemMenu();
  // RightClickAction with RC_MODE 0: enables 自動送り, スキップ, ウィンドウ消去 and
  // 直前の音声を再生, sets the popup flag and opens the menu 16 pixels right of the pointer (x, y
  // on the screen); the chosen item acts once the menu has closed.
  void OpenRightClickMenu(int x, int y);
  // The return to the title: hides シーンスキップ and 回想モード終了 and enables the quick-load,
  // quick-save, load and save items.
  void ResetTitleMenus();

  bool Enabled(MenuControl c) const { return enabled_[Index(c)] && !held_; }
  bool Visible(MenuControl c) const { return visible_[Index(c)]; }
  void SetEnabled(MenuControl c, bool on);
  void SetVisible(MenuControl c, bool on);
  bool panel_enabled() const { return panel_enabled_ && !held_; }

  static MenuGroup Group(MenuControl c);
  // The caption, Shift-JIS.
  static std::string_view Caption(MenuControl c);
  // A stable lower-case name (state dumps).
  static std::string_view Name(MenuControl c);
  // The visible controls of a group in their order, as the backend shows them; the entry ids are
  // the MenuControl values.
  std::vector<MenuEntry> Entries(MenuGroup group) const;

  // The state dump's "menus" object: every control's enabled and visible state, and the panel.
  nlohmann::ordered_json StateJson() const;

  // WindowToolbar.
  bool ToolbarEnabled() override { return panel_enabled(); }
  std::vector<MenuEntry> ToolbarButtons() override { return Entries(MenuGroup::Toolbar); }
  void ToolbarButtonClicked(int id) override;

 private:
  static int Index(MenuControl c) { return static_cast<int>(c); }
  void Set(std::initializer_list<MenuControl> controls, bool on);
  void Choose(int id, MenuGroup group);

  Engine& engine_;
  std::array<bool, kMenuControlCount> enabled_{};
  std::array<bool, kMenuControlCount> visible_{};
  bool panel_enabled_ = true;
  bool held_ = false;
};

}  // namespace quill
