#include "persist/settings.h"

#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "common/text_util.h"
#include "persist/settings_store.h"

namespace quill {
namespace {

using S = SettingId;
using T = SettingType;
using D = SettingDefault;
using C = GameConfig;

constexpr SettingInfo Int(S id, const char* name, int32_t def) {
  return {id, name, T::kInt, D::kFixed, def, nullptr, nullptr, nullptr};
}
constexpr SettingInfo IntFrom(S id, const char* name, int32_t C::*key) {
  return {id, name, T::kInt, D::kConfig, 0, nullptr, key, nullptr};
}
constexpr SettingInfo IntRule(S id, const char* name, D from) {
  return {id, name, T::kInt, from, 0, nullptr, nullptr, nullptr};
}
constexpr SettingInfo Text(S id, const char* name, const char* def) {
  return {id, name, T::kText, D::kFixed, 0, def, nullptr, nullptr};
}
constexpr SettingInfo TextFrom(S id, const char* name, std::string C::*key) {
  return {id, name, T::kText, D::kConfig, 0, nullptr, nullptr, key};
}

constexpr SettingInfo kTable[] = {
    Text(S::CDDir, "CDDir", "NULL"),
    {S::GameDir, "GameDir", T::kText, D::kGameFolder, 0, nullptr, nullptr, nullptr},
    IntRule(S::Left, "Left", D::kCentredLeft),
    IntRule(S::Top, "Top", D::kCentredTop),
    Int(S::BGM_ENA, "BGM_ENA", 1),
    Int(S::SE_ENA, "SE_ENA", 1),
    Int(S::Delay, "Delay", 0),
    Int(S::GMode, "GMode", 0),
    Int(S::SMode, "SMode", 0),
    Int(S::Clear, "Clear", 0),
    Int(S::Seen, "Seen", 1),
    Int(S::SkipMode, "SkipMode", 0),
    Int(S::BreakonSelect, "BreakonSelect", 1),
    Int(S::MemorySaveMode, "MemorySaveMode", 0),
    TextFrom(S::FontName, "FontName", &C::FONT_NAME),
    Int(S::DirectSoundGlobal, "DirectSoundGlobal", 0),
    Int(S::AnimQuality, "AnimQuality", 0),
    Int(S::RC_MODE, "RC_MODE", 0),
    Int(S::WHEEL_MODE, "WHEEL_MODE", 0),
    Int(S::CS_SWAP, "CS_SWAP", 0),
    Int(S::EFX_CUT, "EFX_CUT", 1),
    Int(S::CONFIG_MODE, "CONFIG_MODE", 0),
    Int(S::DatePanel, "DatePanel", 1),
    Int(S::TXWStyle, "TXWStyle", 1),
    Int(S::CV_THROUGH, "CV_THROUGH", 0),
    Int(S::CV1, "CV1", 1),
    Int(S::CV2, "CV2", 1),
    Int(S::SE0, "SE0", 1),
    Int(S::SE1, "SE1", 1),
    Int(S::SE2, "SE2", 1),
    Int(S::SE3, "SE3", 1),
    Int(S::SE4, "SE4", 1),
    Int(S::SE_LVL0, "SE_LVL0", 0),
    Int(S::SE_LVL1, "SE_LVL1", 0),
    Int(S::SE_LVL2, "SE_LVL2", 0),
    Int(S::SE_LVL3, "SE_LVL3", 0),
    Int(S::SE_LVL4, "SE_LVL4", 0),
    IntFrom(S::Vol1, "Vol1", &C::VOLUME1),
    IntFrom(S::Vol2, "Vol2", &C::VOLUME2),
    IntFrom(S::Vol3, "Vol3", &C::VOLUME3),
    IntFrom(S::Vol4, "Vol4", &C::VOLUME4),
    Int(S::FONTAA, "FONTAA", 0),
    Int(S::FONTSIZE, "FONTSIZE", 19),
    Int(S::FONTBold, "FONTBold", 0),
    TextFrom(S::PlayerName, "PlayerName", &C::DEFAULT_NAME),
    TextFrom(S::PlayerName2, "PlayerName2", &C::DEFAULT_NAME2),
    Int(S::LastSaveSlot, "LastSaveSlot", 0),
    Int(S::GV00, "GV00", 0),
    Int(S::GV01, "GV01", 0),
    Int(S::GV02, "GV02", 0),
    Int(S::GV03, "GV03", 0),
    Int(S::GV04, "GV04", 0),
    Int(S::GV05, "GV05", 0),
    Int(S::GV06, "GV06", 0),
    Int(S::GV07, "GV07", 0),
    Int(S::GV08, "GV08", 0),
    Int(S::GV09, "GV09", 0),
    IntFrom(S::TXBG_R, "TXBG_R", &C::TXW_COLOR_R),
    IntFrom(S::TXBG_G, "TXBG_G", &C::TXW_COLOR_G),
    IntFrom(S::TXBG_B, "TXBG_B", &C::TXW_COLOR_B),
    IntFrom(S::TXBG_A, "TXBG_A", &C::TXW_ALPHA),
    IntFrom(S::TXBG_A2, "TXBG_A2", &C::TXW_ALPHA2),
};
constexpr bool RowsInIdOrder() {
  for (int i = 0; i < kSettingCount; ++i) {
    if (static_cast<int>(kTable[i].id) != i) return false;
  }
  return true;
}
static_assert(std::size(kTable) == kSettingCount && RowsInIdOrder(), "one row per SettingId");

// One trailing backslash, unless that byte is the second half of a two-byte character.
void RemoveTrailingBackslash(std::string* sjis) {
  size_t last = 0;  // start of the last character
  for (size_t i = 0; i < sjis->size();) {
    last = i;
    i += IsLeadByte(static_cast<uint8_t>((*sjis)[i])) ? 2 : 1;
  }
  if (!sjis->empty() && last == sjis->size() - 1 && sjis->back() == '\\') sjis->pop_back();
}

}  // namespace

std::span<const SettingInfo> SettingsTable() { return kTable; }

const SettingInfo& InfoOf(SettingId id) { return kTable[static_cast<int>(id)]; }

std::optional<SettingId> FindSetting(std::string_view name) {
  for (const SettingInfo& info : kTable) {
    if (EqualsIgnoreCase(info.name, name)) return info.id;
  }
  return std::nullopt;
}

int32_t DefaultInt(const SettingInfo& info, const GameConfig& config, const StartupFacts& facts) {
  switch (info.from) {
    case D::kFixed:
      return info.fixed_int;
    case D::kConfig:
      return info.config_int ? config.*info.config_int : 0;
    case D::kCentredLeft:
      return (facts.screen_width - facts.window_width) / 2;
    case D::kCentredTop:
      return (facts.screen_height - facts.window_height) / 2;
    case D::kGameFolder:
      return 0;
  }
  return 0;
}

std::string DefaultText(const SettingInfo& info, const GameConfig& config,
                        const StartupFacts& facts) {
  switch (info.from) {
    case D::kFixed:
      return info.fixed_text ? info.fixed_text : "";
    case D::kConfig:
      return info.config_text ? config.*info.config_text : std::string();
    case D::kGameFolder: {
      std::string folder = facts.game_folder;
      if (folder.empty() || folder.back() != '/') folder += '/';
      return folder;
    }
    case D::kCentredLeft:
    case D::kCentredTop:
      return {};
  }
  return {};
}

bool Settings::Change(SettingId id, int32_t v, SettingsStore& store) {
  SetInt(id, v);
  return store.WriteInt(InfoOf(id).name, v);
}

bool Settings::Change(SettingId id, std::string_view sjis, SettingsStore& store) {
  SetText(id, sjis);
  return store.WriteString(InfoOf(id).name, sjis);
}

Settings ReadSettings(const SettingsStore& store, const GameConfig& config,
                      const StartupFacts& facts) {
  Settings s;
  for (const SettingInfo& info : kTable) {
    if (info.type == T::kInt) {
      s.SetInt(info.id, store.ReadInt(info.name, DefaultInt(info, config, facts)));
    } else {
      s.SetText(info.id, store.ReadString(info.name, DefaultText(info, config, facts)));
    }
  }
  std::string cd = s.Text(S::CDDir);
  RemoveTrailingBackslash(&cd);
  s.SetText(S::CDDir, cd);
  // A screen too narrow for the window gets the borderless window at (0, 0); not stored.
  if (s.Int(S::SMode) == 0 && facts.screen_width <= 600) s.SetInt(S::SMode, 2);
  return s;
}

std::vector<SystemCell> StartupSystemCells(const Settings& settings, const GameConfig& config) {
  bool renamed = settings.Text(S::PlayerName) != config.DEFAULT_NAME ||
                 settings.Text(S::PlayerName2) != config.DEFAULT_NAME2;
  return {{6, renamed ? 1 : 0},
          {50, settings.Int(S::DatePanel)},
          {51, settings.Int(S::TXWStyle)},
          {100, settings.Int(S::Clear)}};
}

nlohmann::ordered_json SettingsJson(const Settings& settings) {
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const SettingInfo& info : kTable) {
    if (info.type == T::kInt) {
      out[info.name] = settings.Int(info.id);
    } else {
      out[info.name] = SjisToUtf8Lossy(settings.Text(info.id));
    }
  }
  return out;
}

}  // namespace quill
