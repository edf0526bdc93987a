#include "tools/demo_art/effects_art.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "tools/demo_art/art.h"

namespace quill::demo_art {
namespace {

constexpr int kW = 800, kH = 600;
constexpr float kPi = 3.14159265f;

// A comic sweat drop: the image in the left half, its mask in the right half.
Picture SweatDrop() {
  const int w = 48, h = 64;
  Layer drop(w, h);
  auto shape = [](float x, float y) {
    // A circle below, narrowing to a point at the top.
    float round = CircleSdf(x, y, 24, 42, 16);
    float point = PolygonSdf(x, y, {{24, 4}, {40, 38}, {8, 38}});
    return std::min(round, point);
  };
  drop.Fill(shape, Hex(0x1d4f9c), 1, 0.5f);
  drop.Fill([&](float x, float y) { return shape(x, y) + 3; },
            [](float x, float y) {
              return Mix(Hex(0x8fd0ff), Hex(0x3b8be0), Clamp01(y / 60 + x / 200));
            });
  drop.Fill([](float x, float y) { return EllipseSdf(x, y, 18, 40, 4, 7); }, Hex(0xffffff), 0.9f);
  Picture colour = drop.ColourPicture(), mask = drop.MaskPicture();
  return SideBySide({&colour, &mask});
}

// Snowflakes over the top of the night sky; frame i of n, the flakes falling a little each frame.
Picture SnowFrame(const Picture& sky, int i, int n, int w, int h) {
  Layer snow(w, h);
  for (int f = 0; f < 90; ++f) {
    float seed_x = std::fmod(f * 97.13f, 1.0f * w);
    float speed = 1 + (f % 3);
    float size = 1.5f + (f % 4) * 0.8f;
    float y = std::fmod(f * 53.7f + (static_cast<float>(i) / n) * h * speed / 3, 1.0f * h + 10) - 5;
    float x = seed_x + 6 * std::sin((y / 40) + f);
    snow.Fill([=](float px, float py) { return CircleSdf(px, py, x, y, size); }, Hex(0xffffff),
              0.9f, 0.8f,
              Rect{static_cast<int>(x - size) - 3, static_cast<int>(y - size) - 3,
                   static_cast<int>(2 * size) + 6, static_cast<int>(2 * size) + 6});
  }
  Picture out(w, h);
  CopyRect(out, 0, 0, sky, 0, 0, w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float a = snow.AlphaAt(x, y);
      if (a <= 0) continue;
      uint8_t* p = out.Pixel(x, y);
      for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(p[k] + (255 - p[k]) * a);
    }
  }
  return out;
}

// Rain streaks over the street at dusk, frame i of n.
Picture RainFrame(const Picture& street, int i, int n) {
  Picture out = street;
  for (int d = 0; d < 260; ++d) {
    int x0 = (d * 131) % (kW + 100) - 50;
    int len = 18 + (d % 5) * 4;
    int y0 = static_cast<int>(std::fmod(d * 71.3f + i * (kH / static_cast<float>(n)) * 1.5f,
                                        static_cast<float>(kH + len))) -
             len;
    for (int k = 0; k < len; ++k) {
      int x = x0 + k / 4, y = y0 + k;
      if (x < 0 || x >= kW || y < 0 || y >= kH) continue;
      uint8_t* p = out.Pixel(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] + (220 - p[c]) * 0.45f);
    }
  }
  return out;
}

