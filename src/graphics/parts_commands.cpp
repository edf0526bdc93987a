#include "graphics/parts_commands.h"

#include <algorithm>
#include <string>

#include "common/text_util.h"

namespace quill {

int RunPartsload(std::string_view argument, PictureLoader& loader, Picture& parts,
                 Picture& pressed) {
  size_t comma = argument.find(',');
  if (comma == std::string_view::npos) {
    loader.LoadPicture(argument, parts);
    return 0;
  }
  loader.LoadPicture(argument.substr(0, comma), parts);
  loader.LoadPicture(argument.substr(comma + 1), pressed);
  return 1;
}

PtsetArguments ReadPtsetArguments(std::string_view argument, const ExpressionEvaluator& evaluate) {
  std::string text = ToUpperSjis(argument);
  std::replace(text.begin(), text.end(), '\t', ' ');
  PtsetArguments values{};
  size_t start = 0;
  for (size_t field = 0; field < values.size(); ++field) {
    values[field] = evaluate(std::string_view(text).substr(start));
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return values;
}

void DrawPtset(const Picture& parts, const PtsetArguments& a, Picture& display) {
  const int64_t x1 = a[0], y1 = a[1];
  const int64_t w = int64_t{a[2]} - x1, h = int64_t{a[3]} - y1;
  const int64_t dx = a[4], dy = a[5];
  if (w <= 0 || h <= 0) return;
  // Only the part that lands on the display is visited, whatever the rectangle's size.
  const int64_t top = std::max<int64_t>(dy, 0),
                bottom = std::min<int64_t>(dy + h, display.height());
  const int64_t left = std::max<int64_t>(dx, 0), right = std::min<int64_t>(dx + w, display.width());
  for (int64_t y = top; y < bottom; ++y) {
    const int64_t sy = y1 + (y - dy);
    const bool row_in = sy >= 0 && sy < parts.height();
    uint8_t* out = display.Pixel(static_cast<int>(left), static_cast<int>(y));
    for (int64_t x = left; x < right; ++x, out += 3) {
      const int64_t sx = x1 + (x - dx);
      if (!row_in || sx < 0 || sx >= parts.width()) {
        out[0] = out[1] = out[2] = 0;
        continue;
      }
      const uint8_t* in = parts.Pixel(static_cast<int>(sx), static_cast<int>(sy));
      if (in[0] == 255 && in[1] == 255 && in[2] == 0) continue;
      out[0] = in[0];
      out[1] = in[1];
      out[2] = in[2];
    }
  }
}

}  // namespace quill
