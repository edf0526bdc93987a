// The backgrounds: a day sky over hills, a room, a street at dusk, a night sky, the title.
#include <cmath>

#include "tools/demo_art/art.h"

namespace quill::demo_art {

namespace {

constexpr int kW = 800, kH = 600;

Rgb Gradient3(float t, Rgb a, Rgb b, Rgb c) {
  return t < 0.5f ? Mix(a, b, Smoothstep(0, 0.5f, t)) : Mix(b, c, Smoothstep(0.5f, 1, t));
}

// The day sky with soft clouds; shared by the sky, the room's window and the title.
Rgb DaySky(float x, float y, float horizon) {
  float t = Clamp01(y / horizon);
  Rgb sky = Gradient3(t, Hex(0x2f6fd6), Hex(0x71a9ec), Hex(0xd8e9f8));
  float sun = std::exp(-std::hypot(x - 620, y - 110) / 140.0f);
  sky = Mix(sky, Hex(0xfff6dc), sun * 0.7f);
  float n = Fbm(x / 230.0f, y / 80.0f, 5, 7);
  float band = Smoothstep(20, 120, y) * (1 - Smoothstep(horizon - 120, horizon, y));
  float density = Smoothstep(0.5f, 0.72f, n) * band;
  float lit = Smoothstep(0.5f, 0.85f, Fbm(x / 230.0f, (y - 10) / 80.0f, 5, 7));
  Rgb cloud = Mix(Hex(0xb9c8e2), Hex(0xffffff), lit);
  return Mix(sky, cloud, density * 0.92f);
}

// A ridge of hills: its top y at x.
float Ridge(float x, float base, float amplitude, float scale, uint32_t seed) {
  return base - amplitude * Fbm(x / scale, 0.5f, 4, seed);
}

void Vignette(Layer& layer, float strength) {
  Layer v(kW, kH);
  v.Paint([](float, float) { return Rgb{}; });
  Layer dark(kW, kH);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      float dx = (x - 400) / 400.0f, dy = (y - 300) / 300.0f;
      float a = Smoothstep(0.6f, 1.5f, std::sqrt(dx * dx + dy * dy)) * strength;
      dark.Blend(x, y, {0, 0, 0.02f}, a);
    }
  }
  layer.Composite(dark);
}

Rect Box(float x0, float y0, float x1, float y1) {
  return {static_cast<int>(x0) - 2, static_cast<int>(y0) - 2, static_cast<int>(x1 - x0) + 4,
          static_cast<int>(y1 - y0) + 4};
}

void Rectangle(Layer& l, float x0, float y0, float x1, float y1, Rgb c, float r = 0,
               float opacity = 1) {
  l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, y0, x1, y1, r); }, c, opacity, 0,
         Box(x0, y0, x1, y1));
}

}  // namespace

Picture BlueSky() {
  Layer l(kW, kH);
  l.Paint([](float x, float y) { return DaySky(x, y, 440); });
  // Far hills in haze, near hills in green, a meadow in front.
  l.Fill([](float x, float y) { return Ridge(x, 455, 90, 260, 3) - y; },
         [](float, float y) { return Mix(Hex(0x8fb0c8), Hex(0x7d9fb4), Clamp01((y - 380) / 80)); });
  l.Fill([](float x, float y) { return Ridge(x, 500, 70, 180, 11) - y; },
         [](float x, float y) {
           float n = Fbm(x / 40, y / 40, 3, 5);
           return Mix(Hex(0x5f9a52), Hex(0x3f7a3c), Clamp01((y - 440) / 120) * 0.7f + n * 0.3f);
         });
  l.Fill([](float x, float y) { return Ridge(x, 560, 40, 300, 19) - y; },
         [](float x, float y) {
           float n = Fbm(x / 18, y / 9, 3, 23);
           return Mix(Hex(0x78b85a), Hex(0x4d8f3f), Clamp01((y - 520) / 80) * 0.6f + n * 0.4f);
         });
  Vignette(l, 0.35f);
  return l.ToPicture();
}

