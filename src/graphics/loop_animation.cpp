#include "graphics/loop_animation.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/display_pieces.h"
#include "graphics/game_config.h"

namespace quill {
namespace {

constexpr int kDefaultSpeed = 2;
constexpr int kFadeSteps = 64;  // of 4 levels each

std::string FrameName(const std::string& name, int i) {
  char number[16];
  std::snprintf(number, sizeof number, " %02d", i + 1);
  return name + number;
}

}  // namespace

int LoopAnimation::Speed() const { return engine_.banks().S(45); }

void LoopAnimation::Finish() {
  ValueBanks& banks = engine_.banks();
  banks.SetS(44, 2);
  if (banks.S(45) == 0) banks.SetS(45, 1);
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  for (int i = index_; i < frame_count() && !engine_.platform().ShouldStop();) {
    ShowOnDisplay(engine_, frames_[static_cast<size_t>(i)], banks.S(46), banks.S(47));
    i += clock.ClockWait(Speed() * 20);
  }
}

void LoopAnimation::Fade(bool out) {
  ValueBanks& banks = engine_.banks();
  const int x = banks.S(46), y = banks.S(47);
  const Picture& first = frames_.front();
  result_.Create(first.width(), first.height());
  banks.SetS(44, 2);
  CutOut(background_, engine_.pictures().scene, x, y, first.width(), first.height());
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  for (int j = 0; j < kFadeSteps && !engine_.platform().ShouldStop();) {
    index_ = (index_ + 1) % frame_count();
    const Picture& frame = frames_[static_cast<size_t>(index_)];
    // A frame of another size than the first shows unblended.
    int level = out ? 256 - 4 * j : 4 * j;
    if (!CrossFade(result_, frame, background_, level)) result_ = frame;
    ShowOnDisplay(engine_, result_, x, y);
    // Speeds below 1 would never finish.
    int speed = std::max(Speed(), 1);
    j += speed * clock.ClockWait(speed * 20);
  }
}

void LoopAnimation::Command(std::string_view argument) {
  std::string upper = ToUpperSjis(UntilNul(argument));
  std::string name = CommaField(upper, 0);
  std::string options = upper.find(',') == std::string::npos ? "2" : CommaField(upper, 1);
  int speed = kDefaultSpeed;
  bool fade = false, finish = false, once = false;
  for (char c : options) {
    if (c >= '1' && c <= '9') speed = c - '0';
    fade |= c == 'F';
    finish |= c == 'S';
    once |= c == 'O';
  }
  ValueBanks& banks = engine_.banks();
  if (finish && banks.S(44) != 0) {
    Finish();
  } else if (fade && banks.S(44) == 1 && !frames_.empty()) {
    Fade(true);
    frames_.clear();
    banks.SetS(44, 0);
    // The scene comes back where the animation was, on the display and in the screen buffer.
    ShowOnDisplayAndScreen(engine_, background_, banks.S(46), banks.S(47));
    return;
  }

  PictureLoader& loader = engine_.picture_loader();
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  int loaded = 0;
  for (int i = 0; i < kMaxLoopFrames && !engine_.platform().ShouldStop();) {
    std::string frame_name = FrameName(name, i);
    if (!loader.PictureExists(frame_name)) break;
    if (static_cast<int>(frames_.size()) <= i) frames_.resize(static_cast<size_t>(i) + 1);
    Picture& frame = frames_[static_cast<size_t>(i)];
    loader.LoadPicture(frame_name, frame);
    loaded = i + 1;
    if (once) {
      ShowOnDisplayAndScreen(engine_, frame, banks.S(46), banks.S(47));
      i += clock.ClockWait(speed * 20);
    } else {
      ++i;
    }
  }
  if (loaded == 0) {
    frames_.clear();
    banks.SetS(44, 0);
    return;
  }
  frames_.resize(static_cast<size_t>(loaded));
  if (once) {
    frames_.clear();
    banks.SetS(44, 0);
    return;
  }
  index_ = 0;
  countdown_ = speed;
  banks.SetS(45, speed);
  if (fade) Fade(false);
  banks.SetS(44, 1);
  ShowOnDisplayAndScreen(engine_, frames_.front(), banks.S(46), banks.S(47));
}

void LoopAnimation::Step() {
  ValueBanks& banks = engine_.banks();
  if (banks.S(44) != 1 || frames_.empty()) return;
  if (--countdown_ >= 1) return;
  countdown_ = banks.S(45);
  index_ = (index_ + 1) % frame_count();
  ShowOnDisplayAndScreen(engine_, frames_[static_cast<size_t>(index_)], banks.S(46), banks.S(47));
}

}  // namespace quill
