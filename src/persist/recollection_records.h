#pragma once
// What recollection mode keeps for the player: the scenes unlocked (SceneFlags, kept in the
// global save) and the ten record slots with their names (written to kaiso.dat, never read
// back, so they last while the program runs).
#include <array>
#include <cstdint>
#include <string>

#include "engine/value_banks.h"

namespace quill {

constexpr int kSceneFlagCount = 2000;
constexpr int kRecordSlotCount = 10;
constexpr int kRecordSlotLength = 50;

struct RecollectionRecords {
  FlagBank scene_flags{kSceneFlagCount};
  // Scene numbers, 0 = empty; the screen uses the first 25 of each slot.
  std::array<std::array<int32_t, kRecordSlotLength>, kRecordSlotCount> slots{};
  // Shift-JIS, at most 63 bytes; empty until the slot is first drawn.
  std::array<std::string, kRecordSlotCount> names{};
};

}  // namespace quill
