#pragma once
// The player's settings: one table of every value with its type and default, the start-up read
// (`ReadSettings`) into memory, and write-through changes. Memory is authoritative after start-up.
#include <array>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/game_config.h"

namespace quill {

class SettingsStore;

// One value of the store, named as the store spells it, in start-up reading order.
// clang-format off
enum class SettingId : int {
  CDDir, GameDir, Left, Top, BGM_ENA, SE_ENA, Delay, GMode, SMode, Clear, Seen, SkipMode,
  BreakonSelect, MemorySaveMode, FontName, DirectSoundGlobal, AnimQuality, RC_MODE, WHEEL_MODE,
  CS_SWAP, EFX_CUT, CONFIG_MODE, DatePanel, TXWStyle, CV_THROUGH, CV1, CV2,
  SE0, SE1, SE2, SE3, SE4,
  SE_LVL0, SE_LVL1, SE_LVL2, SE_LVL3, SE_LVL4,
  Vol1, Vol2, Vol3, Vol4, FONTAA, FONTSIZE, FONTBold, PlayerName, PlayerName2, LastSaveSlot,
  GV00, GV01, GV02, GV03, GV04, GV05, GV06, GV07, GV08, GV09,
  TXBG_R, TXBG_G, TXBG_B, TXBG_A, TXBG_A2,
};
// clang-format on
constexpr int kSettingCount = static_cast<int>(SettingId::TXBG_A2) + 1;

// The n-th of a numbered run: SettingAt(SettingId::GV00, 3) is GV03, SettingAt(SE0, 2) is SE2.
constexpr SettingId SettingAt(SettingId first, int n) {
  return static_cast<SettingId>(static_cast<int>(first) + n);
}

enum class SettingType { kInt, kText };
// Where a default comes from when the store has no value.
enum class SettingDefault {
  kFixed,        // fixed_int / fixed_text
  kConfig,       // the `_config` value config_int / config_text
  kCentredLeft,  // (screen width - window width) / 2
  kCentredTop,   // (screen height - window height) / 2
  kGameFolder,   // the game folder followed by '/'
};

struct SettingInfo {
  SettingId id;
  const char* name;
  SettingType type;
  SettingDefault from;
  int32_t fixed_int;
  const char* fixed_text;
  int32_t GameConfig::*config_int;
  std::string GameConfig::*config_text;
};
// Every setting, indexed by SettingId.
std::span<const SettingInfo> SettingsTable();
const SettingInfo& InfoOf(SettingId id);
// The setting of a store name, ignoring case.
std::optional<SettingId> FindSetting(std::string_view name);

// What the start-up rules need from outside the store.
struct StartupFacts {
  // The desktop and the main window's outer size (window position; SMode 2 on a narrow screen).
  // The defaults are only placeholders: the engine passes the platform's figures.
  int screen_width = 1920, screen_height = 1080;
  int window_width = 800, window_height = 624;
  std::string game_folder;  // Shift-JIS
};

// The value a setting takes when the store has none.
int32_t DefaultInt(const SettingInfo& info, const GameConfig& config, const StartupFacts& facts);
std::string DefaultText(const SettingInfo& info, const GameConfig& config,
                        const StartupFacts& facts);

class Settings {
 public:
  int32_t Int(SettingId id) const { return ints_[static_cast<int>(id)]; }
  const std::string& Text(SettingId id) const { return texts_[static_cast<int>(id)]; }
  // In memory only (as start-up does for SMode 2).
  void SetInt(SettingId id, int32_t v) { ints_[static_cast<int>(id)] = v; }
  void SetText(SettingId id, std::string_view sjis) { texts_[static_cast<int>(id)] = sjis; }
  // In memory and written through to the store; false when the store could not keep it on disk.
  bool Change(SettingId id, int32_t v, SettingsStore& store);
  bool Change(SettingId id, std::string_view sjis, SettingsStore& store);

 private:
  std::array<int32_t, kSettingCount> ints_{};
  std::array<std::string, kSettingCount> texts_;
};

// The start-up read of every setting, in table order, with the start-up rules: a trailing '\'
// leaves CDDir, and SMode 0 on a screen at most 600 pixels wide becomes 2 in memory. Stored values
// are used unchecked, out of range or not.
Settings ReadSettings(const SettingsStore& store, const GameConfig& config,
                      const StartupFacts& facts);

// The system cells start-up fills from the settings: S006 (1 when either player name differs
// from its `_config` default), S050 DatePanel, S051 TXWStyle, S100 Clear.
struct SystemCell {
  int index;
  int32_t value;
};
std::vector<SystemCell> StartupSystemCells(const Settings& settings, const GameConfig& config);

// The state dump's `settings` value: an object of every setting by name, integers and UTF-8.
nlohmann::ordered_json SettingsJson(const Settings& settings);

}  // namespace quill
