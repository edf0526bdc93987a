#include "graphics/effect_animation.h"

#include <algorithm>
#include <cstdio>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/game_config.h"

namespace quill {
namespace {

std::string FrameName(const std::string& name, int k, const char* suffix) {
  char number[16];
  std::snprintf(number, sizeof number, "_%03d", k);
  return name + number + suffix;
}

}  // namespace

void BlendEffectFrame(Picture& out, const Picture& screen, const Picture& frame,
                      const Picture& mask) {
  out = screen;
  const int rows = std::min({frame.height(), mask.height(), screen.height()});
  const int width = std::min({frame.width(), mask.width(), screen.width()});
  const size_t groups = static_cast<size_t>(width) * 3 / 8;
  for (int r = 0; r < rows; ++r) {
    MaskedBlendRow(out.Row(r), screen.Row(r), frame.Row(r), mask.Row(r), groups);
  }
}

EffectAnimationArguments ReadEffectAnimationArguments(std::string_view argument) {
  argument = UntilNul(argument);
  EffectAnimationArguments a;
  a.name = CommaField(argument, 0);
  std::string period = CommaField(argument, 1);
  if (!period.empty()) a.period = ParseInt(period);
  if (CommaField(argument, 2).empty()) {
    for (int k = 0; k < kEffectAnimationSteps; ++k) a.sequence.push_back(k);
    return a;
  }
  for (int i = 2; i < 2 + kEffectAnimationSteps; ++i) {
    std::string field = CommaField(argument, i);
    if (field.empty()) break;
    a.sequence.push_back(ParseInt(field));
  }
  return a;
}

void EffectAnimation(Engine& engine, std::string_view argument) {
  EffectAnimationArguments a = ReadEffectAnimationArguments(argument);
  ScreenPictures& pics = engine.pictures();
  PictureLoader& loader = engine.picture_loader();
  Platform& platform = engine.platform();
  FrameClock& clock = engine.frame_clock();
  // The frames are loaded into the saved screen (which takes their size), the masks into the
  // full-screen overlay.
  clock.ClockStart();
  const int steps = std::min<int>(static_cast<int>(a.sequence.size()), kEffectAnimationSteps);
  for (int i = 1; i < steps && !platform.ShouldStop();) {
    const int k = a.sequence[static_cast<size_t>(i)];
    if (!loader.LoadPicture(FrameName(a.name, k, ""), pics.saved)) break;
    loader.LoadPicture(FrameName(a.name, k, "_m"), pics.full_overlay);
    BlendEffectFrame(pics.fade_output, pics.screen, pics.saved, pics.full_overlay);
    platform.Present(pics.fade_output);
    i += clock.ClockWait(a.period);
  }
  platform.Present(pics.screen);
  pics.saved.Resize(kScreenWidth, kScreenHeight);
  // The masks overwrote the full-screen overlay: the full-screen layout makes it again.
  pics.full_overlay.Resize(kScreenWidth, kScreenHeight);
  if (engine.Layout() != 0) engine.message_window().ComposeWindow();
}

}  // namespace quill
