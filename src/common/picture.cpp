#include "common/picture.h"

#include <algorithm>
#include <cstring>

namespace quill {

void Picture::Create(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  pixels_.assign(static_cast<size_t>(width_) * height_ * 3, 0);
}

void Picture::Resize(int width, int height) {
  if (width == width_ && height == height_) return;
  Picture old = std::move(*this);
  Create(width, height);
  CopyRect(*this, 0, 0, old, 0, 0, old.width(), old.height());
}

void Picture::Fill(uint8_t b, uint8_t g, uint8_t r) { FillRect({0, 0, width_, height_}, b, g, r); }

void Picture::FillRect(Rect area, uint8_t b, uint8_t g, uint8_t r) {
  int x0 = std::max(area.x, 0), y0 = std::max(area.y, 0);
  int x1 = std::min(area.x + area.w, width_), y1 = std::min(area.y + area.h, height_);
  if (x0 >= x1 || y0 >= y1) return;
  for (int y = y0; y < y1; ++y) {
    uint8_t* p = Pixel(x0, y);
    for (int x = x0; x < x1; ++x, p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
}

void CopyRect(Picture& dst, int dx, int dy, const Picture& src, int sx, int sy, int w, int h) {
  // Clip against the source, then the destination, moving both origins together.
  if (sx < 0) { w += sx; dx -= sx; sx = 0; }
  if (sy < 0) { h += sy; dy -= sy; sy = 0; }
  if (dx < 0) { w += dx; sx -= dx; dx = 0; }
  if (dy < 0) { h += dy; sy -= dy; dy = 0; }
  w = std::min({w, src.width() - sx, dst.width() - dx});
  h = std::min({h, src.height() - sy, dst.height() - dy});
  if (w <= 0 || h <= 0) return;
  for (int y = 0; y < h; ++y) {
    std::memmove(dst.Pixel(dx, dy + y), src.Pixel(sx, sy + y), static_cast<size_t>(w) * 3);
  }
}

void CopyPicture(Picture& dst, int dx, int dy, const Picture& src) {
  CopyRect(dst, dx, dy, src, 0, 0, src.width(), src.height());
}

}  // namespace quill
