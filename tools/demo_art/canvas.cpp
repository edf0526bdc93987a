#include "tools/demo_art/canvas.h"

#include <algorithm>
#include <cmath>

namespace quill::demo_art {

Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Rgb operator*(Rgb a, float k) { return {a.r * k, a.g * k, a.b * k}; }
Rgb Mix(Rgb a, Rgb b, float t) { return a * (1 - t) + b * t; }
Rgb Hex(uint32_t rgb) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f};
}

float Clamp01(float v) { return v < 0 ? 0 : v > 1 ? 1 : v; }
float Smoothstep(float e0, float e1, float x) {
  float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

float CircleSdf(float x, float y, float cx, float cy, float r) {
  return std::hypot(x - cx, y - cy) - r;
}

float EllipseSdf(float x, float y, float cx, float cy, float rx, float ry) {
  // Scaled-circle approximation: exact on the axes, close enough for soft shapes.
  float dx = (x - cx) / rx, dy = (y - cy) / ry;
  float k = std::hypot(dx, dy);
  return (k - 1) * std::min(rx, ry);
}

float RoundedBoxSdf(float x, float y, float x0, float y0, float x1, float y1, float radius) {
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
  float qx = std::abs(x - cx) - hx, qy = std::abs(y - cy) - hy;
  float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
  return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float CapsuleSdf(float x, float y, Vec2 a, Vec2 b, float radius) {
  float px = x - a.x, py = y - a.y, bx = b.x - a.x, by = b.y - a.y;
  float len2 = bx * bx + by * by;
  float h = len2 > 0 ? Clamp01((px * bx + py * by) / len2) : 0;
  return std::hypot(px - bx * h, py - by * h) - radius;
}

float PolygonSdf(float x, float y, const std::vector<Vec2>& v) {
  size_t n = v.size();
  if (n < 3) return 1e9f;
  float d = (x - v[0].x) * (x - v[0].x) + (y - v[0].y) * (y - v[0].y);
  float s = 1;
  for (size_t i = 0, j = n - 1; i < n; j = i, ++i) {
    float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y;
    float wx = x - v[i].x, wy = y - v[i].y;
    float h = Clamp01((wx * ex + wy * ey) / (ex * ex + ey * ey));
    float bx = wx - ex * h, by = wy - ey * h;
    d = std::min(d, bx * bx + by * by);
    bool c1 = y >= v[i].y, c2 = y<v[j].y, c3 = ex * wy> ey * wx;
    if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
  }
  return s * std::sqrt(d);
}

namespace {

float Hash(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / 16777215.0f;
}

}  // namespace

float ValueNoise(float x, float y, uint32_t seed) {
  int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  float fx = x - ix, fy = y - iy;
  float ux = fx * fx * (3 - 2 * fx), uy = fy * fy * (3 - 2 * fy);
  float a = Hash(ix, iy, seed), b = Hash(ix + 1, iy, seed);
  float c = Hash(ix, iy + 1, seed), d = Hash(ix + 1, iy + 1, seed);
  return a + (b - a) * ux + (c - a) * uy + (a - b - c + d) * ux * uy;
}

float Fbm(float x, float y, int octaves, uint32_t seed) {
  float sum = 0, amp = 0.5f, norm = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * ValueNoise(x, y, seed + i * 101);
    norm += amp;
    x = x * 2.03f + 17.1f;
    y = y * 2.03f + 5.3f;
    amp *= 0.5f;
  }
  return sum / norm;
}

Layer::Layer(int width, int height)
    : width_(width),
      height_(height),
      colour_(static_cast<size_t>(width) * height),
      alpha_(static_cast<size_t>(width) * height, 0.0f) {}

void Layer::Blend(int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
  a = std::min(a, 1.0f);
  size_t i = static_cast<size_t>(y) * width_ + x;
  colour_[i] = colour_[i] * (1 - a) + c * a;
  alpha_[i] = alpha_[i] * (1 - a) + a;
}

void Layer::Fill(const Sdf& sdf, const Shader& shader, float opacity, float feather, Rect b) {
  if (b.w <= 0 || b.h <= 0) b = {0, 0, width_, height_};
  int x0 = std::max(0, b.x), y0 = std::max(0, b.y);
  int x1 = std::min(width_, b.x + b.w), y1 = std::min(height_, b.y + b.h);
  float soft = 1 + feather;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      float px = x + 0.5f, py = y + 0.5f;
      float d = sdf(px, py);
      if (d >= soft / 2) continue;
      float cover = feather > 0 ? 1 - Smoothstep(-soft / 2, soft / 2, d) : Clamp01(0.5f - d);
      Blend(x, y, shader(px, py, d), cover * opacity);
    }
  }
}

