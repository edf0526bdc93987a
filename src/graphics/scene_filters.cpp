#include "graphics/scene_filters.h"

#include <algorithm>

#include "graphics/blend_kernels.h"

namespace quill {
namespace {

void ScaleScene(Picture& scene, int32_t scale) {
  // 0..16 sixteenths never overflow a byte: (b × s) >> 4 is (b × 16s) >> 8, the Scale kernel,
  // which covers whole rows only when they are made of whole 8-byte groups.
  const bool kernel = scale >= 0 && scale <= 16 && scene.stride() % 8 == 0;
  if (kernel) {
    Scale(scene, scene, scale * 16);
    return;
  }
  for (uint8_t& b : scene.bytes()) {
    int64_t v = (int64_t{b} * scale) >> 4;
    b = static_cast<uint8_t>(v & 0xff);
  }
}

void SepiaOrGrey(Picture& scene, bool sepia) {
  std::vector<uint8_t>& bytes = scene.bytes();
  for (size_t i = 0; i + 2 < bytes.size(); i += 3) {
    const int a = (bytes[i] + bytes[i + 1] + bytes[i + 2]) / 3;
    if (sepia) {
      bytes[i] = static_cast<uint8_t>(a >> 2);
      bytes[i + 1] = static_cast<uint8_t>((3 * a) >> 2);
    } else {
      bytes[i] = static_cast<uint8_t>(a);
      bytes[i + 1] = static_cast<uint8_t>(a);
    }
    bytes[i + 2] = static_cast<uint8_t>(a);
  }
}

// Row r swaps with the last row minus r and each row's pixel order reverses: the pixel sequence
// of the whole picture, reversed.
void TurnHalfway(Picture& scene) {
  std::vector<uint8_t>& bytes = scene.bytes();
  size_t lo = 0;
  size_t hi = bytes.size() / 3;
  while (hi > lo + 1) {
    --hi;
    std::swap_ranges(bytes.begin() + lo * 3, bytes.begin() + lo * 3 + 3, bytes.begin() + hi * 3);
    ++lo;
  }
}

}  // namespace

void ApplySceneFilter(Picture& scene, int32_t kind, int32_t scale) {
  if (scene.empty()) return;
  switch (kind) {
    case kSceneFilterScale:
      ScaleScene(scene, scale);
      break;
    case kSceneFilterSepia:
      SepiaOrGrey(scene, true);
      break;
    case kSceneFilterGrey:
      SepiaOrGrey(scene, false);
      break;
    case kSceneFilterTurn:
      TurnHalfway(scene);
      break;
    default:
      break;
  }
}

}  // namespace quill