Picture Room() {
  Layer l(kW, kH);
  l.Paint([](float x, float y) {
    if (y < 430) {
      Rgb wall = Mix(Hex(0xf3e6d3), Hex(0xd9c3a8), y / 430);
      float stripe = 0.5f + 0.5f * std::sin(x / 9.0f);
      return wall * (0.97f + 0.03f * stripe);
    }
    // Wooden planks: rows of boards with their own shade and a thin dark seam.
    float row = std::floor((y - 430) / 26);
    float offset = std::fmod(row * 137.0f, 240.0f);
    float board = std::floor((x + offset) / 240);
    float tone = ValueNoise(board * 3.1f, row * 7.7f, 41);
    float grain = Fbm((x + offset) / 60, y / 3, 3, 43);
    Rgb wood = Mix(Hex(0x9a6a43), Hex(0x7a4d2d), tone * 0.6f + grain * 0.4f);
    float seam_y = std::fmod(y - 430, 26.0f), seam_x = std::fmod(x + offset, 240.0f);
    if (seam_y < 1.5f || seam_x < 1.5f) wood = wood * 0.7f;
    return wood * (1 - 0.35f * Clamp01((y - 430) / 170));
  });
  // Skirting board.
  Rectangle(l, 0, 422, 800, 436, Hex(0xefe4d4));
  Rectangle(l, 0, 434, 800, 438, Hex(0xb59f86), 0, 0.8f);
  // The window: sky, frame and mullions, curtains.
  Rectangle(l, 420, 66, 744, 344, Hex(0xfbf7f0), 6);
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 436, 82, 728, 328, 2); },
         [](float x, float y) { return DaySky(x * 1.4f - 200, (y - 82) * 1.6f, 420); });
  Rectangle(l, 578, 82, 586, 328, Hex(0xf6f0e6));
  Rectangle(l, 436, 201, 728, 209, Hex(0xf6f0e6));
  Rectangle(l, 410, 340, 754, 352, Hex(0xf8f2e8), 3);
  for (int side = 0; side < 2; ++side) {
    float x0 = side == 0 ? 388 : 700, x1 = side == 0 ? 470 : 782;
    l.Fill(
        [=](float x, float y) {
          float sway = 8 * std::sin(y / 60.0f + side);
          return RoundedBoxSdf(x - sway * (y - 50) / 330, y, x0, 50, x1, 380, 10);
        },
        [=](float x, float) {
          float fold = 0.5f + 0.5f * std::sin((x - x0) / 7.0f);
          return Mix(Hex(0xd98fa0), Hex(0xf2bccb), fold);
        },
        1, 0, Box(x0 - 30, 45, x1 + 30, 385));
  }
  Rectangle(l, 376, 42, 794, 52, Hex(0x8a6240), 4);
  // A sunbeam from the window over the floor.
  std::vector<Vec2> beam = {{436, 330}, {728, 330}, {640, 600}, {230, 600}};
  l.Fill([&](float x, float y) { return PolygonSdf(x, y, beam); }, Hex(0xfff2c8), 0.18f, 30);
  // A shelf with books and a desk with a lamp.
  Rectangle(l, 60, 150, 320, 162, Hex(0x8a5d3b), 3);
  const uint32_t spines[] = {0x3f6fa8, 0xb8514a, 0xe0b04a, 0x5d8f5a, 0x7e5a9a, 0x3f6fa8, 0xd07a3a};
  float bx = 74;
  for (int i = 0; i < 7; ++i) {
    float w = 18 + (i * 7) % 11, h = 62 + (i * 13) % 24;
    Rgb c = Hex(spines[i]);
    l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, bx, 150 - h, bx + w, 150, 2); },
           [=](float x, float) { return c * (0.8f + 0.3f * Clamp01((x - bx) / w)); }, 1, 0,
           Box(bx, 150 - h, bx + w, 150));
    bx += w + 3;
  }
  l.Fill([](float x, float y) { return EllipseSdf(x, y, 280, 132, 22, 18); }, Hex(0x6aa35a));
  Rectangle(l, 262, 132, 298, 150, Hex(0xc06a45), 4);
  Rectangle(l, 40, 360, 350, 378, Hex(0x9b6a44), 4);
  Rectangle(l, 40, 374, 350, 382, Hex(0x6e4628), 2);
  Rectangle(l, 56, 380, 72, 520, Hex(0x7a5032), 3);
  Rectangle(l, 318, 380, 334, 520, Hex(0x7a5032), 3);
  Rectangle(l, 180, 380, 334, 470, Hex(0x8c5e3c), 4);
  Rectangle(l, 250, 420, 264, 428, Hex(0xe0c080), 3);
  l.Fill([](float x, float y) { return EllipseSdf(x, y, 110, 362, 34, 6); }, Hex(0x404a58));
  Rectangle(l, 106, 290, 114, 362, Hex(0x4a5462), 3);
  std::vector<Vec2> shade = {{82, 262}, {138, 262}, {154, 300}, {66, 300}};
  l.Fill([&](float x, float y) { return PolygonSdf(x, y, shade); },
         [](float, float y) { return Mix(Hex(0xfff3cf), Hex(0xf0c878), (y - 262) / 38); });
  l.Fill([](float x, float y) { return CircleSdf(x, y, 110, 300, 80); }, Hex(0xffe9b0), 0.25f, 60);
  Vignette(l, 0.45f);
  return l.ToPicture();
}

