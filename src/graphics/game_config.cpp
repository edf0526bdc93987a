#include "graphics/game_config.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "common/text_util.h"

namespace quill {
namespace {

// clang-format off
#define QUILL_INT_KEY(K) \
  {#K, ConfigKind::kInt, 1, [](GameConfig& c, int) -> int32_t* { return &c.K; }, nullptr}
#define QUILL_TEXT_KEY(K) \
  {#K, ConfigKind::kText, 1, nullptr, [](GameConfig& c, int) -> std::string* { return &c.K; }}
#define QUILL_RECT_KEY(K) \
  {#K, ConfigKind::kInt, 4, [](GameConfig& c, int i) -> int32_t* { return &c.K[i]; }, nullptr}
#define QUILL_VOL_KEY(K, k) \
  {#K, ConfigKind::kInt, 2, \
   [](GameConfig& c, int i) -> int32_t* { return i == 0 ? &c.CFG_VOL_X[k] : &c.CFG_VOL_Y[k]; }, \
   nullptr}
// clang-format on

const ConfigKey kKeys[] = {
    QUILL_TEXT_KEY(TITLE),
    QUILL_TEXT_KEY(MAKER),
    QUILL_TEXT_KEY(MAKER_REG),
    QUILL_TEXT_KEY(GAME_ID),
    QUILL_TEXT_KEY(DEFAULT_NAME),
    QUILL_TEXT_KEY(DEFAULT_NAME2),
    QUILL_TEXT_KEY(DEFAULT_NAME3),
    QUILL_TEXT_KEY(DEFAULT_NAME4),
    QUILL_INT_KEY(TXW_OFS_X),
    QUILL_INT_KEY(TXW_OFS_Y),
    QUILL_INT_KEY(TXW_SIZE_X),
    QUILL_INT_KEY(TXW_SIZE_Y),
    QUILL_INT_KEY(TXW_COLOR_R),
    QUILL_INT_KEY(TXW_COLOR_G),
    QUILL_INT_KEY(TXW_COLOR_B),
    QUILL_INT_KEY(TXW_ALPHA),
    QUILL_INT_KEY(TXW_ALPHA2),
    QUILL_TEXT_KEY(FONT_NAME),
    QUILL_INT_KEY(FONT_SIZE),
    QUILL_INT_KEY(SELECT_Y_POS),
    QUILL_INT_KEY(SELECT_Y_PITCH),
    QUILL_INT_KEY(SELECT_EXPAND),
    QUILL_INT_KEY(CLICK_WAIT_OFS_X),
    QUILL_INT_KEY(CLICK_WAIT_OFS_Y),
    QUILL_INT_KEY(CLICK_WAIT_SIZE_X),
    QUILL_INT_KEY(CLICK_WAIT_SIZE_Y),
    QUILL_INT_KEY(CLICK_WAIT_PAT),
    QUILL_INT_KEY(CLICK_WAIT_TIMING),
    QUILL_INT_KEY(NP_OFS_X),
    QUILL_INT_KEY(NP_OFS_Y),
    QUILL_INT_KEY(NP_SZ_X),
    QUILL_INT_KEY(NP_SZ_Y),
    QUILL_INT_KEY(TX_OFS_X),
    QUILL_INT_KEY(TX_OFS_Y),
    QUILL_INT_KEY(TX_PITCH_X),
    QUILL_INT_KEY(TX_PITCH_Y),
    QUILL_INT_KEY(MOJI_MAX_X),
    QUILL_INT_KEY(MOJI_MAX_Y),
    QUILL_INT_KEY(TX2_OFS_X),
    QUILL_INT_KEY(TX2_OFS_Y),
    QUILL_INT_KEY(TX2_PITCH_X),
    QUILL_INT_KEY(TX2_PITCH_Y),
    QUILL_INT_KEY(MOJI_MAX2_X),
    QUILL_INT_KEY(MOJI_MAX2_Y),
    QUILL_INT_KEY(MGD_GRA),
    QUILL_INT_KEY(MGD_GJP),
    QUILL_INT_KEY(MGD_WAV),
    QUILL_INT_KEY(MGD_OGG),
    QUILL_INT_KEY(MGD_SE),
    QUILL_INT_KEY(MGD_ANIM),
    QUILL_INT_KEY(MGD_GDT),
    QUILL_INT_KEY(VOLUME1),
    QUILL_INT_KEY(VOLUME2),
    QUILL_INT_KEY(VOLUME3),
    QUILL_INT_KEY(VOLUME4),
    QUILL_INT_KEY(TACHI_TYPE),
    {"TACHI_DEFAULT", ConfigKind::kInt, 10,
     [](GameConfig& c, int i) -> int32_t* { return &c.TACHI_DEFAULT[i]; }, nullptr},
    {"CFG_GRA", ConfigKind::kText, 2, nullptr,
     [](GameConfig& c, int i) -> std::string* { return &c.CFG_GRA[i]; }},
    QUILL_RECT_KEY(CFG_WM_WIN),
    QUILL_RECT_KEY(CFG_WM_FULL),
    QUILL_RECT_KEY(CFG_GM_NORMAL),
    QUILL_RECT_KEY(CFG_GM_FAST),
    QUILL_RECT_KEY(CFG_TM_NORMAL),
    QUILL_RECT_KEY(CFG_TM_FAST),
    QUILL_RECT_KEY(CFG_MS_STOP),
    QUILL_RECT_KEY(CFG_MS_NONE),
    QUILL_RECT_KEY(CFG_CLOSE),
    QUILL_RECT_KEY(CFG_DETAIL),
    QUILL_RECT_KEY(CFG_VOL_CVTEST),
    QUILL_RECT_KEY(CFG_VOL_DEFAULT),
    {"CFG_VOL_BAR", ConfigKind::kInt, 2,
     [](GameConfig& c, int i) -> int32_t* { return &c.CFG_VOL_BAR[i]; }, nullptr},
    QUILL_TEXT_KEY(CFG_VOL_KNOB),
    QUILL_VOL_KEY(CFG_VOL1, 0),
    QUILL_VOL_KEY(CFG_VOL2, 1),
    QUILL_VOL_KEY(CFG_VOL3, 2),
    QUILL_VOL_KEY(CFG_VOL4, 3),
};

#undef QUILL_INT_KEY
#undef QUILL_TEXT_KEY
#undef QUILL_RECT_KEY
#undef QUILL_VOL_KEY

const ConfigKey* FindKey(std::string_view upper) {
  for (const ConfigKey& k : kKeys) {
    if (upper == k.name) return &k;
  }
  return nullptr;
}

size_t CountCommas(std::string_view text) { return std::count(text.begin(), text.end(), ','); }

enum class Converted { kNone, kPartial, kWhole };

// The configuration's integer rule. No digits (an empty field too): *out stays. Digits followed by
// anything but blanks: the leading number, reported as a slip by the caller.
Converted ConvertInt(std::string_view text, int32_t* out) {
  size_t consumed = 0;
  int32_t v = ParseInt(text, &consumed);
  if (consumed == 0) return Converted::kNone;
  *out = v;
  return text.find_first_not_of(" \t", consumed) == std::string_view::npos ? Converted::kWhole
                                                                           : Converted::kPartial;
}

int ColourDigit(char c) {
  if (c >= '0' && c <= '9') return 16 * (c - '0');
  if (c >= 'A' && c <= 'F') return 16 * (10 + c - 'A');
  if (c == 'G') return 255;
  return 0;
}

class Reader {
 public:
  explicit Reader(LoadedGameConfig* out) : out_(out) {}

  void Line(int number, std::string_view line) {
    line_ = number;
    if (line.empty() || line[0] == ';' || line[0] == '*') return;
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return;
    std::string key = ToUpperSjis(line.substr(0, colon));
    std::string_view value = line.substr(colon + 1);
    if (key == "NAME") return Name(value);
    const ConfigKey* k = FindKey(key);
    if (!k) return;
    if (k->fields == 1) {
      if (k->kind == ConfigKind::kText) {
        *k->text_at(out_->config, 0) = std::string(value);
      } else {
        Int(k->name, value, k->int_at(out_->config, 0));
      }
      return;
    }
    // Fields past the last comma are absent: an integer keeps its value (so three values replace
    // only the first three of ten), a text becomes empty.
    size_t present = CountCommas(value) + 1;
    for (int i = 0; i < k->fields; ++i) {
      std::string field = CommaField(value, i);
      if (k->kind == ConfigKind::kText) {
        *k->text_at(out_->config, i) = field;
      } else if (static_cast<size_t>(i) < present) {
        Int(k->name, field, k->int_at(out_->config, i));
      }
    }
  }

 private:
  void Int(std::string_view key, std::string_view text, int32_t* field) {
    if (ConvertInt(text, field) != Converted::kWhole) {
      Problem(std::string(key) + ": \"" + SjisToUtf8Lossy(text) + "\" is not a decimal number");
    }
  }

  void Name(std::string_view value) {
    std::string index_text = CommaField(value, 0);
    int32_t n = 0;
    Converted how = ConvertInt(index_text, &n);
    if (how != Converted::kWhole) {
      Problem("NAME: \"" + SjisToUtf8Lossy(index_text) + "\" is not a speaker number");
      if (how == Converted::kNone) return;
    }
    if (n < 0 || n >= kSpeakerCount) {
      Problem("NAME: speaker " + std::to_string(n) + " is outside 0-" +
              std::to_string(kSpeakerCount - 1));
      return;
    }
    Speaker& s = out_->speakers[n];
    s.name = CommaField(value, 1);
    s.defined = true;
    std::string c = ToUpperSjis(CommaField(value, 2));
    if (c.empty()) {
      s.colour = 0xFFFFFF;
      return;
    }
    // A colour of fewer than three digits: the missing ones count as 0.
    uint32_t rgb[3] = {0, 0, 0};
    for (size_t i = 0; i < 3 && i < c.size(); ++i) rgb[i] = ColourDigit(c[i]);
    s.colour = rgb[0] | (rgb[1] << 8) | (rgb[2] << 16);
  }

  void Problem(const std::string& what) {
    out_->problems.push_back("line " + std::to_string(line_) + ": " + what);
  }

  LoadedGameConfig* out_;
  int line_ = 0;
};

}  // namespace

std::string CommaField(std::string_view text, int n) {
  if (n < 0) return {};
  size_t start = 0;
  for (int i = 0; i < n; ++i) {
    size_t comma = text.find(',', start);
    if (comma == std::string_view::npos) return {};
    start = comma + 1;
  }
  size_t end = text.find(',', start);
  return std::string(text.substr(start, end == std::string_view::npos ? text.npos : end - start));
}

std::span<const ConfigKey> GameConfigKeys() { return kKeys; }

LoadedGameConfig LoadGameConfig(std::string_view script) {
  LoadedGameConfig out;
  Reader reader(&out);
  size_t pos = 0;
  int number = 1;
  while (pos < script.size()) {
    size_t nul = script.find('\0', pos);
    size_t end = nul == std::string_view::npos ? script.size() : nul;
    std::string_view line = script.substr(pos, end - pos);
    if (line == "END") break;
    reader.Line(number, line);
    pos = end + 1;
    ++number;
  }
  return out;
}

LoadedGameConfig LoadGameConfig(std::span<const uint8_t> script) {
  return LoadGameConfig(
      std::string_view(reinterpret_cast<const char*>(script.data()), script.size()));
}

nlohmann::ordered_json GameConfigJson(const GameConfig& config) {
  // The accessors only hand out addresses; nothing is written through them here.
  GameConfig& c = const_cast<GameConfig&>(config);
  nlohmann::ordered_json out = nlohmann::ordered_json::object();
  for (const ConfigKey& k : kKeys) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::array();
    for (int i = 0; i < k.fields; ++i) {
      if (k.kind == ConfigKind::kText) {
        fields.push_back(SjisToUtf8Lossy(*k.text_at(c, i)));
      } else {
        fields.push_back(*k.int_at(c, i));
      }
    }
    // A key of one field is its value; a multi-value key is the list.
    out[k.name] = k.fields > 1 ? std::move(fields) : std::move(fields[0]);
  }
  return out;
}

nlohmann::ordered_json SpeakersJson(const SpeakerTable& speakers) {
  nlohmann::ordered_json out = nlohmann::ordered_json::array();
  for (int i = 0; i < kSpeakerCount; ++i) {
    const Speaker& s = speakers[i];
    if (!s.defined) continue;
    out.push_back({{"index", i}, {"name", SjisToUtf8Lossy(s.name)}, {"colour", s.colour}});
  }
  return out;
}

}  // namespace quill
