// The backlog's pictures (the scroll bar with its hover and pressed looks, the thumb, the voice
// icon and the voice row's highlight) and the panic screen.
#include <cmath>

#include "tools/demo_art/art.h"

namespace quill::demo_art {

namespace {

constexpr int kBarHeight = 574;  // up arrow 0–17, track 18–553, down arrow 554–573

// One 32-pixel column of the bar in a look: 0 normal, 1 hover, 2 pressed.
Layer BarColumn(int look) {
  Layer l(32, kBarHeight);
  Rgb face = look == 0 ? Hex(0x2b3f78) : look == 1 ? Hex(0x4a6ab8) : Hex(0x1b2850);
  Rgb edge = look == 2 ? Hex(0x8fa4d8) : Hex(0xcfdcf7);
  float shift = look == 2 ? 1.0f : 0.0f;
  // The track: a slim groove.
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 12, 22, 20, 550, 4); }, Hex(0x16203f),
         0.9f);
  for (int arrow = 0; arrow < 2; ++arrow) {
    float y0 = arrow == 0 ? 1.0f : 555.0f, y1 = arrow == 0 ? 17.0f : 573.0f;
    l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, 2, y0, 30, y1, 5); }, face, 0.95f);
    l.Fill(
        [=](float x, float y) {
          return std::abs(RoundedBoxSdf(x, y, 2.5f, y0 + 0.5f, 29.5f, y1 - 0.5f, 4.5f)) - 0.5f;
        },
        edge, 0.9f);
    float cy = (y0 + y1) / 2 + shift;
    std::vector<Vec2> tri = arrow == 0
                                ? std::vector<Vec2>{{16, cy - 4}, {22, cy + 3}, {10, cy + 3}}
                                : std::vector<Vec2>{{10, cy - 3}, {22, cy - 3}, {16, cy + 4}};
    l.Fill([=](float x, float y) { return PolygonSdf(x, y, tri); }, edge);
  }
  return l;
}

}  // namespace

Picture BacklogBar() {
  Layer normal = BarColumn(0), hover = BarColumn(1), pressed = BarColumn(2);
  Picture a = normal.ColourPicture(), b = hover.ColourPicture(), c = pressed.ColourPicture();
  Picture mask = normal.MaskPicture();
  return SideBySide({&a, &b, &c, &mask});
}

Picture BacklogThumb() {
  Layer l(16, 26);
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 1, 1, 15, 25, 5); },
         [](float, float y) { return Mix(Hex(0xffd98a), Hex(0xd99a3a), Clamp01(y / 26)); });
  Picture image = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&image, &mask});
}

Picture VoiceIcon() {
  Layer l(18, 18);
  // A small speaker with two sound waves.
  l.Fill(
      [](float x, float y) {
        return PolygonSdf(x, y, {{2, 6}, {6, 6}, {10, 2}, {10, 16}, {6, 12}, {2, 12}});
      },
      Hex(0xffd98a));
  for (float r : {4.0f, 7.0f}) {
    l.Fill(
        [=](float x, float y) {
          float d = std::abs(std::hypot(x - 10, y - 9) - r) - 0.7f;
          return x < 11 ? 1.0f : d;
        },
        Hex(0xffd98a), 0.9f);
  }
  Picture image = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&image, &mask});
}

Picture VoiceRowHighlight() {
  Layer l(256, 19);
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 0, 0, 256, 19, 5); },
         [](float x, float) { return Mix(Hex(0x6f86bb), Hex(0x2b3f78), Clamp01(x / 256)); }, 0.55f);
  Picture image = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&image, &mask});
}

Picture PanicScreen(Lettering& letters) {
  // A plain spreadsheet: a grey toolbar, a header row and a grid.
  Layer l(800, 600);
  l.Paint([](float, float y) { return y < 40 ? Hex(0xdcdcdc) : Hex(0xffffff); });
  l.Fill([](float x, float y) { return RoundedBoxSdf(x, y, 0, 40, 800, 62, 0); }, Hex(0xeeeeee));
  for (int x = 60; x < 800; x += 90) {
    l.Fill([=](float px, float) { return std::abs(px - x) - 0.5f; }, Hex(0xc0c0c0));
  }
  for (int y = 62; y < 600; y += 22) {
    l.Fill([=](float, float py) { return std::abs(py - y) - 0.5f; }, Hex(0xc0c0c0));
  }
  Layer title = letters.Coverage(800, 40, 12, 10, "売上集計表　第３四半期", 18);
  PaintCoverage(l, title, Hex(0x202020));
  const char* months[] = {"７月", "８月", "９月", "合計"};
  for (int i = 0; i < 4; ++i) {
    Layer t = letters.Coverage(90, 22, 8, 3, months[i], 14);
    PaintCoverage(l, t, Hex(0x202020), 1, 60 + 90 * i, 40);
  }
  return l.ToPicture();
}

}  // namespace quill::demo_art
