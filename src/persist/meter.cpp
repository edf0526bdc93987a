#include "persist/meter.h"

#include "engine/engine.h"
#include "graphics/masked_drawing.h"

namespace quill {
namespace {

constexpr int kMeterCell = 800;  // V800 names the parameter, V801… hold the levels
constexpr int kBlinks = 5;
constexpr int kBlinkHalfMs = 100;

}  // namespace

void Meter::StartUp() {
  Picture sheet;
  if (engine_.picture_loader().LoadPicture("sys_meter", sheet)) {
    for (int i = 0; i < kMeterLevels; ++i) {
      frames_[i].Create(2 * kMeterWidth, kMeterHeight);
      CopyRect(frames_[i], 0, 0, sheet, 0, kMeterHeight * i, 2 * kMeterWidth, kMeterHeight);
    }
  }
  work_.Create(kMeterWidth, kMeterHeight);
}

// The shown parameter's level; one outside 0–10 counts as 0.
int Meter::Level() const {
  const ValueBanks& banks = engine_.banks();
  int level = banks.V(kMeterCell + banks.V(kMeterCell));
  return level < 0 || level >= kMeterLevels ? 0 : level;
}

void Meter::ShowMeter(int mode) {
  Engine& e = engine_;
  last_frame_ = 0;
  if (e.banks().S(4) == 0 || e.banks().V(kMeterCell) == 0) return;
  int f = Level();
  last_frame_ = f;
  if (frames_[f].empty()) return;
  CopyRect(work_, 0, 0, e.pictures().scene, kMeterX, kMeterY, kMeterWidth, kMeterHeight);
  DrawMaskedPair(work_, 0, 0, frames_[f]);
  CopyPicture(e.screen(), kMeterX, kMeterY, work_);
  if (mode == 1) {
    e.platform().PresentRect(e.screen(), Rect{kMeterX, kMeterY, kMeterWidth, kMeterHeight});
  }
}

void Meter::ChangeParameter() {
  Engine& e = engine_;
  ValueBanks& banks = e.banks();
  int to = Level();
  if (to == last_frame_) return;
  int from = last_frame_;
  int cell = kMeterCell + banks.V(kMeterCell);
  FrameClock& clock = e.frame_clock();
  clock.ClockStart();
  for (int i = 0; i < kBlinks; ++i) {
    banks.SetV(cell, from);
    ShowMeter(1);
    clock.ClockWait(kBlinkHalfMs);
    banks.SetV(cell, to);
    ShowMeter(1);
    clock.ClockWait(kBlinkHalfMs);
  }
}

}  // namespace quill
