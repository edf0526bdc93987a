#pragma once
// Small text helpers shared by the script machine, the configuration reader and the tools.
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// A decimal integer as scripts write them: optional leading blanks and sign, digits up to the
// first non-digit, 0 when there are no digits. *consumed, if given, receives the bytes read.
int32_t ParseInt(std::string_view text, size_t* consumed = nullptr);

// ASCII-only case folding: Shift-JIS trail bytes in 0x40-0x7E must never change, so callers that
// fold whole Shift-JIS strings use ToUpperSjis, which skips two-byte characters.
char ToUpperAscii(char c);
std::string ToUpperAscii(std::string_view s);
std::string ToUpperSjis(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// The text up to the first NUL (a fixed-size record or a line buffer).
std::string_view UntilNul(std::string_view s);

}  // namespace quill
