#pragma once
// The script call stack: who to return to when a called script ends. Nine fixed entries, each a
// 30-byte script name record and a return offset; save files store all nine as they stand.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

constexpr int kCallStackEntries = 9;
constexpr size_t kScriptNameBytes = 30;  // 29 bytes of name and the NUL

// A script name as the 30-byte records hold it: at most 29 bytes, never ending in half a
// two-byte character.
std::string CutScriptName(std::string_view name);

struct CallStackEntry {
  std::array<char, kScriptNameBytes> name{};
  uint32_t offset = 0;
  std::string_view Name() const;
  void SetName(std::string_view text);
};

class CallStack {
 public:
  int depth() const { return depth_; }
  bool full() const { return depth_ >= kCallStackEntries; }
  // Writes entry `depth` without raising the depth (a call records its return point before it
  // knows whether the load works). False when the stack is full.
  bool WriteTop(std::string_view name, uint32_t offset);
  // Raises the depth over the entry WriteTop wrote. False when the stack is full.
  bool Raise();
  // Lowers the depth and returns the entry it uncovers; false at depth 0.
  bool Pop(CallStackEntry* out);
  void Clear() { depth_ = 0; }
  // For save data: the depth is clamped to 0..9.
  void SetDepth(int depth);
  const CallStackEntry& entry(int k) const { return entries_[k]; }
  CallStackEntry& entry(int k) { return entries_[k]; }

 private:
  int depth_ = 0;
  std::array<CallStackEntry, kCallStackEntries> entries_{};
};

}  // namespace quill
