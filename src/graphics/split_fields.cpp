#include "graphics/split_fields.h"

#include "common/text_util.h"

namespace quill {

SplitResult SplitFields(std::string_view argument) {
  SplitResult result;
  argument = UntilNul(argument);
  if (argument.empty()) return result;
  size_t pos = 0;
  int index = 0;
  while (true) {
    while (pos < argument.size() && (argument[pos] == ' ' || argument[pos] == '\t')) ++pos;
    size_t end = argument.find_first_of(",:", pos);
    std::string_view text =
        argument.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (index < kMaxSplitFields) {
      SplitField& f = result.fields[static_cast<size_t>(index)];
      f.text = std::string(text.substr(0, kSplitFieldChars));
      int32_t value = ParseInt(f.text);
      f.number = (!f.text.empty() && f.text[0] == '0') || value != 0 ? value : kNoFieldNumber;
    }
    ++index;
    if (end == std::string_view::npos) break;
    pos = end + 1;
  }
  result.count = index;
  return result;
}

}  // namespace quill