void Layer::Fill(const Sdf& sdf, const std::function<Rgb(float x, float y)>& shader, float opacity,
                 float feather, Rect bounds) {
  Fill(
      sdf, [&shader](float x, float y, float) { return shader(x, y); }, opacity, feather, bounds);
}

void Layer::Fill(const Sdf& sdf, Rgb colour, float opacity, float feather, Rect bounds) {
  Fill(
      sdf, [colour](float, float, float) { return colour; }, opacity, feather, bounds);
}

void Layer::Paint(const std::function<Rgb(float x, float y)>& shader) {
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      size_t i = static_cast<size_t>(y) * width_ + x;
      colour_[i] = shader(x + 0.5f, y + 0.5f);
      alpha_[i] = 1;
    }
  }
}

void Layer::Composite(const Layer& top, int dx, int dy) {
  for (int y = 0; y < top.height_; ++y) {
    for (int x = 0; x < top.width_; ++x) {
      int tx = x + dx, ty = y + dy;
      if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
      size_t s = static_cast<size_t>(y) * top.width_ + x;
      size_t d = static_cast<size_t>(ty) * width_ + tx;
      float a = top.alpha_[s];
      colour_[d] = colour_[d] * (1 - a) + top.colour_[s];
      alpha_[d] = alpha_[d] * (1 - a) + a;
    }
  }
}

Rgb Layer::ColourAt(int x, int y) const {
  size_t i = static_cast<size_t>(y) * width_ + x;
  float a = alpha_[i];
  return a > 1e-4f ? colour_[i] * (1 / a) : Rgb{};
}

float Layer::AlphaAt(int x, int y) const { return alpha_[static_cast<size_t>(y) * width_ + x]; }

namespace {

uint8_t ToByte(float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255)); }

void Put(Picture& p, int x, int y, Rgb c) {
  uint8_t* px = p.Pixel(x, y);
  px[0] = ToByte(c.b);
  px[1] = ToByte(c.g);
  px[2] = ToByte(c.r);
}

}  // namespace

Picture Layer::ToPicture() const {
  Picture p(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Put(p, x, y, colour_[static_cast<size_t>(y) * width_ + x]);
  return p;
}

Picture Layer::ColourPicture() const {
  Picture p(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) Put(p, x, y, ColourAt(x, y));
  return p;
}

Picture Layer::MaskPicture() const {
  Picture p(width_, height_);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      float a = AlphaAt(x, y);
      Put(p, x, y, {a, a, a});
    }
  }
  return p;
}

Picture StackVertically(const std::vector<const Picture*>& parts) {
  int w = 0, h = 0;
  for (const Picture* p : parts) {
    w = std::max(w, p->width());
    h += p->height();
  }
  Picture out(w, h);
  int y = 0;
  for (const Picture* p : parts) {
    CopyPicture(out, 0, y, *p);
    y += p->height();
  }
  return out;
}

Picture SideBySide(const std::vector<const Picture*>& parts) {
  int w = 0, h = 0;
  for (const Picture* p : parts) {
    w += p->width();
    h = std::max(h, p->height());
  }
  Picture out(w, h);
  int x = 0;
  for (const Picture* p : parts) {
    CopyPicture(out, x, 0, *p);
    x += p->width();
  }
  return out;
}

}  // namespace quill::demo_art
