#include "persist/settings_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "engine/engine.h"
#include "persist/settings_screens.h"
#include "text/text_font.h"

namespace quill {
namespace {

using K = DialogControlKind;

std::vector<DialogControl> BuildControls() {
  return {
      {0, K::Radio, "SMode", "スクリーンモード", {"ウィンドウ", "全画面"}},
      {0, K::Radio, "GMode", "グラフィック表示", {"通常", "高速"}},
      {0, K::Radio, "Delay", "文字表示速度", {"通常", "高速"}},
      {0,
       K::Radio,
       "RC_MODE",
       "右クリック割り当て",
       {"メニュー", "枠消し", "スキップ", "オート", "パニック"}},
      {0, K::Radio, "WHEEL_MODE", "ホイール割り当て", {"シーン巻き戻し", "バックログ"}},
      {0,
       K::Radio,
       "CS_SWAP",
       "Ctrl Shift",
       {"Ctrl-スキップ Shift-オート", "Ctrl-オート Shift-スキップ"}},
      {0, K::Check, "Seen", "", {"未読でスキップ等を止める"}},
      {0, K::Check, "BreakonSelect", "", {"選択時にスキップ等を解除"}},
      {0, K::Check, "MemorySaveMode", "", {"メモリ使用を節約する（推奨しません）"}},
      {0, K::Check, "EFX_CUT", "", {"スキップ時、揺らし等を抑制"}},
      {0, K::Check, "CONFIG_MODE", "", {"簡易設定を使わない"}},
      {1, K::Bar, "master", "ボリューム", {"全体音量"}, -3000, 0},
      {1, K::Bar, "Vol3", "", {"BGM"}, -3000, 0},
      {1, K::Bar, "Vol1", "", {kVoiceButton}, -3000, 0},
      {1, K::Bar, "Vol2", "", {"その他"}, -3000, 0},
      {1, K::Check, "CV1", "音声出力", {"ボイス"}},
      {1, K::Check, "BGM_ENA", "", {"BGM"}},
      {1, K::Check, "SE_ENA", "", {"効果音"}},
      {1, K::Check, "CV_THROUGH", "", {"クリックで音声再生を止めない"}},
      {2, K::Spin, "FONTSIZE", "テキスト表示", {"フォントサイズ"}, 18, 24},
      {2, K::Check, "FONTBold", "", {"太字"}},
      {2, K::FontList, "FontName", "", {"フォント指定(※)"}},
      {2, K::ColourBar, "TXBG_R", "テキスト背景", {"R"}, -255, 0},
      {2, K::ColourBar, "TXBG_G", "", {"G"}, -255, 0},
      {2, K::ColourBar, "TXBG_B", "", {"B"}, -255, 0},
      {2, K::ColourBar, "TXBG_A", "", {"透過"}, -255, 0},
  };
}

SettingsDialog::View& CurrentView() {
  static SettingsDialog::View view;
  return view;
}

bool ParseInt(const std::string& word, int* out) {
  char* end = nullptr;
  long v = std::strtol(word.c_str(), &end, 10);
  if (word.empty() || *end != '\0') return false;
  *out = static_cast<int>(std::clamp<long>(v, -1000000, 1000000));
  return true;
}

}  // namespace

SettingsDialog::SettingsDialog(Engine& engine, SettingsScreens& screens)
    : engine_(engine), screens_(screens), controls_(BuildControls()) {
  values_.assign(controls_.size(), 0);
}

void SettingsDialog::SetView(View view) { CurrentView() = std::move(view); }

void SettingsDialog::Show() {
  armed_ = false;
  closed_ = false;
  const Settings& s = engine_.settings();
  const SettingsStore* store = engine_.settings_store();
  for (size_t i = 0; i < controls_.size(); ++i) {
    const DialogControl& c = controls_[i];
    if (c.kind == K::FontList) continue;
    if (std::string_view(c.name) == "master") {
      values_[i] = screens_.master_volume();
      continue;
    }
    SettingId id = *FindSetting(c.name);
    int32_t memory = s.Int(id);
    values_[i] = store ? store->ReadInt(InfoOf(id).name, memory) : memory;
  }
  // The font box: the installed Japanese fonts, and the stored name even when it names a font
  // only the font rules know (the original's "ＭＳ ゴシック" …).
  fonts_ = JapaneseFontFamilies();
  std::string current =
      SjisToUtf8Lossy(store ? store->ReadString("FontName", s.Text(SettingId::FontName))
                            : s.Text(SettingId::FontName));
  for (const std::string& alias : StoredFontNames()) {
    if (std::find(fonts_.begin(), fonts_.end(), alias) == fonts_.end()) fonts_.push_back(alias);
  }
  auto it = std::find(fonts_.begin(), fonts_.end(), current);
  if (it == fonts_.end() && !current.empty()) {
    fonts_.push_back(current);
    it = fonts_.end() - 1;
  }
  selected_font_ = it == fonts_.end() ? -1 : static_cast<int>(it - fonts_.begin());
  armed_ = true;
}

bool SettingsDialog::Visible(const DialogControl& control) const {
  if (std::string_view(control.name) == "CONFIG_MODE") {
    return !engine_.config().CFG_GRA[0].empty();
  }
  return true;
}

int SettingsDialog::ControlIndex(const DialogControl& control) const {
  return static_cast<int>(&control - controls_.data());
}

int SettingsDialog::Value(const DialogControl& control) const {
  return values_[ControlIndex(control)];
}

const DialogControl* SettingsDialog::Find(std::string_view name) const {
  for (const DialogControl& c : controls_) {
    std::string_view n(c.name);
    if (n.size() == name.size() && std::equal(n.begin(), n.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) ==
                 std::tolower(static_cast<unsigned char>(b));
        })) {
      return &c;
    }
  }
  return nullptr;
}

