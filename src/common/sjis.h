#pragma once
// Shift-JIS (code page 932) text. Engine text stays in these bytes; conversion happens only where
// a library needs Unicode (fonts, dialogs, tools).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// Lead byte of a two-byte character: 0x81-0x9F or 0xE0-0xFC.
constexpr bool IsLeadByte(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

struct Conversion {
  std::string text;                  // what could be converted
  std::vector<size_t> bad_offsets;   // input offsets of the bytes that could not
  bool ok() const { return bad_offsets.empty(); }
};

// Bytes that do not convert are replaced by U+FFFD (to UTF-8) or '?' (to Shift-JIS) and reported.
Conversion SjisToUtf8(std::string_view sjis);
Conversion Utf8ToSjis(std::string_view utf8);

// Convenience for display and logs, where a replacement is good enough.
std::string SjisToUtf8Lossy(std::string_view sjis);
std::string Utf8ToSjisLossy(std::string_view utf8);

}  // namespace quill
