#include "common/text_util.h"

#include "common/sjis.h"

namespace quill {

int32_t ParseInt(std::string_view text, size_t* consumed) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  uint32_t value = 0;  // wraps like the original's 32-bit arithmetic instead of overflowing
  size_t digits_start = i;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    ++i;
  }
  if (consumed) *consumed = i == digits_start ? 0 : i;
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

char ToUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

std::string ToUpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = ToUpperAscii(c);
  return out;
}

std::string ToUpperSjis(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size(); ++i) {
    if (IsLeadByte(static_cast<uint8_t>(out[i]))) {
      ++i;
      continue;
    }
    out[i] = ToUpperAscii(out[i]);
  }
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToUpperAscii(a[i]) != ToUpperAscii(b[i])) return false;
  }
  return true;
}

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

std::string_view UntilNul(std::string_view s) {
  size_t n = s.find('\0');
  return n == std::string_view::npos ? s : s.substr(0, n);
}

}  // namespace quill
