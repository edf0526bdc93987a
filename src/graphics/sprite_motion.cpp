#include "graphics/sprite_motion.h"

#include <algorithm>
#include <string>
#include <vector>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/split_fields.h"

namespace quill {
namespace {

constexpr int kFastPeriodMs = 5;
constexpr int kPeriodMs = 30;

struct Glide {
  int x_cell = 0, y_cell = 0;
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  int32_t frames = 0;
};

}  // namespace

void SpriteMotion(Engine& engine, std::string_view argument) {
  SplitResult split = SplitFields(argument);
  const int n = split.count;
  if (n == 1 && EqualsIgnoreCase(split.fields[0].text, "INIT")) {
    engine.composition().ResetPictures();
    return;
  }
  // Only whole groups of four, and only as many as the field table holds.
  if (n == 0 || n % 4 != 0 || n > kMaxSplitFields) return;
  engine.message_window().CloseWindow();
  ValueBanks& banks = engine.banks();
  const int count = n / 4;
  const int base = StandingPositionBase(count);
  std::string list;
  std::vector<Glide> glides(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    const SplitField* f = &split.fields[static_cast<size_t>(4 * i)];
    if (i > 0) list += ",";
    list += f[0].text;
    Glide& g = glides[static_cast<size_t>(i)];
    g.x_cell = base + i;
    g.y_cell = base + 10 + i;
    g.x0 = banks.S(g.x_cell);
    g.y0 = banks.S(g.y_cell);
    g.x1 = f[1].number;
    g.y1 = f[2].number;
    g.frames = f[3].number;
  }
  engine.composition().SetStandingPictures(list);

  engine.busy = true;
  engine.transition_running = true;
  engine.transition_interrupt = 0;
  FrameClock& clock = engine.frame_clock();
  clock.ClockStart();
  const int period = engine.skip_mode ? kFastPeriodMs : kPeriodMs;
  for (int64_t f = 0;;) {
    int moving = 0;
    for (const Glide& g : glides) {
      int64_t x = g.x0, y = g.y0;
      if (g.frames != 0 && f < g.frames) {
        x = (static_cast<int64_t>(g.x1) - g.x0) * f / g.frames + g.x0;
        y = (static_cast<int64_t>(g.y1) - g.y0) * f / g.frames + g.y0;
        ++moving;
      } else if (g.frames != 0) {
        x = g.x1;
        y = g.y1;
      }
      banks.SetS(g.x_cell, static_cast<int32_t>(x));
      banks.SetS(g.y_cell, static_cast<int32_t>(y));
    }
    if (engine.transition_interrupt != 0 || engine.platform().ShouldStop()) {
      // Cut short: straight to the end positions, drawn once.
      if (moving > 0) {
        for (const Glide& g : glides) f = std::max<int64_t>(f, g.frames);
        continue;
      }
      banks.SetS(19, 1);
    }
    engine.composition().ComposeScene();
    engine.platform().Present(engine.pictures().scene);
    if (moving == 0) break;
    f += clock.ClockWait(period);
  }
  engine.message_window().ComposeWindow();
  engine.screen() = engine.pictures().scene;
  engine.busy = false;
  engine.transition_running = false;
}

}  // namespace quill
