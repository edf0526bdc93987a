#include "engine/choice_recorder.h"

#include <algorithm>

namespace quill {

void ChoiceRecorder::Rec(ValueBanks& banks, std::string_view loaded_script) {
  banks.F.ClearAll();
  banks.ClearV();
  start_script_ = std::string(loaded_script);
  if (banks.S(151) == kRecorderReplay) {
    banks.SetS(153, 0);
    return;
  }
  banks.SetS(151, kRecorderRecord);
  banks.SetS(152, 0);
  banks.SetS(153, 0);
}

void ChoiceRecorder::Record(ValueBanks& banks, int choice) {
  int n = banks.S(152);
  if (n < 0 || n >= kRecordedChoiceLimit) {
    banks.SetS(151, kRecorderOff);
    return;
  }
  recorded_[n] = static_cast<uint8_t>(choice);
  banks.SetS(152, n + 1);
}

int ChoiceRecorder::ReplayNext(ValueBanks& banks) {
  int p = banks.S(153);
  if (p < 0 || p >= kRecordedChoiceLimit) {
    int from = std::clamp(p, 0, kRecordedChoiceLimit);
    banks.SetS(151, kRecorderRecord);
    banks.SetS(152, from);
    banks.SetS(153, from);
    return 0;
  }
  int choice = recorded_[p];
  banks.SetS(153, p + 1);
  if (p + 1 >= banks.S(152)) {
    banks.SetS(151, kRecorderRecord);
    banks.SetS(152, p + 1);
  }
  return choice;
}

}  // namespace quill
