#include "persist/settings_store.h"

#include <cstdio>
#include <system_error>

#include "common/file_util.h"
#include "common/sjis.h"
#include "common/text_util.h"

namespace quill {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kIntTag = "int:";
constexpr std::string_view kTextTag = "str:";
constexpr size_t kMaxPathPartBytes = 200;

bool IsNameByte(char c) { return c > 0x20 && c < 0x7F && c != '='; }

bool IsStorableName(std::string_view name) {
  if (name.empty() || name[0] == ';' || name[0] == '#') return false;
  for (char c : name) {
    if (!IsNameByte(c)) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// Strict decimal: optional sign, digits, within 32 bits.
std::optional<int32_t> ParseStoredInt(std::string_view s) {
  s = TrimBlanks(s);
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return std::nullopt;
  }
  if (negative) v = -v;
  if (v > INT32_MAX || v < INT32_MIN) return std::nullopt;
  return static_cast<int32_t>(v);
}

void AppendHex(std::string* out, uint8_t b) {
  static const char kHex[] = "0123456789ABCDEF";
  *out += "\\x";
  *out += kHex[b >> 4];
  *out += kHex[b & 15];
}

// UTF-8 (or ASCII) bytes with the file's escapes applied to ASCII specials.
void AppendEscaped(std::string* out, std::string_view utf8) {
  for (char ch : utf8) {
    uint8_t b = static_cast<uint8_t>(ch);
    switch (ch) {
      case '\\':
        *out += "\\\\";
        break;
      case '\n':
        *out += "\\n";
        break;
      case '\r':
        *out += "\\r";
        break;
      case '\t':
        *out += "\\t";
        break;
      default:
        if (b < 0x20 || b == 0x7F) {
          AppendHex(out, b);
        } else {
          *out += ch;
        }
    }
  }
}

// A Shift-JIS piece converts when it comes back unchanged: code page 932 maps a few characters
// from two places to one, and those must stay raw bytes to round-trip.
std::optional<std::string> RoundTripUtf8(std::string_view sjis) {
  Conversion to = SjisToUtf8(sjis);
  if (!to.ok()) return std::nullopt;
  Conversion back = Utf8ToSjis(to.text);
  if (!back.ok() || back.text != sjis) return std::nullopt;
  return std::move(to.text);
}

std::string EncodeText(std::string_view sjis) {
  std::string out;
  if (std::optional<std::string> whole = RoundTripUtf8(sjis)) {
    AppendEscaped(&out, *whole);
    return out;
  }
  // Character by character, so that only the bytes that do not convert become \xHH.
  for (size_t i = 0; i < sjis.size();) {
    uint8_t b = static_cast<uint8_t>(sjis[i]);
    size_t n = (IsLeadByte(b) && i + 1 < sjis.size()) ? 2 : 1;
    std::string_view piece = sjis.substr(i, n);
    if (b < 0x80) {
      AppendEscaped(&out, piece);
    } else if (std::optional<std::string> utf8 = RoundTripUtf8(piece)) {
      out += *utf8;
    } else {
      for (char c : piece) AppendHex(&out, static_cast<uint8_t>(c));
    }
    i += n;
  }
  return out;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The file's text back to Shift-JIS; nullopt for a broken escape or text that is not UTF-8 of
// characters code page 932 has.
std::optional<std::string> DecodeText(std::string_view stored) {
  std::string out;
  std::string run;  // UTF-8 waiting for conversion
  auto flush = [&]() {
    if (run.empty()) return true;
    Conversion c = Utf8ToSjis(run);
    if (!c.ok()) return false;
    out += c.text;
    run.clear();
    return true;
  };
  for (size_t i = 0; i < stored.size(); ++i) {
    char c = stored[i];
    if (c != '\\') {
      run += c;
      continue;
    }
    if (++i == stored.size()) return std::nullopt;
    switch (stored[i]) {
      case '\\':
        run += '\\';
        break;
      case 'n':
        run += '\n';
        break;
      case 'r':
        run += '\r';
        break;
      case 't':
        run += '\t';
        break;
      case 'x': {
        if (i + 2 >= stored.size()) return std::nullopt;
        int hi = HexValue(stored[i + 1]);
        int lo = HexValue(stored[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        if (!flush()) return std::nullopt;
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return std::nullopt;
    }
  }
  if (!flush()) return std::nullopt;
  return out;
}

std::optional<StoredValue> ParseLine(std::string_view line) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  std::string_view name = TrimBlanks(line.substr(0, eq));
  if (!IsStorableName(name)) return std::nullopt;
  std::string_view rest = line.substr(eq + 1);
  size_t lead = rest.find_first_not_of(" \t");
  rest = lead == std::string_view::npos ? std::string_view() : rest.substr(lead);
  StoredValue v;
  v.name = std::string(name);
  if (StartsWithIgnoreCase(rest, kIntTag)) {
    std::optional<int32_t> n = ParseStoredInt(rest.substr(kIntTag.size()));
    if (!n) return std::nullopt;
    v.is_int = true;
    v.int_value = *n;
    return v;
  }
  if (StartsWithIgnoreCase(rest, kTextTag)) {
    std::optional<std::string> text = DecodeText(rest.substr(kTextTag.size()));
    if (!text) return std::nullopt;
    v.text = std::move(*text);
    return v;
  }
  return std::nullopt;
}

}  // namespace

std::string SettingsStore::SanitisePathPart(std::string_view sjis) {
  std::string utf8 = SjisToUtf8Lossy(sjis);
  std::string out;
  for (char c : utf8) {
    uint8_t b = static_cast<uint8_t>(c);
    bool bad = c == '/' || c == '\\' || b < 0x20 || b == 0x7F;
    // A dot right after a dot, or at the start, could make "..", "." or a hidden file.
    bool dot_risk = c == '.' && (out.empty() || out.back() == '.');
    out += (bad || dot_risk) ? '_' : c;
  }
  if (out.size() > kMaxPathPartBytes) {
    size_t cut = kMaxPathPartBytes;
    while (cut > 0 && (static_cast<uint8_t>(out[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    out.resize(cut);
  }
  if (out.empty()) out = "_";
  return out;
}

fs::path SettingsStore::PathFor(const fs::path& config_folder, std::string_view maker_reg,
                                std::string_view game_id) {
  return config_folder / SanitisePathPart(maker_reg) / (SanitisePathPart(game_id) + ".ini");
}

SettingsStore::SettingsStore(fs::path file, Reporter reporter)
    : file_(std::move(file)), reporter_(std::move(reporter)) {
  Load();
}

void SettingsStore::Report(const std::string& what) {
  if (reporter_) {
    reporter_(what);
  } else {
    std::fprintf(stderr, "quill: %s\n", what.c_str());
  }
}

void SettingsStore::Load() {
  std::error_code ec;
  if (!fs::exists(file_, ec)) return;
  std::optional<std::vector<uint8_t>> bytes;
  if (fs::is_regular_file(file_, ec)) bytes = ReadFile(file_);
  if (!bytes) {
    Report("settings store " + file_.string() + " cannot be read; the defaults are used");
    return;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int bad_lines = 0;
  int first_bad = 0;
  int number = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view trimmed = TrimBlanks(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#') continue;
    std::optional<StoredValue> v = ParseLine(line);
    if (!v) {
      if (bad_lines++ == 0) first_bad = number;
      continue;
    }
    Put(std::move(*v));
  }
  if (bad_lines > 0) {
    damaged_ = true;
    Report("settings store " + file_.string() + ": " + std::to_string(bad_lines) +
           " damaged line(s) ignored, the first at line " + std::to_string(first_bad) +
           "; those values take their defaults");
  }
}

const StoredValue* SettingsStore::Find(std::string_view name) const {
  for (const StoredValue& v : values_) {
    if (EqualsIgnoreCase(v.name, name)) return &v;
  }
  return nullptr;
}

bool SettingsStore::Has(std::string_view name) const { return Find(name) != nullptr; }

int32_t SettingsStore::ReadInt(std::string_view name, int32_t def) const {
  const StoredValue* v = Find(name);
  return v && v->is_int ? v->int_value : def;
}

std::string SettingsStore::ReadString(std::string_view name, std::string_view def) const {
  const StoredValue* v = Find(name);
  return v && !v->is_int ? v->text : std::string(def);
}

// Replaces or appends; the first spelling of a name stays. True when something changed.
bool SettingsStore::Put(StoredValue value) {
  for (StoredValue& v : values_) {
    if (!EqualsIgnoreCase(v.name, value.name)) continue;
    bool same = v.is_int == value.is_int &&
                (v.is_int ? v.int_value == value.int_value : v.text == value.text);
    value.name = std::move(v.name);
    v = std::move(value);
    return !same;
  }
  values_.push_back(std::move(value));
  return true;
}

bool SettingsStore::WriteInt(std::string_view name, int32_t value) {
  if (!IsStorableName(name)) return false;
  StoredValue v;
  v.name = std::string(name);
  v.is_int = true;
  v.int_value = value;
  if (!Put(std::move(v)) && writable_) return true;
  return Flush();
}

bool SettingsStore::WriteString(std::string_view name, std::string_view sjis) {
  if (!IsStorableName(name)) return false;
  StoredValue v;
  v.name = std::string(name);
  v.text = std::string(sjis);
  if (!Put(std::move(v)) && writable_) return true;
  return Flush();
}

bool SettingsStore::Flush() {
  if (batch_depth_ > 0) {
    batch_dirty_ = true;
    return writable_;
  }
  std::string out =
      "; Quill settings. One value a line: Name=int:<decimal> or Name=str:<text>;\n"
      "; in texts \\n \\r \\t \\\\ and \\xHH (a raw Shift-JIS byte) are escapes.\n";
  for (const StoredValue& v : values_) {
    out += v.name;
    out += '=';
    if (v.is_int) {
      out += kIntTag;
      out += std::to_string(v.int_value);
    } else {
      out += kTextTag;
      out += EncodeText(v.text);
    }
    out += '\n';
  }
  if (damaged_) {
    // Keep what could not be read for the player to look at, instead of overwriting it.
    std::error_code ec;
    fs::path aside = file_;
    aside += ".damaged";
    fs::rename(file_, aside, ec);
    damaged_ = false;
  }
  std::string error;
  bool ok = WriteFileAtomic(file_, out.data(), out.size(), &error);
  if (!ok && !write_failure_reported_) {
    write_failure_reported_ = true;
    Report("settings store " + file_.string() + " cannot be written (" + error +
           "); settings are kept for this run only");
  }
  writable_ = ok;
  return ok;
}

void SettingsStore::EndBatch() {
  if (--batch_depth_ > 0 || !batch_dirty_) return;
  batch_dirty_ = false;
  Flush();
}

}  // namespace quill
