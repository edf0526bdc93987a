#pragma once
// The 23 numbered screen transitions: RunTransition shows the change from the saved screen (the
// old picture) to the screen buffer (the new one) on the display, paced by the frame clock. A
// click or a close request while one runs (the input handlers set Engine::transition_interrupt
// while Engine::transition_running is set) cuts it short with the new picture shown and S019 = 1.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/picture.h"

namespace quill {

class Engine;

// The speed table row chosen by S016.
struct TransitionSpeed {
  int level_step;  // A
  int period_ms;   // B: the frame clock period
  int frame_ms;    // D: milliseconds per frame of the frame-timed types
};
TransitionSpeed SpeedFor(int s016);

constexpr int kTransitionTypes = 23;  // 0..22

class Transitions {
 public:
  explicit Transitions(Engine& engine) : engine_(engine) {}

  // t: 0..22 (negative counts as 1, others draw nothing). Skip mode and GMode ≠ 0 make it a cut.
  void RunTransition(int t);

  // The overlay name record shared by `ovr` and `wipeset` (30 bytes: at most 29 kept).
  const std::string& overlay_name() const { return overlay_name_; }
  void set_overlay_name(std::string_view name);

 private:
  // After a step: when an interruption came, shows the screen buffer, sets S019 and returns true.
  bool CutCheck();
  bool Interrupted() const;
  void Show(const Picture& picture);
  // The frame-timed types build the display in the fade output (which starts as the old picture)
  // and show it whole once per frame.
  void ShowFrame();

  // Blends (transitions.cpp).
  void RuleWipe();               // 5
  void RandomTiles();            // 8
  void Mosaic();                 // 12
  void SoftWipe();               // 13
  void DitheredFade();           // 17
  void ZoomFade();               // 20
  void SlideFade(bool to_left);  // 21, 22
  // Copies of pieces of the new picture (transitions_copies.cpp).
  void Stripes();            // 6
  void Iris();               // 7
  void Lines(bool columns);  // 9, 10
  void GrowingSquares();     // 11
  void SplitRows();          // 14
  void Converge();           // 15
  void SlantedStrips();      // 16
  void HalvesSlideIn();      // 18
  void PushFromLeft();       // 19

  Engine& engine_;
  TransitionSpeed speed_{4, 8, 20};
  std::string overlay_name_;
};

}  // namespace quill
