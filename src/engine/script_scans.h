#pragma once
// Scans of a script buffer (Shift-JIS lines, each ending in NUL) for labels, line starts and
// blocks. They compare bytes, so "{", "}" and ":" are found inside lines too unless a scan says
// "line". Names compare ignoring the case of one-byte characters only; the end of the span ends
// an unterminated last line.
#include <cstdint>
#include <span>
#include <string_view>

namespace quill {

// Returned by the scans when nothing is found: past the end of every script.
constexpr uint32_t kScanNotFound = 16777215;

// The offset after the NUL of the first line ":"+name (the whole rest of the line equals name,
// ignoring case), scanning from offset 0; -1 when there is none.
int32_t FindLabel(std::span<const uint8_t> script, std::string_view name);
// The first offset a, from <= a < size, holding c right after a NUL (a line starting with c).
uint32_t FindLineStart(std::span<const uint8_t> script, uint32_t from, uint8_t c);
// The offset of the "}:" that closes the named block whose "{:" line text is given (the name runs
// to a "(" or the end), searching from `from`; the "}:" must be followed by the same name up to
// its NUL, ignoring case. `text` may be given with or without its leading "{:".
uint32_t SkipNamedBlock(std::span<const uint8_t> script, uint32_t from, std::string_view text);
// The first offset i >= from holding "{:" followed by name (ignoring case over name's length).
uint32_t FindNamedBlock(std::span<const uint8_t> script, uint32_t from, std::string_view name);
// The first offset after `from` holding c; `from` itself when there is none.
uint32_t FindByte(std::span<const uint8_t> script, uint32_t from, uint8_t c);

}  // namespace quill
