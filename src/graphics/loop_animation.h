#pragma once
// `lpanim NAME[,OPTIONS]`: a small animation of the pictures "NAME 01", "NAME 02" … looping at
// (S046, S047) on the frame loop, S045 frames per picture. S044 is its state: 0 stopped,
// 1 running, 2 finishing. OPTIONS: a digit 1–9 the speed, F fade (in when starting, out when
// running), S finish the running one first, O play once.
#include <string_view>
#include <vector>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kMaxLoopFrames = 100;

class LoopAnimation {
 public:
  explicit LoopAnimation(Engine& engine) : engine_(engine) {}

  void Command(std::string_view argument);
  // StepLoopAnimation: once per frame of the frame loop.
  void Step();

  int frame_count() const { return static_cast<int>(frames_.size()); }
  int index() const { return index_; }

 private:
  // Shows frames from the current index to the last (the finish option).
  void Finish();
  // Cross-fades between the frames and the scene under them: out when `out`, else in.
  void Fade(bool out);
  int Speed() const;

  Engine& engine_;
  std::vector<Picture> frames_;
  int index_ = 0;
  int countdown_ = 0;
  Picture result_, background_;
};

}  // namespace quill