// A landscape three screens wide: sea, islands and a lighthouse, for the scroll.
Picture Panorama() {
  const int w = 3 * kW;
  Layer l(w, kH);
  l.Paint([](float x, float y) {
    float t = Clamp01(y / 330);
    Rgb sky = Mix(Hex(0x3568b8), Hex(0xf2c48c), Smoothstep(0.2f, 1, t));
    if (y > 330) {
      float wave = 0.5f + 0.5f * std::sin(x / 23 + y / 3);
      sky = Mix(Hex(0x1d4c7a), Hex(0x2f78a6), Clamp01((y - 330) / 270) * 0.6f + wave * 0.15f);
    }
    return sky;
  });
  for (int k = 0; k < 7; ++k) {
    float cx = 180 + k * 340, r = 90 + 30 * (k % 3);
    l.Fill([=](float x, float y) { return EllipseSdf(x, y, cx, 335, r * 1.8f, r * 0.55f); },
           [](float x, float y) {
             return Mix(Hex(0x3f6d3a), Hex(0x1f3d26), Clamp01((y - 280) / 60 + x * 0));
           });
  }
  // The lighthouse near the right end.
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 2100, 180, 2140, 320, 4); },
         Hex(0xf4f1ea));
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 2100, 230, 2140, 250, 0); },
         Hex(0xc0302a));
  l.Fill([](float x, float y) { return CircleSdf(x, y, 2120, 172, 16); }, Hex(0xffe9a0), 1, 6);
  return l.ToPicture();
}

// A small note laid straight onto the display.
Picture Note(Lettering& letters) {
  const int w = 300, h = 120;
  Layer l(w, h);
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 2, 2, 298, 118, 10); }, Hex(0xfbf3d9));
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 2, 2, 298, 118, 10) + 3; },
         Hex(0xfffbef));
  Layer text = letters.Coverage(w, h, 24, 40, "また明日ね。", 30);
  PaintCoverage(l, text, Hex(0x5a3a2a));
  return l.ToPicture();
}

// A paper plane: the image above, its mask below.
Picture PaperPlane() {
  const int w = 96, h = 48;
  Layer l(w, h);
  l.Fill(
      [](float x, float y) {
        return PolygonSdf(x, y, {{4, 20}, {92, 6}, {40, 42}});
      },
      [](float x, float y) {
        return Mix(Hex(0xffffff), Hex(0xc8d6e8), Clamp01((y - x / 8) / 40));
      });
  l.Fill(
      [](float x, float y) {
        return PolygonSdf(x, y, {{40, 24}, {92, 6}, {40, 42}});
      },
      Hex(0xa9bdd8));
  Picture colour = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&colour, &mask});
}

// The effect animation: a ring of light widening from the centre; frame k and its mask.
void Burst(int k, int frames, Picture& image, Picture& mask) {
  Layer l(kW, kH);
  float r = 40 + 420.0f * k / frames;
  float fade = 1 - static_cast<float>(k) / (frames + 1);
  l.Fill(
      [=](float x, float y) { return std::fabs(CircleSdf(x, y, 400, 300, r)) - 26; },
      [](float x, float y) { return Mix(Hex(0xfff2b0), Hex(0xffffff), Clamp01((x + y) / 1400)); },
      fade, 10,
      Rect{static_cast<int>(400 - r - 60), static_cast<int>(300 - r - 60),
           static_cast<int>(2 * r + 120), static_cast<int>(2 * r + 120)});
  image = l.ColourPicture();
  mask = l.MaskPicture();
}

}  // namespace

void DrawEffectsArt(Lettering& letters, const PictureSink& png, const PictureSink& jpeg) {
  png("MANPU01", SweatDrop());

  Picture sky = NightSky();
  constexpr int kSnowFrames = 8;
  for (int i = 0; i < kSnowFrames; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "SNOW %02d", i + 1);
    png(name, SnowFrame(sky, i, kSnowFrames, kW, 400));
  }

  Picture street = DuskStreet();
  constexpr int kRainFrames = 4;
  for (int i = 0; i < kRainFrames; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "RAIN%02d", i + 1);
    jpeg(name, RainFrame(street, i, kRainFrames));
  }

  jpeg("PANO01", Panorama());
  png("NOTE01", Note(letters));
  png("PLANE01", PaperPlane());

  constexpr int kBurstFrames = 8;
  for (int k = 1; k <= kBurstFrames; ++k) {
    Picture image, mask;
    Burst(k, kBurstFrames, image, mask);
    char name[24];
    std::snprintf(name, sizeof name, "BURST_%03d", k);
    png(name, image);
    std::snprintf(name, sizeof name, "BURST_%03d_m", k);
    png(name, mask);
  }
}

}  // namespace quill::demo_art
