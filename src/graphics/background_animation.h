#pragma once
// `bg_anim`: an animated background of up to 32 full-screen frames that keeps running under the
// text. Each frame slot keeps its own window image and a clean copy of its window area, so the
// message window and the page text are drawn into every frame and each frame can be shown whole.
//   bg_anim SPEED,NAME1,NAME2,…[,#SEQUENCE or >SEQUENCE]   frames from pictures
//   bg_anim OFS,SPEED,L,X,Y,…[,#SEQUENCE]                    frames from the screen, displaced
//   bg_anim END / bg_anim RELEASE
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kMaxBackgroundFrames = 32;
constexpr int kMaxPlaySequence = 128;

struct BackgroundFrame {
  Picture frame;         // 800 × 600
  Picture window_image;  // the message window blended over this frame's window area
  Picture clean;         // this frame's window area as loaded
};

class BackgroundAnimation {
 public:
  explicit BackgroundAnimation(Engine& engine) : engine_(engine) {}

  void Command(std::string_view argument);
  // The frame loop's step: every speed-th frame the next frame of the sequence is shown.
  void Frame(uint32_t frame_counter);
  // The return to the title: the animation stops where it is.
  void Stop() { active_ = 0; }
  // The screen rebuild of the window layout: every frame's window area from its clean copy.
  // False when no animation runs.
  bool RestoreWindowAreas();

  bool running() const { return active_ > 0; }
  int active() const { return active_; }
  int position() const { return position_; }
  int speed() const { return speed_; }
  // The running frames (the first active() slots); text and the window go into each.
  BackgroundFrame& slot(int i) { return slots_[static_cast<size_t>(i)]; }
  // The frame the display shows now.
  Picture& current_frame();

 private:
  // The slot for frame i, created at the screen's and the window's sizes when new.
  BackgroundFrame& Slot(int i);
  void KeepCleanArea(BackgroundFrame& slot);
  int FrameAt(int position) const;
  // Frames from pictures (plain form) or from the screen (offset form); the number made.
  int LoadFrames(const std::vector<std::string>& fields, bool& once);
  int MakeDisplacedFrames(const std::vector<std::string>& fields);
  void ReadSequence(std::string_view text, bool letters);
  void PlayOnce();
  void End();
  void Release();
  // The window and the page again over the (possibly changed) scene, shown whole.
  void RedrawWindow();

  Engine& engine_;
  std::vector<BackgroundFrame> slots_;
  int active_ = 0;
  std::array<int, kMaxPlaySequence> sequence_{};
  int sequence_length_ = 0;
  int position_ = 0;
  int speed_ = 1;
};

}  // namespace quill
