// The pictures of the demo's choices: the parameter meter, the study's colour map with its lit
// zones and pop-up, and the twelve animated cursors.
#include <algorithm>
#include <cmath>

#include "tools/demo_art/art.h"

namespace quill::demo_art {
namespace {

constexpr float kPi = 3.14159265f;
// Where the `map` script shows the album's pop-up.
constexpr int kPopUpX = 480, kPopUpY = 380;

void Box(Layer& l, float x0, float y0, float x1, float y1, Rgb c, float r = 0, float opacity = 1) {
  l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, y0, x1, y1, r); }, c, opacity);
}

float HeartSdf(float x, float y, float cx, float cy, float s) {
  float lobes = std::min(CircleSdf(x, y, cx - s * 0.5f, cy - s * 0.2f, s * 0.55f),
                         CircleSdf(x, y, cx + s * 0.5f, cy - s * 0.2f, s * 0.55f));
  std::vector<Vec2> tip = {{cx - s * 1.02f, cy}, {cx + s * 1.02f, cy}, {cx, cy + s * 1.15f}};
  return std::min(lobes, PolygonSdf(x, y, tip));
}

// The flat colour of a colour zone, with each low nibble set so that only the high ones count.
Rgb ZoneColour(uint32_t rgb) { return Hex(rgb | 0x070707); }

}  // namespace

Picture MeterSheet(Lettering& letters) {
  const int w = 120, h = 95;
  std::vector<Picture> frames;
  std::vector<const Picture*> parts;
  Layer caption = letters.Coverage(w, 24, 0, 0, "好感度", 16, true);
  int caption_x = (w - letters.Width("好感度", 16, true)) / 2;
  for (int level = 0; level <= 10; ++level) {
    Layer l(w, h);
    Box(l, 2, 2, 118, 93, Hex(0x1c2748), 12, 0.85f);
    l.Fill([](float x, float y) { return std::abs(RoundedBoxSdf(x, y, 2, 2, 118, 93, 12)) - 1; },
           Hex(0xc9d6f5), 0.9f);
    PaintCoverage(l, caption, Hex(0xf3f6ff), 1, caption_x, 8);
    float fill = level / 10.0f;
    Rgb heart = Mix(Hex(0x6b6f80), Hex(0xff5a7a), fill);
    l.Fill([](float x, float y) { return HeartSdf(x, y, 60, 48, 12); }, heart);
    Box(l, 14, 72, 106, 82, Hex(0x0c1226), 5);
    if (level > 0) {
      Box(l, 15, 73, 15 + 90 * fill, 81, Mix(Hex(0xff9bb0), Hex(0xff3d6a), fill), 4);
    }
    Picture colour = l.ColourPicture(), mask = l.MaskPicture();
    frames.push_back(SideBySide({&colour, &mask}));
  }
  for (const Picture& p : frames) parts.push_back(&p);
  return StackVertically(parts);
}

