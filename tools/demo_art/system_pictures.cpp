// The message window's pictures: the skin and its tint mask, the click-wait icon, the quick
// buttons, the hide button, the auto-speed gauge; and the choice plates.
#include <algorithm>
#include <cmath>

#include "tools/demo_art/art.h"

namespace quill::demo_art {

namespace {

Layer WindowLayer(const WindowLayout& w) {
  Layer l(w.width, w.height);
  float px0 = 8, py0 = static_cast<float>(w.panel_top), px1 = w.width - 8.0f, py1 = w.height - 4.0f;
  // The text panel: deep blue, lighter at the top, a fine light border.
  l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, px0, py0, px1, py1, 16); },
         [=](float, float y) {
           float t = Clamp01((y - py0) / (py1 - py0));
           return Mix(Hex(0x1d2c55), Hex(0x0b1430), t);
         },
         0.8f);
  l.Fill(
      [=](float x, float y) {
        return std::abs(RoundedBoxSdf(x, y, px0 + 1, py0 + 1, px1 - 1, py1 - 1, 15)) - 0.8f;
      },
      Hex(0xa9bde6), 0.85f);
  l.Fill(
      [=](float x, float y) {
        return std::abs(RoundedBoxSdf(x, y, px0 + 5, py0 + 5, px1 - 5, py1 - 5, 12)) - 0.5f;
      },
      Hex(0x6f86bb), 0.35f);
  // A faint rule above the quick buttons.
  l.Fill(
      [=](float x, float y) {
        return CapsuleSdf(x, y, {40, py1 - 26}, {px1 - 32, py1 - 26}, 0.5f);
      },
      [=](float x, float) {
        float t = std::sin(3.14159f * Clamp01((x - 40) / (px1 - 72)));
        return Hex(0x9fb4e0) * (0.6f + 0.4f * t);
      },
      0.45f);
  // The name plate: a tab on the panel's top edge.
  float nx0 = static_cast<float>(w.plate_x), ny0 = static_cast<float>(w.plate_y);
  float nx1 = nx0 + w.plate_w, ny1 = ny0 + w.plate_h;
  l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, nx0, ny0, nx1, ny1, 12); },
         [=](float x, float y) {
           float t = Clamp01((y - ny0) / (ny1 - ny0));
           float s = Clamp01((x - nx0) / (nx1 - nx0));
           return Mix(Mix(Hex(0x3a64b0), Hex(0x23407c), t), Hex(0x2b3f78), s * 0.4f);
         },
         0.92f);
  l.Fill(
      [=](float x, float y) {
        return std::abs(RoundedBoxSdf(x, y, nx0 + 1, ny0 + 1, nx1 - 1, ny1 - 1, 11)) - 0.8f;
      },
      Hex(0xcfdcf7), 0.9f);
  l.Fill([=](float x, float y) { return CircleSdf(x, y, nx0 + 14, (ny0 + ny1) / 2, 3); },
         Hex(0xffd98a), 0.9f);
  return l;
}

}  // namespace

Picture WindowSkin(const WindowLayout& w) {
  Layer l = WindowLayer(w);
  Picture colour = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&colour, &mask});
}

Picture TintMask(const WindowLayout& w) {
  // The panel's inside takes the player's colour; its border and the name plate keep theirs.
  Layer l(w.width, w.height);
  float px0 = 8, py0 = static_cast<float>(w.panel_top), px1 = w.width - 8.0f, py1 = w.height - 4.0f;
  l.Fill(
      [=](float x, float y) { return RoundedBoxSdf(x, y, px0 + 3, py0 + 3, px1 - 3, py1 - 3, 13); },
      Rgb{1, 1, 1});
  return l.ToPicture();
}

Picture ClickWaitSheet(const WindowLayout& w) {
  Layer sheet(w.click_w * w.click_frames, w.click_h);
  for (int f = 0; f < w.click_frames; ++f) {
    Layer icon(w.click_w, w.click_h);
    float phase = 6.28318f * f / w.click_frames;
    float bob = 2.5f * std::sin(phase), pulse = 0.5f + 0.5f * std::cos(phase);
    float cx = w.click_w / 2.0f, cy = w.click_h / 2.0f - 1 + bob;
    icon.Fill(
        [=](float x, float y) { return EllipseSdf(x, y, cx, w.click_h - 3.0f, 6 - bob, 1.6f); },
        Hex(0x0a1020), 0.45f, 1);
    icon.Fill([=](float x, float y) { return CircleSdf(x, y, cx, cy, 5); }, Hex(0x9cc6ff),
              0.25f + 0.25f * pulse, 6);
    std::vector<Vec2> arrow = {{cx - 6.5f, cy - 4}, {cx + 6.5f, cy - 4}, {cx, cy + 5}};
    icon.Fill([&](float x, float y) { return PolygonSdf(x, y, arrow) - 0.8f; },
              [=](float, float y) {
                return Mix(Hex(0xffffff), Hex(0xa8c8ff), Clamp01((y - cy + 4) / 9));
              });
    sheet.Composite(icon, f * w.click_w, 0);
  }
  Picture colour = sheet.ColourPicture(), mask = sheet.MaskPicture();
  return StackVertically({&colour, &mask});
}

