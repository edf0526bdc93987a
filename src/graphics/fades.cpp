#include "graphics/fades.h"

#include "engine/engine.h"
#include "graphics/blend_kernels.h"

namespace quill {

void CrossFadeDisplay(Engine& engine, int step, int period) {
  ScreenPictures& pics = engine.pictures();
  Platform& platform = engine.platform();
  FrameClock& clock = engine.frame_clock();
  engine.busy = true;
  engine.transition_running = true;
  engine.transition_interrupt = 0;
  clock.ClockStart();
  // A step below 1 would never reach the end.
  int level_step = step < 1 ? 1 : step;
  for (int s = 0; s < 257 && engine.transition_interrupt == 0;
       s += level_step * clock.ClockWait(period)) {
    CrossFade(pics.fade_output, pics.screen, pics.saved, s);
    platform.Present(pics.fade_output);
  }
  engine.busy = false;
  engine.transition_running = false;
  platform.Present(pics.screen);
}

void FadeByKind(Engine& engine, int kind) {
  switch (kind) {
    case 1:
      CrossFadeDisplay(engine, 24, 40);
      break;
    case 3:
      CrossFadeDisplay(engine, 5, 50);
      break;
    case 4:
      CrossFadeDisplay(engine, 2, 50);
      break;
    default:
      CrossFadeDisplay(engine, 12, 40);
      break;
  }
}

void SepiaFlashback(Engine& engine) {
  ScreenPictures& pics = engine.pictures();
  Platform& platform = engine.platform();
  FrameClock& clock = engine.frame_clock();
  engine.busy = true;
  // The fade starts from what the display shows now, not from whatever picture the last screen
  // update left in the saved screen.
  pics.saved = pics.screen;
  Picture& scene = pics.scene;
  for (int y = 0; y < scene.height(); ++y) {
    uint8_t* p = scene.Row(y);
    for (int x = 0; x < scene.width(); ++x, p += 3) {
      int a = (p[0] + p[1] + p[2]) / 3;
      p[0] = static_cast<uint8_t>(a >> 2);
      p[1] = static_cast<uint8_t>((3 * a) >> 2);
      p[2] = static_cast<uint8_t>(a);
    }
  }
  pics.screen = scene;
  engine.subsystems().PresentWindow();
  clock.ClockStart();
  for (int a = 48; a < 256; a += 8 * clock.ClockWait(20)) {
    CrossFade(pics.fade_output, pics.screen, pics.saved, a);
    platform.Present(pics.fade_output);
  }
  platform.Present(pics.screen);
  engine.busy = false;
}

}  // namespace quill