Picture StudyColourMap(Lettering& letters) {
  const int w = 800, h = 720;
  Picture room = Room();
  Layer l(w, h);
  l.Paint([](float, float) { return Rgb{}; });
  // The colour zones: the lamp, the plant and the window.
  std::vector<Vec2> shade = {{82, 262}, {138, 262}, {154, 300}, {66, 300}};
  l.Fill([&](float x, float y) { return PolygonSdf(x, y, shade) - 4; }, ZoneColour(0xf000f0));
  Box(l, 100, 290, 120, 366, ZoneColour(0xf000f0));
  l.Fill([](float x, float y) { return EllipseSdf(x, y, 280, 130, 28, 24); }, ZoneColour(0x00f000));
  Box(l, 258, 128, 302, 152, ZoneColour(0x00f000));
  Box(l, 420, 66, 744, 344, ZoneColour(0x00f0f0));
  Picture map = l.ToPicture();
  // The lit desk and shelf: the room's own pixels, brighter and warmer towards the middle, so
  // the zone's edge meets the room without a seam.
  auto lit = [&](int x0, int y0, int x1, int y1) {
    const int add[3] = {6, 18, 30};
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) {
        float edge = static_cast<float>(std::min({x - x0, x1 - 1 - x, y - y0, y1 - 1 - y}));
        float f = Clamp01(edge / 16);
        const uint8_t* s = room.Pixel(x, y);
        uint8_t* d = map.Pixel(x, y);
        for (int k = 0; k < 3; ++k) {
          float bright = std::min(255.0f, s[k] * 1.15f + add[k]);
          d[k] = static_cast<uint8_t>(s[k] + (bright - s[k]) * f + 0.5f);
        }
      }
    }
  };
  lit(40, 356, 352, 522);  // the desk
  lit(60, 80, 252, 166);   // the books on the shelf
  // The pop-up below the screen: a note about the book.
  Layer card(280, 110);
  Box(card, 2, 2, 278, 108, Hex(0xfff6e0), 10);
  card.Fill(
      [](float x, float y) { return std::abs(RoundedBoxSdf(x, y, 2, 2, 278, 108, 10)) - 1.5f; },
      Hex(0x8a5d3b));
  PaintCoverage(card, letters.Coverage(280, 40, 0, 0, "古いアルバム", 24, true), Hex(0x5a3a22), 1,
                (280 - letters.Width("古いアルバム", 24, true)) / 2, 18);
  PaintCoverage(card, letters.Coverage(280, 30, 0, 0, "みんなの写真がいっぱい", 18), Hex(0x5a3a22),
                1, (280 - letters.Width("みんなの写真がいっぱい", 18)) / 2, 64);
  // Laid over the room where it pops up, so its rounded corners show the floor.
  for (int y = 0; y < card.height(); ++y) {
    for (int x = 0; x < card.width(); ++x) {
      Rgb c = card.ColourAt(x, y);
      float a = card.AlphaAt(x, y);
      const uint8_t* under = room.Pixel(kPopUpX + x, kPopUpY + y);
      uint8_t* d = map.Pixel(x, 600 + y);
      const float top[3] = {c.b, c.g, c.r};
      for (int k = 0; k < 3; ++k) {
        d[k] = static_cast<uint8_t>(under[k] * (1 - a) + Clamp01(top[k]) * 255 * a + 0.5f);
      }
    }
  }
  return map;
}

AnimatedCursor DemoCursor(int n) {
  const int size = 32, frames = 6;
  float hue = (n - 1) / 12.0f;
  auto channel = [&](float offset) { return 0.55f + 0.45f * std::cos(2 * kPi * (hue + offset)); };
  Rgb ring{channel(0), channel(1 / 3.0f), channel(2 / 3.0f)};
  std::vector<Vec2> arrow = {{1, 1}, {1, 22}, {7, 17}, {11, 26}, {15, 24}, {11, 16}, {18, 16}};
  AnimatedCursor cursor;
  for (int f = 0; f < frames; ++f) {
    Layer l(size, size);
    float phase = f / static_cast<float>(frames);
    float r = 4 + 3 * std::sin(2 * kPi * phase);
    l.Fill([&](float x, float y) { return std::abs(CircleSdf(x, y, 23, 23, r + 2)) - 1.6f; }, ring,
           0.9f);
    l.Fill([&](float x, float y) { return CircleSdf(x, y, 23, 23, 2.5f); }, ring);
    l.Fill([&](float x, float y) { return PolygonSdf(x, y, arrow) - 1.2f; }, Hex(0x10131c));
    l.Fill([&](float x, float y) { return PolygonSdf(x, y, arrow); }, Hex(0xffffff));
    CursorFrame frame;
    frame.width = frame.height = size;
    frame.hot_x = frame.hot_y = 1;
    frame.rgba.resize(size * size * 4);
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        Rgb c = l.ColourAt(x, y);
        uint8_t* p = &frame.rgba[(y * size + x) * 4];
        p[0] = static_cast<uint8_t>(Clamp01(c.r) * 255 + 0.5f);
        p[1] = static_cast<uint8_t>(Clamp01(c.g) * 255 + 0.5f);
        p[2] = static_cast<uint8_t>(Clamp01(c.b) * 255 + 0.5f);
        p[3] = static_cast<uint8_t>(Clamp01(l.AlphaAt(x, y)) * 255 + 0.5f);
      }
    }
    cursor.frames.push_back(std::move(frame));
    cursor.steps.push_back({f, 100});
  }
  return cursor;
}

}  // namespace quill::demo_art
