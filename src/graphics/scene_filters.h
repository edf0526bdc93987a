#pragma once
// The whole-scene colour filter chosen by S011 after composition: 1 scale by S013 sixteenths,
// 2 sepia, 3 grey, 4 turned by 180 degrees; any other value leaves the scene alone.
#include <cstdint>

#include "common/picture.h"

namespace quill {

enum SceneFilterKind : int {
  kSceneFilterNone = 0,
  kSceneFilterScale = 1,
  kSceneFilterSepia = 2,
  kSceneFilterGrey = 3,
  kSceneFilterTurn = 4,
};

// Applies filter `kind` to the whole of `scene` in place. `scale` (S013) is used by the scale
// filter only: every byte becomes the low 8 bits of (byte × scale) >> 4.
void ApplySceneFilter(Picture& scene, int32_t kind, int32_t scale);

}  // namespace quill
