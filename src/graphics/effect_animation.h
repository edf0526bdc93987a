#pragma once
// `efxanim NAME[,PERIOD[,F1,F2,…]]`: a full-screen animation played once over the screen buffer,
// frame k being the pictures NAME_kkk and its mask NAME_kkk_m.
#include <string>
#include <string_view>
#include <vector>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kEffectAnimationSteps = 100;

struct EffectAnimationArguments {
  std::string name;
  int period = 50;
  // The frame numbers in order; the first entry is never shown.
  std::vector<int> sequence;
};

EffectAnimationArguments ReadEffectAnimationArguments(std::string_view argument);

// One frame: out := the screen blended towards the frame by the mask (the masked row kernel with
// its all-zero shortcut), over the rows and columns all three have; the rest is the screen.
void BlendEffectFrame(Picture& out, const Picture& screen, const Picture& frame,
                      const Picture& mask);

void EffectAnimation(Engine& engine, std::string_view argument);

}  // namespace quill