Picture DuskStreet() {
  Layer l(kW, kH);
  l.Paint([](float x, float y) {
    float t = Clamp01(y / 400);
    Rgb sky = Gradient3(t, Hex(0x241f4d), Hex(0x8c4d7c), Hex(0xf4a061));
    float glow = std::exp(-std::hypot((x - 400) / 1.6f, y - 400) / 120.0f);
    sky = Mix(sky, Hex(0xffd58a), glow * 0.8f);
    float streak = Smoothstep(0.55f, 0.75f, Fbm(x / 300, y / 24, 4, 61)) * Smoothstep(60, 160, y) *
                   (1 - Smoothstep(300, 380, y));
    return Mix(sky, Mix(Hex(0xf7b3a0), Hex(0x6d4a78), 0.4f), streak * 0.6f);
  });
  // Buildings on both sides, lit windows, a road running to the horizon.
  uint32_t seed = 5;
  auto rnd = [&seed]() {
    seed = seed * 1103515245u + 12345u;
    return ((seed >> 16) & 0x7FFF) / 32767.0f;
  };
  for (int side = 0; side < 2; ++side) {
    float x = side == 0 ? -10 : 520;
    float end = side == 0 ? 290 : 820;
    while (x < end) {
      float w = 60 + rnd() * 70, top = 120 + rnd() * 200;
      float x0 = x, x1 = x + w;
      Rgb body = Mix(Hex(0x2c2546), Hex(0x3d3157), rnd());
      l.Fill([=](float px, float py) { return RoundedBoxSdf(px, py, x0, top, x1, 470, 1); },
             [=](float, float py) { return body * (1.1f - 0.3f * Clamp01((py - top) / 300)); }, 1,
             0, Box(x0, top, x1, 470));
      for (float wy = top + 16; wy < 440; wy += 26) {
        for (float wx = x0 + 10; wx + 12 < x1 - 6; wx += 22) {
          if (rnd() < 0.45f) continue;
          Rgb lit = Mix(Hex(0xffd27a), Hex(0xfff0c0), rnd());
          Rectangle(l, wx, wy, wx + 12, wy + 14, lit, 1, 0.9f);
        }
      }
      x += w + 2;
    }
  }
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, -10, 440, 810, 610, 0); },
         Hex(0x3a3346));
  std::vector<Vec2> road = {{370, 440}, {430, 440}, {860, 600}, {-60, 600}};
  l.Fill([&](float x, float y) { return PolygonSdf(x, y, road); },
         [](float, float y) { return Mix(Hex(0x4a4256), Hex(0x2a2534), (y - 440) / 160); });
  for (int i = 0; i < 6; ++i) {
    float t0 = i / 6.0f + 0.03f, t1 = t0 + 0.08f;
    float y0 = 440 + 160 * t0 * t0, y1 = 440 + 160 * t1 * t1;
    float w0 = 1 + 5 * t0 * t0, w1 = 1 + 5 * t1 * t1;
    std::vector<Vec2> dash = {{400 - w0, y0}, {400 + w0, y0}, {400 + w1, y1}, {400 - w1, y1}};
    l.Fill([dash](float x, float y) { return PolygonSdf(x, y, dash); }, Hex(0xf2e6c0), 0.85f);
  }
  // Street lamps with their glow.
  const float lamps[][3] = {{250, 300, 1.0f}, {560, 330, 0.8f}, {140, 250, 1.2f}};
  for (const auto& lamp : lamps) {
    float x = lamp[0], top = lamp[1], s = lamp[2];
    float foot = 470 + 100 * (s - 0.8f);
    Rectangle(l, x - 3 * s, top, x + 3 * s, foot, Hex(0x1d1a28), 2);
    l.Fill(
        [=](float px, float py) {
          return CapsuleSdf(px, py, {x, top}, {x + 24 * s, top - 6 * s}, 3 * s);
        },
        Hex(0x1d1a28));
    l.Fill([=](float px, float py) { return CircleSdf(px, py, x + 26 * s, top, 60 * s); },
           Hex(0xffd890), 0.35f, 80 * s);
    l.Fill(
        [=](float px, float py) { return EllipseSdf(px, py, x + 26 * s, top + 2, 9 * s, 6 * s); },
        Hex(0xfff4d0));
  }
  // Power lines.
  for (int k = 0; k < 2; ++k) {
    for (float x = 0; x < 800; x += 2) {
      float y = 70 + k * 18 + 0.00035f * (x - 420) * (x - 420);
      l.Fill([=](float px, float py) { return CircleSdf(px, py, x, y, 0.7f); }, Hex(0x1c1628), 0.8f,
             0, Box(x - 2, y - 2, x + 2, y + 2));
    }
  }
  Vignette(l, 0.4f);
  return l.ToPicture();
}

