#include "text/glyph_drawing.h"

#include <cstring>

#include "common/text_util.h"

namespace quill {

void BlendGlyphRow(uint8_t* row, int row_bytes, int start, const uint8_t* colour,
                   const uint8_t* mask, int bytes) {
  for (int g = 0; g < bytes; g += 8) {
    int n = bytes - g < 8 ? bytes - g : 8;
    uint64_t group = 0;
    std::memcpy(&group, mask + g, n);
    if (group == 0) continue;
    int first = start + g;
    if (first >= row_bytes) break;
    if (first + n <= 0) continue;
    if (first >= 0 && first + n <= row_bytes) {
      uint8_t* d = row + first;
      const uint8_t* m = mask + g;
      const uint8_t* c = colour + g;
      for (int k = 0; k < n; ++k) {
        d[k] = static_cast<uint8_t>((d[k] * (255 - m[k]) + c[k] * m[k]) >> 8);
      }
      continue;
    }
    for (int k = 0; k < n; ++k) {
      int at = first + k;
      if (at < 0 || at >= row_bytes) continue;
      int m = mask[g + k];
      row[at] = static_cast<uint8_t>((row[at] * (255 - m) + colour[g + k] * m) >> 8);
    }
  }
}

namespace {

constexpr int kCellRowBytes = kGlyphCellWidth * 3;

// BlendGlyphRow for a whole cell row inside the picture: every byte blended at once (the loop
// vectorises), then only the groups with a non-zero mask byte stored. Same bytes as the reference.
void BlendCellRow(uint8_t* dst, const uint8_t* colour, const uint8_t* mask) {
  uint8_t blended[kCellRowBytes];
  for (int k = 0; k < kCellRowBytes; ++k) {
    unsigned m = mask[k];
    blended[k] = static_cast<uint8_t>((dst[k] * (255u - m) + colour[k] * m) >> 8);
  }
  for (int g = 0; g < kCellRowBytes; g += 8) {
    uint64_t group;
    std::memcpy(&group, mask + g, 8);
    if (group != 0) std::memcpy(dst + g, blended + g, 8);
  }
}

void BlendRow(uint8_t* row, int row_bytes, int start, const uint8_t* colour, const uint8_t* mask) {
  if (start >= 0 && start + kCellRowBytes <= row_bytes) {
    BlendCellRow(row + start, colour, mask);
  } else {
    BlendGlyphRow(row, row_bytes, start, colour, mask, kCellRowBytes);
  }
}

}  // namespace

GlyphDrawing::GlyphDrawing(GlyphRenderer& renderer) : renderer_(renderer) {}

void GlyphDrawing::StartUp() {
  WarmGlyphCache(renderer_);
  SetTextColour(1);
  SetTextColour(0);
}

void GlyphDrawing::PutGlyph(Picture& picture, int x, int y) const {
  const Picture& shadow = renderer_.shadow_mask();
  const Picture& coverage = renderer_.coverage_mask();
  int row_bytes = picture.stride();
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    int py = y + r;
    if (py < 0 || py >= picture.height()) continue;
    BlendRow(picture.Row(py), row_bytes, (x + 1) * 3, shadow_colour_.Row(r), shadow.Row(r));
  }
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    int py = y + r;
    if (py < 0 || py >= picture.height()) continue;
    BlendRow(picture.Row(py), row_bytes, x * 3, text_colour_.Row(r), coverage.Row(r));
  }
}

void GlyphDrawing::SetTextColour(int index) {
  // Entry 0 stands for the speaker colour, so index 8 selects it as well as index 0.
  Rgb colour = (index & 7) == 0 ? speaker_colour() : kTextColourTable[index & 7];
  if (applied_ && *applied_ == colour) return;
  applied_ = colour;
  text_colour_.Fill(colour.b, colour.g, colour.r);
}

void GlyphDrawing::DrawGlyphText(std::string_view text, int x, Picture& picture, int colour_index,
                                 int y) {
  SetTextColour(colour_index);
  text = UntilNul(text);
  int length = static_cast<int>(text.size());
  int pitch = pitch_x_;
  int left = x - (length * pitch) / 2;
  for (int i = 0; i < length;) {
    renderer_.RenderGlyph(text.substr(i));
    PutGlyph(picture, (i + 1) * pitch + left, y);
    bool two = static_cast<uint8_t>(text[i]) >= 0x80 && i + 1 < length;
    i += two ? 2 : 1;
  }
}

}  // namespace quill
