#include "text/text_log.h"

#include <algorithm>
#include <cstring>

#include "common/sjis.h"

namespace quill {

void TextLog::Clear() {
  bytes_.fill(0);
  line_count_ = 0;
  write_position_ = 0;
}

void TextLog::Append(std::string_view character) {
  int line_end = line_count_ * kTextLogLineBytes + kTextLogLineBytes - 1;
  if (write_position_ + static_cast<int>(character.size()) > line_end) return;
  for (char c : character) bytes_[write_position_++] = c;
  bytes_[write_position_] = 0;
}

void TextLog::AppendText(std::string_view sjis) {
  for (size_t i = 0; i < sjis.size();) {
    size_t n = (IsLeadByte(static_cast<uint8_t>(sjis[i])) && i + 1 < sjis.size()) ? 2 : 1;
    Append(sjis.substr(i, n));
    i += n;
  }
}

void TextLog::EndLogLine() {
  bytes_[write_position_] = 0;
  if (line_count_ < kTextLogMaxCompleted) {
    ++line_count_;
  } else {
    std::memmove(bytes_.data(), bytes_.data() + kTextLogLineBytes,
                 kTextLogMaxCompleted * kTextLogLineBytes);
  }
  write_position_ = line_count_ * kTextLogLineBytes;
  std::memset(bytes_.data() + write_position_, 0, kTextLogLineBytes);
}

std::string_view TextLog::Line(int i) const {
  if (i < 0 || i > line_count_) return {};
  const char* p = bytes_.data() + i * kTextLogLineBytes;
  return std::string_view(p, strnlen(p, kTextLogLineBytes - 1));
}

void TextLog::Restore(int line_count, int write_position) {
  line_count_ = std::clamp(line_count, 0, kTextLogMaxCompleted);
  int start = line_count_ * kTextLogLineBytes;
  write_position_ = std::clamp(write_position, start, start + kTextLogLineBytes - 1);
  bytes_[write_position_] = 0;
}

}  // namespace quill
