#include "graphics/blend_reference.h"

#include <algorithm>

namespace quill::reference {
namespace {

bool SameSize(const Picture& a, const Picture& b) {
  return a.width() == b.width() && a.height() == b.height();
}

size_t RowGroups(const Picture& p) { return static_cast<size_t>(p.stride()) / 8; }

}  // namespace

void CrossFadeRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups, int a) {
  a = std::clamp(a, 0, 256);
  for (size_t i = 0; i < groups * 8; ++i) out[i] = (a * p[i] + (256 - a) * q[i]) >> 8;
}

void MaskedBlendRow(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                    size_t groups) {
  for (size_t g = 0; g < groups * 8; g += 8) {
    bool all_zero = true;
    for (int k = 0; k < 8; ++k) all_zero = all_zero && m[g + k] == 0;
    if (all_zero) {
      for (int k = 0; k < 8; ++k) out[g + k] = p[g + k];
    } else {
      MaskedBlendBytes(out + g, p + g, q + g, m + g, 8);
    }
  }
}

void MaskedBlendBytes(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                      size_t count) {
  for (size_t i = 0; i < count; ++i) out[i] = (p[i] * (255 - m[i]) + q[i] * m[i]) >> 8;
}

void ScaleRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  v = std::clamp(v, 0, 256);
  for (size_t i = 0; i < groups * 8; ++i) out[i] = (p[i] * v) >> 8;
}

void BrightenRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  v = std::clamp(v, 0, 255);
  for (size_t i = 0; i < groups * 8; ++i) out[i] = std::min(255, p[i] + v);
}

void DarkenRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  v = std::clamp(v, 0, 255);
  for (size_t i = 0; i < groups * 8; ++i) out[i] = std::max(0, p[i] - v);
}

void AddRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups) {
  for (size_t i = 0; i < groups * 8; ++i) out[i] = std::min(255, p[i] + q[i]);
}

bool CrossFade(Picture& out, const Picture& p, const Picture& q, int a) {
  if (!SameSize(out, p) || !SameSize(out, q)) return false;
  for (int y = 0; y < out.height(); ++y)
    CrossFadeRow(out.Row(y), p.Row(y), q.Row(y), RowGroups(out), a);
  return true;
}

bool CrossFadeTile(Picture& out, const Picture& p, const Picture& q, int x, int y, int a) {
  if (!SameSize(out, p) || !SameSize(out, q)) return false;
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = static_cast<int>(std::min<int64_t>(int64_t{x} + 80, out.width()));
  int y1 = static_cast<int>(std::min<int64_t>(int64_t{y} + 60, out.height()));
  if (x0 >= x1 || y0 >= y1) return true;
  size_t groups = static_cast<size_t>(x1 - x0) * 3 / 8;
  for (int r = y0; r < y1; ++r) {
    CrossFadeRow(out.Pixel(x0, r), p.Pixel(x0, r), q.Pixel(x0, r), groups, a);
  }
  return true;
}

bool MaskedBlend(Picture& out, const Picture& p, const Picture& q, const Picture& m) {
  if (!SameSize(out, p) || !SameSize(out, q) || !SameSize(out, m)) return false;
  for (int y = 0; y < out.height(); ++y) {
    MaskedBlendBytes(out.Row(y), p.Row(y), q.Row(y), m.Row(y), RowGroups(out) * 8);
  }
  return true;
}

bool Scale(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  for (int y = 0; y < out.height(); ++y) ScaleRow(out.Row(y), p.Row(y), RowGroups(out), v);
  return true;
}

bool Brighten(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  for (int y = 0; y < out.height(); ++y) BrightenRow(out.Row(y), p.Row(y), RowGroups(out), v);
  return true;
}

bool Darken(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  for (int y = 0; y < out.height(); ++y) DarkenRow(out.Row(y), p.Row(y), RowGroups(out), v);
  return true;
}

bool Add(Picture& out, const Picture& p, const Picture& q) {
  if (!SameSize(out, p) || q.width() < p.width() || q.height() < p.height()) return false;
  for (int y = 0; y < out.height(); ++y) AddRow(out.Row(y), p.Row(y), q.Row(y), RowGroups(out));
  return true;
}

bool Pixelate(Picture& out, const Picture& src, int s) {
  if (!SameSize(out, src)) return false;
  s = std::max(s, 1);
  const Picture copy = src;  // out may be src
  for (int y = 0; y < out.height(); ++y) {
    for (int x = 0; x < out.width(); ++x) {
      const uint8_t* from = copy.Pixel(x / s * s, y / s * s);
      uint8_t* to = out.Pixel(x, y);
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
  return true;
}

}  // namespace quill::reference
