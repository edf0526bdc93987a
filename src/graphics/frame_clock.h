#pragma once
// The frame clock that paces fades, transitions, animations, rolls and scrolls: one millisecond
// base time on the platform clock. ClockWait reports how many periods have passed, so a late step
// skips ahead instead of stretching the effect. Every wait lets window messages through, so clicks
// and close requests arrive meanwhile (their handlers only set flags).
#include <cstdint>

#include "platform/platform.h"

namespace quill {

class FrameClock {
 public:
  explicit FrameClock(Platform& platform) : platform_(platform) {}

  // base := now.
  void ClockStart();
  // Lets messages through, then sleeps to the end of the current period and moves the base past
  // it. Returns the number of periods the base moved (1 when on time). Periods below 1 count as 1.
  int ClockWait(int period);
  // Sleeps until the platform time `deadline` (if it lies ahead), then lets messages through.
  void WaitUntil(uint32_t deadline);

  uint32_t Now() { return platform_.NowMs(); }
  uint32_t base() const { return base_; }

 private:
  Platform& platform_;
  uint32_t base_ = 0;
};

}  // namespace quill
