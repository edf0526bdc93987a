#include "engine/call_stack.h"

#include <algorithm>
#include <cstring>

#include "common/sjis.h"
#include "common/text_util.h"

namespace quill {

std::string CutScriptName(std::string_view name) {
  name = UntilNul(name);
  size_t limit = kScriptNameBytes - 1;
  if (name.size() <= limit) return std::string(name);
  size_t n = 0;
  while (n < limit) {
    size_t step = IsLeadByte(static_cast<uint8_t>(name[n])) ? 2 : 1;
    if (n + step > limit) break;
    n += step;
  }
  return std::string(name.substr(0, n));
}

std::string_view CallStackEntry::Name() const {
  return UntilNul(std::string_view(name.data(), name.size()));
}

void CallStackEntry::SetName(std::string_view text) {
  std::string cut = CutScriptName(text);
  name.fill(0);
  std::memcpy(name.data(), cut.data(), cut.size());
}

bool CallStack::WriteTop(std::string_view name, uint32_t offset) {
  if (full()) return false;
  entries_[depth_].SetName(name);
  entries_[depth_].offset = offset;
  return true;
}

bool CallStack::Raise() {
  if (full()) return false;
  ++depth_;
  return true;
}

bool CallStack::Pop(CallStackEntry* out) {
  if (depth_ <= 0) return false;
  --depth_;
  if (out) *out = entries_[depth_];
  return true;
}

void CallStack::SetDepth(int depth) { depth_ = std::clamp(depth, 0, kCallStackEntries); }

}  // namespace quill
