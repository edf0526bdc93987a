// The two standing characters: soft-shaded figures drawn from simple shapes, 320 × 600, with
// their masks.
#include <cmath>

#include "tools/demo_art/art.h"

namespace quill::demo_art {

namespace {

constexpr int kW = 320, kH = 600;

// Light from the upper left: the shape darkens towards its edge and its right side.
Layer::Shader Shaded(Rgb base, float cx, float half_width, float edge = 12) {
  return [=](float x, float y, float d) {
    float inner = Smoothstep(0, edge, -d);
    float side = Clamp01((x - cx) / half_width * 0.5f + 0.5f);
    float top = Clamp01(y / 600);
    return base * ((0.74f + 0.26f * inner) * (1.08f - 0.2f * side) * (1.02f - 0.06f * top));
  };
}

void Capsule(Layer& l, Vec2 a, Vec2 b, float r, Rgb c, float cx = 160, float hw = 120) {
  l.Fill([=](float x, float y) { return CapsuleSdf(x, y, a, b, r); }, Shaded(c, cx, hw, r));
}

void Polygon(Layer& l, std::vector<Vec2> p, Rgb c, float cx = 160, float hw = 120,
             float edge = 12) {
  l.Fill([p](float x, float y) { return PolygonSdf(x, y, p); }, Shaded(c, cx, hw, edge));
}

void Ellipse(Layer& l, float cx, float cy, float rx, float ry, Rgb c, float opacity = 1,
             float feather = 0) {
  l.Fill([=](float x, float y) { return EllipseSdf(x, y, cx, cy, rx, ry); }, c, opacity, feather);
}

struct Face {
  float cx, eye_y, eye_dx, eye_rx, eye_ry, mouth_y;
  Rgb iris;
};

void DrawFace(Layer& l, const Face& f, int expression, Rgb brow) {
  for (int side = -1; side <= 1; side += 2) {
    float ex = f.cx + side * f.eye_dx;
    // Brows: a gentle arch, highest a little towards the outside.
    float by = f.eye_y - f.eye_ry - 10;
    Vec2 inner{ex - side * 8, by + 1}, peak{ex + side * 2, by - 1},
        outer{ex + side * 10, by + 1.5f};
    Rgb soft = Mix(brow, Hex(0xf0d0c0), 0.25f);
    Capsule(l, inner, peak, 1.1f, soft);
    Capsule(l, peak, outer, 1.1f, soft);
    if (expression == 1) {
      // Smiling eyes: closed arcs.
      Capsule(l, {ex - 9, f.eye_y + 3}, {ex, f.eye_y - 4}, 2.0f, Hex(0x2d2a40));
      Capsule(l, {ex, f.eye_y - 4}, {ex + 9, f.eye_y + 3}, 2.0f, Hex(0x2d2a40));
      continue;
    }
    l.Fill([=](float x, float y) { return EllipseSdf(x, y, ex, f.eye_y, f.eye_rx, f.eye_ry); },
           [=](float, float y) {
             float t = Clamp01((y - (f.eye_y - f.eye_ry)) / (2 * f.eye_ry));
             return Mix(Hex(0x1e1c30), f.iris, t);
           });
    Ellipse(l, ex, f.eye_y + 1, f.eye_rx * 0.45f, f.eye_ry * 0.45f, Hex(0x141222));
    Ellipse(l, ex - f.eye_rx * 0.35f, f.eye_y - f.eye_ry * 0.4f, 2.6f, 2.6f, Hex(0xffffff));
    Ellipse(l, ex + f.eye_rx * 0.3f, f.eye_y + f.eye_ry * 0.45f, 1.4f, 1.4f, Hex(0xffffff), 0.8f);
    // The upper lash line, a little longer and lower at the outer corner.
    Vec2 lash_in{ex - side * (f.eye_rx - 1), f.eye_y - f.eye_ry},
        lash_top{ex + side * 2, f.eye_y - f.eye_ry - 1},
        lash_out{ex + side * (f.eye_rx + 2), f.eye_y - f.eye_ry + 2};
    Capsule(l, lash_in, lash_top, 1.4f, Hex(0x1e1c30));
    Capsule(l, lash_top, lash_out, 1.4f, Hex(0x1e1c30));
  }
  // Cheeks and mouth.
  for (int side = -1; side <= 1; side += 2)
    Ellipse(l, f.cx + side * (f.eye_dx + 4), f.mouth_y - 9, 10, 4.5f, Hex(0xf39a9a), 0.35f, 6);
  if (expression == 1) {
    l.Fill(
        [=](float x, float y) {
          float ring = std::abs(EllipseSdf(x, y, f.cx, f.mouth_y - 3, 8, 6)) - 1.4f;
          return std::max(ring, f.mouth_y - 3 - y);
        },
        Hex(0xb85f5f));
  } else {
    Capsule(l, {f.cx - 5, f.mouth_y}, {f.cx + 5, f.mouth_y}, 1.3f, Hex(0xb86a66));
  }
}

Layer Girl(int expression, int palette) {
  Layer l(kW, kH);
  Rgb hair = Hex(palette == 0 ? 0x2e3458 : 0x8a5234), skin = Hex(0xf8dcc8);
  Rgb navy = Hex(palette == 0 ? 0x2f4a7e : 0x3f6e4e);
  Rgb blouse = Hex(0xeef0f7), stocking = Hex(0x2a2b3c);
  // Long hair behind the figure.
  Polygon(l, {{104, 80}, {216, 80}, {238, 352}, {200, 372}, {120, 372}, {82, 352}}, hair, 160, 90,
          16);
  // Legs and shoes.
  Capsule(l, {142, 450}, {138, 578}, 11, stocking);
  Capsule(l, {178, 450}, {182, 578}, 11, stocking);
  Ellipse(l, 134, 588, 16, 8, Hex(0x4a2f28));
  Ellipse(l, 186, 588, 16, 8, Hex(0x4a2f28));
  // Pleated skirt.
  l.Fill(
      [](float x, float y) {
        return PolygonSdf(x, y, {{112, 296}, {208, 296}, {240, 466}, {80, 466}});
      },
      [navy](float x, float y, float d) {
        float pleat = 0.5f + 0.5f * std::sin((x - 160) / (4 + (y - 296) / 40));
        Rgb c = Shaded(navy, 160, 90)(x, y, d);
        return c * (0.88f + 0.14f * pleat);
      });
  // Upper arms in white sleeves (the forearms come in front of the body below).
  Capsule(l, {108, 196}, {98, 296}, 14, blouse);
  Capsule(l, {212, 196}, {222, 296}, 14, blouse);
  // Blouse and sailor collar with a ribbon.
  Polygon(l, {{106, 184}, {214, 184}, {206, 312}, {114, 312}}, blouse, 160, 60);
  Capsule(l, {160, 146}, {160, 186}, 12, skin);
  Polygon(l, {{112, 182}, {208, 182}, {196, 204}, {160, 258}, {124, 204}}, navy, 160, 60, 6);
  Polygon(l, {{132, 186}, {188, 186}, {160, 238}}, skin, 160, 40, 4);
  l.Fill(
      [](float x, float y) {
        float outer =
            PolygonSdf(x, y, {{112, 182}, {208, 182}, {196, 204}, {160, 258}, {124, 204}});
        return std::abs(outer + 5) - 1.2f;
      },
      Hex(0xf4f4fa));
  Polygon(l, {{160, 238}, {134, 226}, {138, 256}}, Hex(0xd0414f), 140, 20, 4);
  Polygon(l, {{160, 238}, {186, 226}, {182, 256}}, Hex(0xd0414f), 180, 20, 4);
  Polygon(l, {{156, 240}, {164, 240}, {172, 282}, {148, 282}}, Hex(0xc23a47), 160, 20, 4);
  Ellipse(l, 160, 240, 7, 6, Hex(0xe0505d));
  // Forearms folded in front, hands together at the waist.
  Capsule(l, {98, 298}, {146, 338}, 10, skin, 120, 40);
  Capsule(l, {222, 298}, {174, 338}, 10, skin, 200, 40);
  Ellipse(l, 166, 344, 12, 10, skin);
  Ellipse(l, 153, 342, 12, 10, Mix(skin, Hex(0xffffff), 0.1f));
  Capsule(l, {146, 345}, {160, 349}, 0.8f, Hex(0xd9aa94));
  // Head, side locks, fringe, highlight.
  l.Fill([](float x, float y) { return EllipseSdf(x, y, 160, 108, 46, 54); },
         Shaded(skin, 160, 46, 16));
  Capsule(l, {114, 100}, {104, 250}, 14, hair, 110, 20);
  Capsule(l, {206, 100}, {216, 250}, 14, hair, 210, 20);
  auto fringe = [](float x, float y) {
    float edge = 94 + 14 * std::abs(std::sin((x - 106) / 13.0f)) +
                 30 * Smoothstep(34, 50, std::abs(x - 160));
    return std::max(CircleSdf(x, y, 160, 98, 54), y - edge);
  };
  l.Fill(fringe, Shaded(hair, 160, 54, 10));
  // A sheen across the crown, kept inside the hair.
  l.Fill(
      [&](float x, float y) {
        return std::max(std::abs(EllipseSdf(x, y, 152, 84, 40, 30)) - 3, fringe(x, y) + 2);
      },
      Mix(hair, Hex(0xffffff), 0.45f), 0.4f, 4, {100, 40, 110, 60});
  DrawFace(l, {160, 120, 18, 8, 10, 148, Hex(palette == 0 ? 0x5d74c4 : 0x6a9a4a)}, expression,
           hair);
  return l;
}

Layer Boy(int expression, int palette) {
  Layer l(kW, kH);
  Rgb hair = Hex(palette == 0 ? 0x5b3b2a : 0x23252e), skin = Hex(0xf3d3bd);
  Rgb coat = Hex(palette == 0 ? 0x8c7b62 : 0x3c4a6a);
  Rgb trousers = Hex(0x3a3f4e), shirt = Hex(0xe6e8ee);
  Rgb scarf = Hex(palette == 0 ? 0xb8434a : 0xd8b040);
  Capsule(l, {143, 430}, {141, 580}, 15, trousers);
  Capsule(l, {177, 430}, {179, 580}, 15, trousers);
  Ellipse(l, 136, 590, 19, 8, Hex(0x2b2220));
  Ellipse(l, 184, 590, 19, 8, Hex(0x2b2220));
  // A long coat over a shirt.
  Polygon(l, {{102, 178}, {218, 178}, {240, 476}, {80, 476}}, coat, 160, 90, 14);
  Polygon(l, {{140, 178}, {180, 178}, {172, 340}, {148, 340}}, shirt, 160, 20, 6);
  l.Fill(
      [](float x, float y) {
        return CapsuleSdf(x, y, {160, 340}, {160, 474}, 1.2f);
      },
      Hex(0x4e4436));
  for (float by : {360.0f, 400.0f, 440.0f}) Ellipse(l, 172, by, 3.5f, 3.5f, Hex(0x3e3428));
  Capsule(l, {104, 190}, {88, 338}, 17, coat, 96, 30);
  Capsule(l, {216, 190}, {232, 338}, 17, coat, 224, 30);
  Ellipse(l, 90, 356, 12, 14, skin);
  Ellipse(l, 230, 356, 12, 14, skin);
  Capsule(l, {160, 134}, {160, 176}, 13, skin);
  // Scarf.
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 124, 158, 196, 190, 14); },
         Shaded(scarf, 160, 40, 8));
  Capsule(l, {180, 182}, {188, 262}, 10, scarf, 184, 12);
  for (float fy : {248.0f, 256.0f}) Capsule(l, {180, fy}, {196, fy + 2}, 1.0f, Hex(0xe08a8a));
  // Head and short hair with a few spikes.
  l.Fill([](float x, float y) { return EllipseSdf(x, y, 160, 96, 44, 52); },
         Shaded(skin, 160, 44, 16));
  auto crop = [](float x, float y) {
    float edge = 76 + 12 * std::abs(std::sin((x - 108) / 12.0f)) +
                 42 * Smoothstep(30, 44, std::abs(x - 160));
    float cap = std::max(CircleSdf(x, y, 160, 86, 50), y - edge);
    float spikes = std::min(PolygonSdf(x, y, {{124, 58}, {130, 30}, {150, 44}}),
                            PolygonSdf(x, y, {{146, 44}, {164, 22}, {178, 42}}));
    spikes = std::min(spikes, PolygonSdf(x, y, {{174, 42}, {198, 34}, {198, 62}}));
    return std::min(cap, spikes);
  };
  l.Fill(crop, Shaded(hair, 160, 50, 10));
  l.Fill(
      [&](float x, float y) {
        return std::max(std::abs(EllipseSdf(x, y, 150, 66, 34, 22)) - 2.5f, crop(x, y) + 2);
      },
      Mix(hair, Hex(0xffffff), 0.4f), 0.4f, 4, {110, 36, 90, 50});
  DrawFace(l, {160, 108, 17, 7, 8, 136, Hex(0x7a5a3e)}, expression, hair);
  return l;
}

}  // namespace

Layer CharacterLayer(int which, int expression, int palette) {
  return which == 0 ? Girl(expression, palette) : Boy(expression, palette);
}

StandingPicture Character(int which, int expression, int palette) {
  Layer l = CharacterLayer(which, expression, palette);
  return {l.ColourPicture(), l.MaskPicture()};
}

}  // namespace quill::demo_art
