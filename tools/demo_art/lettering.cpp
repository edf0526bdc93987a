#include <algorithm>

#include "common/sjis.h"
#include "tools/demo_art/art.h"

namespace quill::demo_art {

TextOutputFont Lettering::Font(int em_height, bool bold) const {
  TextOutputFont font;
  font.face_sjis = Utf8ToSjisLossy("ＭＳ Ｐゴシック");
  font.height = -em_height;
  font.bold = bold;
  return font;
}

bool Lettering::available() { return output_.Ascent(Font(16, false)) > 0; }

int Lettering::Width(std::string_view utf8, int em_height, bool bold) {
  return output_.TextWidth(Utf8ToSjisLossy(utf8), Font(em_height, bold));
}

Layer Lettering::Coverage(int w, int h, int x, int y, std::string_view utf8, int em_height,
                          bool bold) {
  Picture field(w, h);
  output_.DrawText(field, x, y, Utf8ToSjisLossy(utf8), Font(em_height, bold), 0xFFFFFF);
  Layer coverage(w, h);
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      float a = field.Pixel(px, py)[1] / 255.0f;
      coverage.Blend(px, py, {1, 1, 1}, a);
    }
  }
  return coverage;
}

void PaintCoverage(Layer& target, const Layer& coverage, Rgb colour, float opacity, int dx,
                   int dy) {
  for (int y = 0; y < coverage.height(); ++y)
    for (int x = 0; x < coverage.width(); ++x)
      target.Blend(x + dx, y + dy, colour, coverage.AlphaAt(x, y) * opacity);
}

Layer Blurred(const Layer& coverage, int radius) {
  int w = coverage.width(), h = coverage.height();
  std::vector<float> a(static_cast<size_t>(w) * h), b(a.size());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) a[static_cast<size_t>(y) * w + x] = coverage.AlphaAt(x, y);
  float norm = 1.0f / (2 * radius + 1);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float s = 0;
      for (int k = -radius; k <= radius; ++k)
        s += a[static_cast<size_t>(y) * w + std::clamp(x + k, 0, w - 1)];
      b[static_cast<size_t>(y) * w + x] = s * norm;
    }
  }
  Layer out(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float s = 0;
      for (int k = -radius; k <= radius; ++k)
        s += b[static_cast<size_t>(std::clamp(y + k, 0, h - 1)) * w + x];
      out.Blend(x, y, {1, 1, 1}, s * norm);
    }
  }
  return out;
}

}  // namespace quill::demo_art