Picture NightSky() {
  Layer l(kW, kH);
  l.Paint([](float x, float y) {
    float t = Clamp01(y / 470);
    Rgb sky = Gradient3(t, Hex(0x060a1c), Hex(0x172552), Hex(0x3a4a7c));
    float band = std::exp(-std::abs((y - 300) - (x - 400) * -0.5f) / 90.0f);
    float haze = Fbm(x / 120, y / 120, 5, 77);
    sky = sky + Hex(0x8a8fc8) * (band * haze * 0.18f);
    float moon = std::exp(-std::hypot(x - 600, y - 130) / 90.0f);
    return Mix(sky, Hex(0xc8d4ff), moon * 0.35f);
  });
  uint32_t seed = 99;
  auto rnd = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0f;
  };
  for (int i = 0; i < 420; ++i) {
    float x = rnd() * 800, y = rnd() * 460, b = rnd();
    float r = 0.4f + b * b * 1.3f;
    Rgb c = Mix(Hex(0xbcd0ff), Hex(0xfff2d8), rnd());
    l.Fill([=](float px, float py) { return CircleSdf(px, py, x, y, r); }, c, 0.5f + 0.5f * b, 0,
           Box(x - 4, y - 4, x + 4, y + 4));
    if (b > 0.93f)
      l.Fill([=](float px, float py) { return CircleSdf(px, py, x, y, 2); }, c, 0.25f, 8,
             Box(x - 12, y - 12, x + 12, y + 12));
  }
  l.Fill([](float x, float y) { return CircleSdf(x, y, 600, 130, 44); },
         [](float x, float y) {
           float n = Fbm(x / 14, y / 14, 4, 31);
           float edge = Clamp01((std::hypot(x - 592, y - 122) / 50));
           return Mix(Hex(0xfdf8e8), Hex(0xd8d2c0), n * 0.5f + edge * 0.3f);
         });
  l.Fill(
      [](float x, float y) { return Ridge(x, 500, 80, 220, 13) - y; },
      [](float, float y) { return Mix(Hex(0x1b2340), Hex(0x10162a), Clamp01((y - 420) / 120)); });
  l.Fill([](float x, float y) { return Ridge(x, 560, 50, 160, 29) - y; }, Hex(0x0b0f1e));
  // A small house on the near hill with one warm window.
  std::vector<Vec2> roof = {{160, 468}, {206, 438}, {252, 468}};
  Rectangle(l, 168, 466, 244, 520, Hex(0x0e1222));
  l.Fill([&](float x, float y) { return PolygonSdf(x, y, roof); }, Hex(0x0e1222));
  Rectangle(l, 196, 480, 216, 496, Hex(0xffcf7a), 1);
  l.Fill([](float x, float y) { return CircleSdf(x, y, 206, 488, 10); }, Hex(0xffc060), 0.3f, 30);
  Vignette(l, 0.3f);
  return l.ToPicture();
}

