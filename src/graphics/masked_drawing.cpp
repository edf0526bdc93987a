#include "graphics/masked_drawing.h"

#include <algorithm>
#include <cstdint>

#include "graphics/blend_kernels.h"

namespace quill {
namespace {

// w × h pixels of image and mask rows (their own strides), from pixel (sx, sy) of each, onto
// dest at (x, y), clipped to dest.
void DrawMaskedArea(Picture& dest, int64_t x, int64_t y, int64_t w, int64_t h, const uint8_t* image,
                    const uint8_t* mask, size_t image_stride, size_t mask_stride) {
  int64_t sx = 0, sy = 0;
  if (x < 0) {
    w += x;
    sx = -x;
    x = 0;
  }
  if (y < 0) {
    h += y;
    sy = -y;
    y = 0;
  }
  if (x >= dest.width() || y > dest.height() || h <= 0 || w <= 0) return;
  if (x + w > dest.width()) w = dest.width() - x;
  if (y + h > dest.height()) h = dest.height() - y;
  const size_t grouped = static_cast<size_t>(w / 8) * 24;
  const size_t rest = static_cast<size_t>(w % 8) * 3;
  for (int64_t r = 0; r < h; ++r) {
    uint8_t* d = dest.Pixel(static_cast<int>(x), static_cast<int>(y + r));
    const uint8_t* s = image + static_cast<size_t>(sy + r) * image_stride + sx * 3;
    const uint8_t* m = mask + static_cast<size_t>(sy + r) * mask_stride + sx * 3;
    MaskedBlendRow(d, d, s, m, grouped / 8);
    MaskedBlendBytes(d + grouped, d + grouped, s + grouped, m + grouped, rest);
  }
}

}  // namespace

void DrawMasked(Picture& dest, const Picture& picture, int x, int y, const Picture& mask) {
  const int w = std::min(picture.width(), mask.width());
  const int h = std::min(picture.height(), mask.height());
  if (w <= 0 || h <= 0) return;
  DrawMaskedArea(dest, x, y, w, h, picture.Row(0), mask.Row(0), picture.stride(), mask.stride());
}

void DrawMaskedPair(Picture& dest, int x, int y, const Picture& picture) {
  const int half = picture.width() / 2;
  if (half <= 0 || picture.height() <= 0) return;
  DrawMaskedArea(dest, x, y, half, picture.height(), picture.Row(0), picture.Row(0) + half * 3,
                 picture.stride(), picture.stride());
}

void DrawMaskedStacked(Picture& dest, int x, int y, const Picture& picture) {
  const int half = picture.height() / 2;
  if (x < 0 || y < 0) return;
  if (int64_t{x} + picture.width() > dest.width() || int64_t{y} + half > dest.height()) return;
  const size_t groups = static_cast<size_t>(picture.width()) * 3 / 8;
  for (int r = 0; r < half; ++r) {
    uint8_t* d = dest.Pixel(x, y + r);
    MaskedBlendRow(d, d, picture.Row(r), picture.Row(half + r), groups);
  }
}

}  // namespace quill
