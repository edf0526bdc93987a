#include "graphics/frame_clock.h"

namespace quill {

void FrameClock::ClockStart() { base_ = platform_.NowMs(); }

int FrameClock::ClockWait(int period) {
  uint32_t p = period < 1 ? 1u : static_cast<uint32_t>(period);
  platform_.PumpMessages();
  // Unsigned difference: the millisecond counter may wrap.
  uint32_t elapsed = platform_.NowMs() - base_;
  if (elapsed < p) {
    platform_.SleepMs(p - elapsed);
    base_ += p;
    return 1;
  }
  uint32_t n = elapsed / p + 1;
  platform_.SleepMs(n * p - elapsed);
  base_ += n * p;
  return static_cast<int>(n);
}

void FrameClock::WaitUntil(uint32_t deadline) {
  int32_t ahead = static_cast<int32_t>(deadline - platform_.NowMs());
  if (ahead > 0) platform_.SleepMs(static_cast<uint32_t>(ahead));
  platform_.PumpMessages();
}

}  // namespace quill