namespace {

struct QuickButton {
  int x;
  const char* label;
};
// Strip columns of the buttons the bar shows (the small hide button is a picture of its own).
constexpr QuickButton kQuickButtons[] = {{0, "オート"},     {410, "戻る"},   {470, "ログ"},
                                         {530, "スキップ"}, {590, "ボイス"}, {650, "Qセーブ"},
                                         {710, "Qロード"}};

struct ButtonLook {
  Rgb top, bottom, border, label;
};
constexpr int kBands = 3;  // normal, hover, active

ButtonLook Look(int band) {
  switch (band) {
    case 1:
      return {Hex(0x4a6db0), Hex(0x2c4a86), Hex(0xdce8ff), Hex(0xffffff)};
    case 2:
      return {Hex(0xf2c660), Hex(0xc88a26), Hex(0xfff0c8), Hex(0x1d2440)};
    default:
      return {Hex(0x2c3f6e), Hex(0x1a284c), Hex(0x8299cc), Hex(0xd8e2f5)};
  }
}

}  // namespace

Picture QuickButtons(Lettering& letters) {
  const int w = 768, h = 16;
  std::vector<Picture> bands;
  Layer shape(w, h);
  for (int band = 0; band < kBands; ++band) {
    Layer l(w, h);
    ButtonLook look = Look(band);
    for (const QuickButton& b : kQuickButtons) {
      float x0 = b.x + 1.0f, x1 = b.x + 55.0f;
      l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, 1, x1, 15, 6); },
             [=](float, float y) { return Mix(look.top, look.bottom, Clamp01((y - 1) / 14)); });
      l.Fill(
          [=](float x, float y) {
            return std::abs(RoundedBoxSdf(x, y, x0 + 0.5f, 1.5f, x1 - 0.5f, 14.5f, 5.5f)) - 0.5f;
          },
          look.border, 0.9f);
      int tw = letters.Width(b.label, 12);
      Layer text = letters.Coverage(56, 16, (56 - tw) / 2, 2, b.label, 12);
      PaintCoverage(l, text, look.label, 1, b.x, 0);
      if (band == 0)
        shape.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, 1, x1, 15, 6); },
                   Rgb{1, 1, 1}, 0.92f);
    }
    // The auto-speed gauge's empty track: ten dim segments.
    for (int k = 0; k < 10; ++k) {
      float x0 = 66 + 16 * k + 2.0f, x1 = x0 + 12;
      auto seg = [=](float x, float y) { return RoundedBoxSdf(x, y, x0, 7, x1, 15, 2); };
      l.Fill(seg, Hex(0x33466f));
      if (band == 0) shape.Fill(seg, Rgb{1, 1, 1}, 0.6f);
    }
    bands.push_back(l.ToPicture());
  }
  Picture mask = shape.MaskPicture();
  return StackVertically({&bands[0], &bands[1], &bands[2], &mask});
}

Picture SmallButton(Lettering&) {
  const int w = 32, h = 12;
  std::vector<Picture> bands;
  Layer shape(w, h);
  auto body = [](float x, float y) { return RoundedBoxSdf(x, y, 0.5f, 0.5f, 31.5f, 11.5f, 5); };
  shape.Fill(body, Rgb{1, 1, 1}, 0.92f);
  for (int band = 0; band < 2; ++band) {
    Layer l(w, h);
    ButtonLook look = Look(band);
    l.Fill(body, [=](float, float y) { return Mix(look.top, look.bottom, y / 12); });
    l.Fill([&](float x, float y) { return std::abs(body(x, y) + 0.5f) - 0.5f; }, look.border, 0.9f);
    // The "hide" sign: a small window frame with a bar across.
    l.Fill(
        [](float x, float y) { return std::abs(RoundedBoxSdf(x, y, 10, 3, 22, 9, 1.5f)) - 0.6f; },
        look.label);
    l.Fill([](float x, float y) { return CapsuleSdf(x, y, {8, 10}, {24, 2}, 0.8f); }, look.label);
    bands.push_back(l.ToPicture());
  }
  Picture mask = shape.MaskPicture();
  return StackVertically({&bands[0], &bands[1], &mask});
}

Picture AutoBar() {
  Layer l(160, 12);
  for (int k = 0; k < 10; ++k) {
    float x0 = 16 * k + 2.0f, x1 = x0 + 12;
    float t = k / 9.0f;
    Rgb c = t < 0.5f ? Mix(Hex(0x5fd0ff), Hex(0xffe066), t * 2)
                     : Mix(Hex(0xffe066), Hex(0xff8a3d), t * 2 - 1);
    l.Fill([=](float x, float y) { return RoundedBoxSdf(x, y, x0, 2, x1, 10, 2); },
           [=](float, float y) { return c * (1.1f - 0.35f * Clamp01((y - 2) / 8)); });
  }
  Picture colour = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&colour, &mask});
}

Picture ChoicePlate(bool highlighted, int width, int height) {
  const int w = width, h = height;
  Layer l(w, h);
  Rgb top = highlighted ? Hex(0x5a7fc8) : Hex(0x24345e),
      bottom = highlighted ? Hex(0x2f4f94) : Hex(0x131d3a);
  float radius = std::min(14.0f, (h - 4) / 2.0f);
  auto body = [=](float x, float y) { return RoundedBoxSdf(x, y, 2, 2, w - 2, h - 2, radius); };
  l.Fill(
      body, [=](float, float y) { return Mix(top, bottom, Clamp01((y - 2) / (h - 4))); }, 0.85f);
  l.Fill([&](float x, float y) { return std::abs(body(x, y) + 1) - 0.8f; },
         highlighted ? Hex(0xffe6a8) : Hex(0x9fb4e0), 0.9f);
  Picture colour = l.ColourPicture(), mask = l.MaskPicture();
  return StackVertically({&colour, &mask});
}

}  // namespace quill::demo_art
