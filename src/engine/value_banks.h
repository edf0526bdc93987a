#pragma once
// The script's state: the value cells (V, S and G banks), the bit banks F, E and T, and the ten
// name slots.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

constexpr int kValueCellCount = 3010;
constexpr int kVBase = 0;     // V000-V999
constexpr int kSBase = 2000;  // S000-S999
constexpr int kGBase = 3000;  // G0-G9
constexpr int kNameSlotCount = 10;
constexpr int kNameSlotBytes = 64;  // 63 bytes of text and the NUL

// A bank of flags: flag n is bit n mod 8 of byte n div 8. Out-of-range flags read 0 and ignore
// writes.
class FlagBank {
 public:
  explicit FlagBank(int flags) : bytes_((flags + 7) / 8, 0), flags_(flags) {}
  bool Test(int n) const;
  void Set(int n, bool on);
  void ClearAll();
  int size() const { return flags_; }
  std::vector<uint8_t>& bytes() { return bytes_; }
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
  int flags_;
};

class ValueBanks {
 public:
  ValueBanks();

  // Out-of-range indexes read 0 and ignore writes.
  int32_t V(int i) const { return Cell(kVBase, 1000, i); }
  int32_t S(int i) const { return Cell(kSBase, 1000, i); }
  int32_t G(int i) const { return Cell(kGBase, 10, i); }
  void SetV(int i, int32_t v) { SetCell(kVBase, 1000, i, v); }
  void SetS(int i, int32_t v) { SetCell(kSBase, 1000, i, v); }
  void SetG(int i, int32_t v) { SetCell(kGBase, 10, i, v); }
  void ClearV();

  // Name slot n as its text up to the NUL (Shift-JIS); out-of-range slots read empty.
  std::string_view NameSlot(int n) const;
  // Stores at most 63 bytes, never splitting a two-byte character.
  void SetNameSlot(int n, std::string_view sjis);

  std::array<int32_t, kValueCellCount> cells{};
  FlagBank F{1024};
  FlagBank E{1024};
  FlagBank T{10000};
  std::array<std::array<char, kNameSlotBytes>, kNameSlotCount> name_slots{};

 private:
  int32_t Cell(int base, int count, int i) const {
    return (i >= 0 && i < count) ? cells[base + i] : 0;
  }
  void SetCell(int base, int count, int i, int32_t v) {
    if (i >= 0 && i < count) cells[base + i] = v;
  }
};

}  // namespace quill