Picture TitleScreen(Lettering& letters) {
  Layer l(kW, kH);
  l.Paint([](float x, float y) {
    Rgb sky = DaySky(x, y, 520);
    float dusk = Clamp01(y / 600);
    return Mix(sky, Hex(0xf6c9a8), dusk * 0.35f);
  });
  l.Fill(
      [](float x, float y) { return Ridge(x, 560, 110, 240, 3) - y; },
      [](float, float y) { return Mix(Hex(0x8aa7c6), Hex(0x6a86a8), Clamp01((y - 450) / 120)); });
  l.Fill([](float x, float y) { return Ridge(x, 610, 70, 170, 17) - y; }, Hex(0x55708f));
  // A soft band behind the title, the two friends at its sides, a haze over their feet.
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 120, 170, 680, 330, 40); },
         Hex(0x10203a), 0.35f, 40);
  l.Composite(CharacterLayer(0, 1), -40, 40);
  l.Composite(CharacterLayer(1, 1), 520, 30);
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, -20, 520, 820, 640, 0); },
         [](float, float y) { return Mix(Hex(0xdfe8f4), Hex(0xb8c8de), Clamp01((y - 500) / 100)); },
         0.8f, 80);
  const char* title = "Quill デモ";
  int tw = letters.Width(title, 88, true);
  Layer text = letters.Coverage(kW, 140, (kW - tw) / 2, 20, title, 88, true);
  PaintCoverage(l, Blurred(text, 6), Hex(0x0a1630), 0.8f, 4, 176);
  PaintCoverage(l, text, Hex(0xffffff), 1, 0, 170);
  const char* sub = "― 小さな一日の物語 ―";
  int sw = letters.Width(sub, 28);
  Layer subtitle = letters.Coverage(kW, 40, (kW - sw) / 2, 4, sub, 28);
  PaintCoverage(l, Blurred(subtitle, 3), Hex(0x0a1630), 0.7f, 2, 292);
  PaintCoverage(l, subtitle, Hex(0xf7e7c6), 1, 0, 290);
  const char* hint = "クリックで はじめる";
  int hw = letters.Width(hint, 24);
  Layer prompt = letters.Coverage(kW, 36, (kW - hw) / 2, 4, hint, 24);
  PaintCoverage(l, Blurred(prompt, 3), Hex(0x0a1630), 0.8f, 2, 472);
  PaintCoverage(l, prompt, Hex(0xffffff), 0.95f, 0, 470);
  Vignette(l, 0.3f);
  return l.ToPicture();
}

Picture PetalOverlay() {
  Layer l(kW, kH);
  uint32_t seed = 7;
  auto rnd = [&seed]() {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / 16777216.0f;
  };
  for (int i = 0; i < 70; ++i) {
    float x = rnd() * 800, y = rnd() * 600, size = 5 + rnd() * 8, angle = rnd() * 6.283f;
    float ca = std::cos(angle), sa = std::sin(angle);
    Rgb base = Mix(Hex(0xf7b8c8), Hex(0xfde6ee), rnd());
    float opacity = 0.6f + 0.4f * rnd();
    l.Fill(
        [=](float px, float py) {
          float u = (px - x) * ca + (py - y) * sa, v = -(px - x) * sa + (py - y) * ca;
          // A petal: an ellipse with a notch at its tip.
          float d = EllipseSdf(u, v, 0, 0, size, size * 0.6f);
          float notch = CircleSdf(u, v, size * 1.05f, 0, size * 0.3f);
          return std::max(d, -notch);
        },
        [=](float px, float py) {
          float u = (px - x) * ca + (py - y) * sa;
          return Mix(base, Hex(0xe58aa5), Clamp01(-u / size) * 0.5f);
        },
        opacity, 0, Box(x - 16, y - 16, x + 16, y + 16));
  }
  Picture image = l.ColourPicture(), mask = l.MaskPicture();
  return SideBySide({&image, &mask});
}

Picture WipePattern() {
  // Bright areas change first: a soft diagonal sweep broken up by cloudy noise.
  Layer l(kW, kH);
  l.Paint([](float x, float y) {
    float diagonal = 1 - (x + y * 0.8f) / (800 + 600 * 0.8f);
    float n = Fbm(x / 90, y / 90, 4, 5);
    float v = Clamp01(diagonal * 0.75f + n * 0.25f);
    return Rgb{v, v, v};
  });
  return l.ToPicture();
}

}  // namespace quill::demo_art
