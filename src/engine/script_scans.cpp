#include "engine/script_scans.h"

#include "common/sjis.h"

namespace quill {
namespace {

uint8_t Upper(uint8_t b) { return (b >= 'a' && b <= 'z') ? static_cast<uint8_t>(b - 32) : b; }

// Whether script[at...] begins with `name`, ignoring the case of one-byte characters. Two-byte
// characters must match exactly, so a trail byte in a-z is never folded.
bool MatchesAt(std::span<const uint8_t> script, size_t at, std::string_view name) {
  if (at > script.size() || script.size() - at < name.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const uint8_t n = static_cast<uint8_t>(name[i]);
    const uint8_t s = script[at + i];
    if (IsLeadByte(n)) {
      if (s != n) return false;
      if (i + 1 < name.size()) {
        ++i;
        if (script[at + i] != static_cast<uint8_t>(name[i])) return false;
      }
      continue;
    }
    if (Upper(s) != Upper(n)) return false;
  }
  return true;
}

// The end of the line holding `at`: the offset of its NUL, or the buffer's size when the last line
// has none.
size_t LineEnd(std::span<const uint8_t> script, size_t at) {
  while (at < script.size() && script[at] != 0) ++at;
  return at;
}

// Whether the bytes from `at` up to their NUL are exactly `name` (ignoring case).
bool RestOfLineIs(std::span<const uint8_t> script, size_t at, std::string_view name) {
  return LineEnd(script, at) - at == name.size() && MatchesAt(script, at, name);
}

}  // namespace

int32_t FindLabel(std::span<const uint8_t> script, std::string_view name) {
  for (size_t i = 0; i < script.size(); ++i) {
    if (script[i] != ':' || !RestOfLineIs(script, i + 1, name)) continue;
    const size_t end = LineEnd(script, i + 1);
    // An unterminated last line ends at the buffer's end.
    return static_cast<int32_t>(end < script.size() ? end + 1 : end);
  }
  return -1;
}

uint32_t FindLineStart(std::span<const uint8_t> script, uint32_t from, uint8_t c) {
  for (size_t a = from; a < script.size(); ++a) {
    // The buffer's first byte begins a line too.
    if (script[a] == c && (a == 0 || script[a - 1] == 0)) return static_cast<uint32_t>(a);
  }
  return kScanNotFound;
}

uint32_t SkipNamedBlock(std::span<const uint8_t> script, uint32_t from, std::string_view text) {
  // Accept the line with or without its "{:".
  if (text.size() >= 2 && text[0] == '{' && text[1] == ':') text.remove_prefix(2);
  size_t name_end = 0;
  while (name_end < text.size() && text[name_end] != '(' && text[name_end] != '\0') ++name_end;
  const std::string_view name = text.substr(0, name_end);
  for (size_t i = from; i + 1 < script.size(); ++i) {
    if (script[i] == '}' && script[i + 1] == ':' && RestOfLineIs(script, i + 2, name)) {
      return static_cast<uint32_t>(i);
    }
  }
  return kScanNotFound;
}

uint32_t FindNamedBlock(std::span<const uint8_t> script, uint32_t from, std::string_view name) {
  for (size_t i = from; i + 1 < script.size(); ++i) {
    if (script[i] == '{' && script[i + 1] == ':' && MatchesAt(script, i + 2, name)) {
      return static_cast<uint32_t>(i);
    }
  }
  return kScanNotFound;
}

uint32_t FindByte(std::span<const uint8_t> script, uint32_t from, uint8_t c) {
  for (size_t i = static_cast<size_t>(from) + 1; i < script.size(); ++i) {
    if (script[i] == c) return static_cast<uint32_t>(i);
  }
  return from;
}

}  // namespace quill
