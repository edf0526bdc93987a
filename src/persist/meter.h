#pragma once
// The parameter meter in the top right corner: level V[800 + V800] (0–10) of the parameter V800,
// shown while S004 is set, from the eleven frames of "sys_meter"; and chgprm, which blinks it
// from the level last drawn to the new one.
#include <array>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kMeterLevels = 11;
constexpr int kMeterX = 670, kMeterY = 10;
constexpr int kMeterWidth = 120, kMeterHeight = 95;

class Meter {
 public:
  explicit Meter(Engine& engine) : engine_(engine) {}

  // Cuts the frames out of "sys_meter" (each 240 × 95: image left, mask right). Without the
  // picture the meter draws nothing, though its levels are still followed.
  void StartUp();
  // mode 0: into the screen buffer; 1: onto the display as well.
  void ShowMeter(int mode);
  // chgprm: five blinks between the level last drawn and the new one, about a second.
  void ChangeParameter();

  int last_frame() const { return last_frame_; }
  const Picture& frame(int i) const { return frames_[i]; }

 private:
  int Level() const;

  Engine& engine_;
  std::array<Picture, kMeterLevels> frames_;
  Picture work_;
  int last_frame_ = 0;
};

}  // namespace quill
