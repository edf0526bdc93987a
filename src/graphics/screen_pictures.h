#pragma once
// The off-screen pictures every drawing part shares, created at start-up.
#include "common/picture.h"
#include "platform/platform.h"

namespace quill {

struct ScreenPictures {
  Picture background{kScreenWidth, kScreenHeight};     // the current background or a solid colour
  Picture load_scratch{kScreenWidth, kScreenHeight};   // side-by-side standing pictures, split later
  Picture scene{kScreenWidth, kScreenHeight};          // background + overlay + standing pictures
  Picture screen{kScreenWidth, kScreenHeight};         // what the display PB shows
  Picture wipe{kScreenWidth, kScreenHeight};           // the wipe pattern (wipeset)
  Picture full_overlay{kScreenWidth, kScreenHeight};   // the full-screen overlay
  Picture choice_work{kScreenWidth, kScreenHeight};
  Picture settings_work{kScreenWidth, kScreenHeight};
  Picture saved{kScreenWidth, kScreenHeight};          // the screen before the current update
  Picture fade_output{kScreenWidth, kScreenHeight};
  // Pieces shown on the display at a place (comic symbol, loop animation, objects) are laid here
  // first, then only their area is presented.
  Picture display_work{kScreenWidth, kScreenHeight};
  Picture overlay;  // the ovr picture, any size
  Picture parts;    // partsload, sized when loaded
};

}  // namespace quill
