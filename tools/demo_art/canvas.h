#pragma once
// A small floating-point painter for the demo's procedural art: layers with coverage, shapes
// given as signed distances (negative inside) so that every edge comes out anti-aliased.
#include <cstdint>
#include <functional>
#include <vector>

#include "common/picture.h"

namespace quill::demo_art {

struct Rgb {
  float r = 0, g = 0, b = 0;
};
Rgb operator+(Rgb a, Rgb b);
Rgb operator*(Rgb a, float k);
Rgb Mix(Rgb a, Rgb b, float t);
// #RRGGBB.
Rgb Hex(uint32_t rgb);

float Clamp01(float v);
float Smoothstep(float e0, float e1, float x);

struct Vec2 {
  float x = 0, y = 0;
};

// Signed distances, negative inside.
float CircleSdf(float x, float y, float cx, float cy, float r);
float EllipseSdf(float x, float y, float cx, float cy, float rx, float ry);
float RoundedBoxSdf(float x, float y, float x0, float y0, float x1, float y1, float radius);
float CapsuleSdf(float x, float y, Vec2 a, Vec2 b, float radius);
float PolygonSdf(float x, float y, const std::vector<Vec2>& points);

// Smooth value noise in [0, 1] and its fractal sum; the seed picks the lattice.
float ValueNoise(float x, float y, uint32_t seed);
float Fbm(float x, float y, int octaves, uint32_t seed);

// Premultiplied colour and coverage per pixel.
class Layer {
 public:
  Layer(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Paints `colour` over the layer with coverage `alpha` at one pixel.
  void Blend(int x, int y, Rgb colour, float alpha);
  // Fills the shape: coverage from the distance (one pixel of anti-aliasing, widened by
  // `feather`), times `opacity`; the shader gives the colour at (x, y) with the distance d.
  using Sdf = std::function<float(float x, float y)>;
  using Shader = std::function<Rgb(float x, float y, float d)>;
  void Fill(const Sdf& sdf, const Shader& shader, float opacity = 1, float feather = 0,
            Rect bounds = {});
  void Fill(const Sdf& sdf, const std::function<Rgb(float x, float y)>& shader, float opacity = 1,
            float feather = 0, Rect bounds = {});
  void Fill(const Sdf& sdf, Rgb colour, float opacity = 1, float feather = 0, Rect bounds = {});
  // Every pixel from a function (for skies and full backgrounds); coverage 1.
  void Paint(const std::function<Rgb(float x, float y)>& shader);
  // Lays another layer over this one at (dx, dy).
  void Composite(const Layer& top, int dx = 0, int dy = 0);

  Rgb ColourAt(int x, int y) const;  // unpremultiplied
  float AlphaAt(int x, int y) const;

  // The colour over black (what a background shows).
  Picture ToPicture() const;
  // The colour unpremultiplied (for masked drawing) and the coverage as a grey mask.
  Picture ColourPicture() const;
  Picture MaskPicture() const;

 private:
  int width_, height_;
  std::vector<Rgb> colour_;  // premultiplied
  std::vector<float> alpha_;
};

// Stacks pictures of one width: the first on top.
Picture StackVertically(const std::vector<const Picture*>& parts);
Picture SideBySide(const std::vector<const Picture*>& parts);

}  // namespace quill::demo_art
