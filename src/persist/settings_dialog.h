#pragma once
// The settings dialog TForm11: four tabs of controls bound to settings values, each change
// written to the store at once and applied. The window backend draws it through a view (src/ui);
// headless runs answer it from the scenario:
//   dialog set NAME VALUE | press LABEL | close | tab N
#include <array>
#include <functional>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persist/settings.h"
#include "platform/platform.h"

namespace quill {

class Engine;
class SettingsScreens;

enum class DialogControlKind { Radio, Check, Bar, Spin, FontList, ColourBar };

// One control of the dialog, in the order the tabs show them. Captions are UTF-8.
struct DialogControl {
  int tab;
  DialogControlKind kind;
  const char* name;  // the settings value it is bound to ("master": the master volume)
  const char* group;
  std::vector<const char*> captions;  // radio options, or the one caption
  int low = 0, high = 1;              // bar and spin ranges (bar positions for colour bars)
};

// The tab captions, the colour-sample caption and the buttons, UTF-8.
inline constexpr const char* kSettingsTabs[] = {"システム設定", "音設定", "テキスト設定",
                                                "著作権表示"};
inline constexpr const char* kCreditsHeading = "本製品は以下の技術及び著作物を利用しております";
inline constexpr const char* kVoiceButton = "ボイス";
inline constexpr const char* kDefaultButton = "Default";
inline constexpr const char* kCloseButton = "閉じる";

class SettingsDialog : public ModalDialog {
 public:
  SettingsDialog(Engine& engine, SettingsScreens& screens);

  // On show: every control from the store (memory as default), the font box, then armed.
  void Show();

  const std::vector<DialogControl>& controls() const { return controls_; }
  // Shown: "簡易設定を使わない" only when the simple screen has a base picture.
  bool Visible(const DialogControl& control) const;
  // The control's value in settings units (a colour bar's value, not its position).
  int Value(const DialogControl& control) const;
  // The player changes a control: it takes the value and, once armed, acts on it.
  void Change(const DialogControl& control, int value);
  const DialogControl* Find(std::string_view name) const;

  // The font box: installed Japanese fonts, UTF-8 names as listed; the stored name is Shift-JIS.
  const std::vector<std::string>& fonts() const { return fonts_; }
  int selected_font() const { return selected_font_; }
  void ChooseFont(int index);

  // Buttons by caption ("ボイス", "Default", "閉じる"); false for an unknown caption.
  bool Press(std::string_view caption);
  void Close() { closed_ = true; }
  bool closed() const { return closed_; }
  int tab() const { return tab_; }
  void set_tab(int tab) { tab_ = tab; }
  bool armed() const { return armed_; }
  // The colour sample: TXBG_R, TXBG_G, TXBG_B.
  std::array<int, 3> SampleColour() const;

  // ModalDialog.
  std::string_view Kind() const override { return "settings"; }
  bool Answer(const std::vector<std::string>& words, std::string* error) override;
  bool DrawFrame() override;
  bool StaysOpen() const override { return !closed_; }

  // The state dump's `dialog` value.
  nlohmann::ordered_json StateJson() const;

  using View = std::function<bool(SettingsDialog&)>;
  static void SetView(View view);

 private:
  int ControlIndex(const DialogControl& control) const;
  void Act(const DialogControl& control, int value);
  void WriteSetting(SettingId id, int value);

  Engine& engine_;
  SettingsScreens& screens_;
  std::vector<DialogControl> controls_;
  std::vector<int> values_;
  std::vector<std::string> fonts_;  // UTF-8
  int selected_font_ = -1;
  int tab_ = 0;
  bool armed_ = false;
  bool closed_ = false;
};

}  // namespace quill
