#pragma once
// The game configuration script `_config`: one KEY:value per line, read once at start-up into
// GameConfig and the SpeakerTable. Texts are Shift-JIS bytes as the script stores them.
#include <array>
#include <cstdint>
#include <nlohmann/json_fwd.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Field n (0-based) of a comma-separated text: the bytes after the n-th comma up to the next comma
// or the end; empty when the text has fewer than n commas. No blanks are removed. A comma is never
// a Shift-JIS trail byte, so a byte scan is safe.
std::string CommaField(std::string_view text, int n);

constexpr int kSpeakerCount = 60;

struct Speaker {
  std::string name;     // Shift-JIS
  uint32_t colour = 0;  // 24-bit RGB, red in the low byte
  bool defined = false;
};
using SpeakerTable = std::array<Speaker, kSpeakerCount>;

// Member names are the keys as `_config` spells them. Integers default to 0, texts to empty.
struct GameConfig {
  using Rect = std::array<int32_t, 4>;  // x1, y1, x2, y2

  std::string TITLE, MAKER, MAKER_REG, GAME_ID;
  std::string DEFAULT_NAME, DEFAULT_NAME2, DEFAULT_NAME3, DEFAULT_NAME4;
  int32_t TXW_OFS_X = 0, TXW_OFS_Y = 0, TXW_SIZE_X = 0, TXW_SIZE_Y = 0;
  int32_t TXW_COLOR_R = 0, TXW_COLOR_G = 0, TXW_COLOR_B = 0, TXW_ALPHA = 0, TXW_ALPHA2 = 0;
  std::string FONT_NAME;
  int32_t FONT_SIZE = 0;
  int32_t SELECT_Y_POS = 0, SELECT_Y_PITCH = 0, SELECT_EXPAND = 0;
  int32_t CLICK_WAIT_OFS_X = 0, CLICK_WAIT_OFS_Y = 0, CLICK_WAIT_SIZE_X = 0, CLICK_WAIT_SIZE_Y = 0;
  int32_t CLICK_WAIT_PAT = 0, CLICK_WAIT_TIMING = 0;
  int32_t NP_OFS_X = 0, NP_OFS_Y = 0, NP_SZ_X = 0, NP_SZ_Y = 0;
  int32_t TX_OFS_X = 0, TX_OFS_Y = 0, TX_PITCH_X = 0, TX_PITCH_Y = 0;
  int32_t MOJI_MAX_X = 0, MOJI_MAX_Y = 0;
  int32_t TX2_OFS_X = 0, TX2_OFS_Y = 0, TX2_PITCH_X = 0, TX2_PITCH_Y = 0;
  int32_t MOJI_MAX2_X = 0, MOJI_MAX2_Y = 0;
  int32_t MGD_GRA = 0, MGD_GJP = 0, MGD_WAV = 0, MGD_OGG = 0, MGD_SE = 0, MGD_ANIM = 0;
  int32_t MGD_GDT = 0;
  int32_t VOLUME1 = 0, VOLUME2 = 0, VOLUME3 = 0, VOLUME4 = 0;
  int32_t TACHI_TYPE = 0;
  // Centre x of standing pictures: 1 picture (1 value), 2 (2), 3 (3), 4 (4).
  std::array<int32_t, 10> TACHI_DEFAULT = {400, 250, 550, 200, 400, 600, 100, 300, 500, 700};
  std::array<std::string, 2> CFG_GRA;  // base picture, "on" picture
  Rect CFG_WM_WIN{}, CFG_WM_FULL{}, CFG_GM_NORMAL{}, CFG_GM_FAST{}, CFG_TM_NORMAL{}, CFG_TM_FAST{},
      CFG_MS_STOP{}, CFG_MS_NONE{}, CFG_CLOSE{}, CFG_DETAIL{}, CFG_VOL_CVTEST{}, CFG_VOL_DEFAULT{};
  std::array<int32_t, 2> CFG_VOL_BAR{};  // width, height
  std::string CFG_VOL_KNOB;
  // CFG_VOL1 … CFG_VOL4: field 0 goes to CFG_VOL_X[k - 1], field 1 to CFG_VOL_Y[k - 1].
  std::array<int32_t, 4> CFG_VOL_X{}, CFG_VOL_Y{};
};

// What one key holds, for code that walks every key (the state dump, tests).
enum class ConfigKind { kInt, kText };
struct ConfigKey {
  const char* name;  // upper case, as `_config` spells it
  ConfigKind kind;
  int fields;  // 1 for a plain key, else the number of comma-separated fields
  // Field i (0 <= i < fields) of the key inside a GameConfig.
  int32_t* (*int_at)(GameConfig&, int);
  std::string* (*text_at)(GameConfig&, int);
};
// Every key but NAME, in the configuration's own order.
std::span<const ConfigKey> GameConfigKeys();

struct LoadedGameConfig {
  GameConfig config;
  SpeakerTable speakers;
  // Values that are not decimal numbers, NAME indexes outside the table and similar slips, as
  // "line N: …" (UTF-8). Reading goes on past each one.
  std::vector<std::string> problems;
};

// Reads the unmasked bytes of `_config` (Shift-JIS lines, each ending in NUL; a last line without
// its NUL counts too). Empty bytes (a missing script) give every default.
LoadedGameConfig LoadGameConfig(std::span<const uint8_t> script);
LoadedGameConfig LoadGameConfig(std::string_view script);

// The state dump's `config` value: an object of every key (upper case) with its value; integers,
// UTF-8 texts, lists for multi-value keys. Written as the next value of `out`.
nlohmann::ordered_json GameConfigJson(const GameConfig& config);
// The state dump's `speakers` value: a list of {"index", "name", "colour"} for defined entries.
nlohmann::ordered_json SpeakersJson(const SpeakerTable& speakers);

}  // namespace quill
