#pragma once
// The choice recorder: S151 its mode (0 off, 1 record, 2 replay), S152 the number of recorded
// choices, S153 the replay position, and the table of recorded choice numbers (not saved).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/value_banks.h"

namespace quill {

constexpr int kRecordedChoiceLimit = 4096;

enum RecorderMode : int { kRecorderOff = 0, kRecorderRecord = 1, kRecorderReplay = 2 };

class ChoiceRecorder {
 public:
  // rec: clears F and V; replay starts over, otherwise a new recording starts.
  void Rec(ValueBanks& banks, std::string_view loaded_script);
  // A confirmed choice while recording. A full table stops the recording.
  void Record(ValueBanks& banks, int choice);
  // The next choice to replay (0: none, the player chooses). After the last one, or a position
  // outside the table, recording goes on from there.
  int ReplayNext(ValueBanks& banks);

  uint8_t recorded(int i) const { return recorded_[i]; }
  // The script loaded when the recording started (save files keep it).
  const std::string& start_script() const { return start_script_; }

 private:
  std::array<uint8_t, kRecordedChoiceLimit> recorded_{};
  std::string start_script_;
};

}  // namespace quill
