#include "engine/value_banks.h"

#include <algorithm>
#include <cstring>

#include "common/sjis.h"

namespace quill {

bool FlagBank::Test(int n) const {
  if (n < 0 || n >= flags_) return false;
  return (bytes_[n >> 3] >> (n & 7)) & 1;
}

void FlagBank::Set(int n, bool on) {
  if (n < 0 || n >= flags_) return;
  const uint8_t bit = static_cast<uint8_t>(1u << (n & 7));
  if (on) {
    bytes_[n >> 3] |= bit;
  } else {
    bytes_[n >> 3] &= static_cast<uint8_t>(~bit);
  }
}

void FlagBank::ClearAll() { std::fill(bytes_.begin(), bytes_.end(), 0); }

ValueBanks::ValueBanks() = default;

void ValueBanks::ClearV() { std::fill(cells.begin() + kVBase, cells.begin() + kVBase + 1000, 0); }

std::string_view ValueBanks::NameSlot(int n) const {
  if (n < 0 || n >= kNameSlotCount) return {};
  const auto& slot = name_slots[n];
  // A slot read from a damaged save may lack its NUL: stop at the end of the slot.
  const void* nul = std::memchr(slot.data(), 0, slot.size());
  const size_t len = nul ? static_cast<const char*>(nul) - slot.data() : slot.size();
  return std::string_view(slot.data(), len);
}

void ValueBanks::SetNameSlot(int n, std::string_view sjis) {
  if (n < 0 || n >= kNameSlotCount) return;
  // Take whole characters up to 63 bytes; a NUL in the text ends it as it would in the slot.
  size_t len = 0;
  while (len < sjis.size() && sjis[len] != '\0') {
    const size_t width = IsLeadByte(static_cast<uint8_t>(sjis[len])) ? 2 : 1;
    if (len + width > kNameSlotBytes - 1 || len + width > sjis.size()) break;
    len += width;
  }
  auto& slot = name_slots[n];
  slot.fill(0);
  std::copy_n(sjis.data(), len, slot.data());  // an empty view may have no data()
}

}  // namespace quill