std::array<int, 3> SettingsDialog::SampleColour() const {
  return {Value(*Find("TXBG_R")), Value(*Find("TXBG_G")), Value(*Find("TXBG_B"))};
}

void SettingsDialog::Change(const DialogControl& control, int value) {
  switch (control.kind) {
    case K::Spin:
      value = std::clamp(value, control.low, control.high);
      break;
    case K::Bar:
      value = std::clamp(value, control.low, control.high);
      break;
    case K::ColourBar:
      value = std::clamp(value, -control.high, -control.low);
      break;
    case K::Check:
      value = value != 0;
      break;
    case K::Radio:
      value = std::clamp(value, 0, static_cast<int>(control.captions.size()) - 1);
      break;
    case K::FontList:
      return;
  }
  values_[ControlIndex(control)] = value;
  if (armed_) Act(control, value);
}

void SettingsDialog::WriteSetting(SettingId id, int value) { screens_.Write(id, value); }

void SettingsDialog::Act(const DialogControl& control, int value) {
  std::string_view name(control.name);
  if (name == "master") {
    screens_.set_master_volume(value);
    screens_.ApplyVolumes();
    return;
  }
  SettingId id = *FindSetting(name);
  WriteSetting(id, value);
  switch (control.kind) {
    case K::Bar:
      screens_.ApplyVolumes();
      break;
    case K::Spin:
      screens_.MarkTextLookChanged();
      screens_.RebuildFont();
      break;
    case K::ColourBar:
      screens_.MarkTextLookChanged();
      break;
    case K::Check:
      if (id == SettingId::FONTBold) {
        screens_.MarkTextLookChanged();
        screens_.RebuildFont();
      } else if (id == SettingId::BGM_ENA) {
        screens_.MusicSwitched(value != 0);
      }
      break;
    default:
      break;
  }
}

void SettingsDialog::ChooseFont(int index) {
  if (index < 0 || index >= static_cast<int>(fonts_.size())) return;
  selected_font_ = index;
  if (!armed_) return;
  screens_.WriteText(SettingId::FontName, Utf8ToSjisLossy(fonts_[index]));
  screens_.MarkTextLookChanged();
  screens_.RebuildFont();
}

bool SettingsDialog::Press(std::string_view caption) {
  if (caption == kVoiceButton) {
    screens_.PlayVoiceTest();
  } else if (caption == kDefaultButton) {
    const GameConfig& config = engine_.config();
    const std::pair<const char*, int> defaults[] = {{"TXBG_R", config.TXW_COLOR_R},
                                                    {"TXBG_G", config.TXW_COLOR_G},
                                                    {"TXBG_B", config.TXW_COLOR_B},
                                                    {"TXBG_A", config.TXW_ALPHA}};
    for (const auto& [name, value] : defaults) Change(*Find(name), value);
  } else if (caption == kCloseButton) {
    Close();
  } else {
    return false;
  }
  return true;
}

bool SettingsDialog::Answer(const std::vector<std::string>& words, std::string* error) {
  const std::string verb = words.empty() ? "" : words[0];
  if (verb == "close" && words.size() == 1) {
    Close();
    return true;
  }
  if (verb == "press" && words.size() >= 2) {
    std::string label = words[1];
    for (size_t i = 2; i < words.size(); ++i) label += " " + words[i];
    if (Press(label)) return true;
    *error = "the settings dialog has no button '" + label + "'";
    return false;
  }
  if (verb == "tab" && words.size() == 2) {
    int tab = 0;
    if (ParseInt(words[1], &tab) && tab >= 0 && tab < 4) {
      tab_ = tab;
      return true;
    }
    *error = "the settings dialog has tabs 0 to 3";
    return false;
  }
  if (verb == "set" && words.size() >= 3) {
    const DialogControl* control = Find(words[1]);
    if (!control || !Visible(*control)) {
      *error = "the settings dialog has no control for '" + words[1] + "'";
      return false;
    }
    tab_ = control->tab;
    if (control->kind == K::FontList) {
      std::string font = words[2];
      for (size_t i = 3; i < words.size(); ++i) font += " " + words[i];
      auto it = std::find(fonts_.begin(), fonts_.end(), font);
      if (it == fonts_.end()) {
        *error = "the font list holds no '" + font + "'";
        return false;
      }
      ChooseFont(static_cast<int>(it - fonts_.begin()));
      return true;
    }
    int value = 0;
    if (words.size() != 3 || !ParseInt(words[2], &value)) {
      *error = "dialog set " + words[1] + " needs a number";
      return false;
    }
    Change(*control, value);
    return true;
  }
  *error = "the settings dialog answers 'set NAME VALUE', 'press LABEL', 'tab N' or 'close'";
  return false;
}

bool SettingsDialog::DrawFrame() {
  if (closed_) return false;
  if (!CurrentView()) {
    Close();
    return false;
  }
  return CurrentView()(*this) && !closed_;
}

nlohmann::ordered_json SettingsDialog::StateJson() const {
  return {{"kind", "settings"}, {"tab", tab_}};
}

}  // namespace quill
