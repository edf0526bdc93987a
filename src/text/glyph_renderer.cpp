#include "text/glyph_renderer.h"

#include <algorithm>
#include <cstring>

#include "common/sjis.h"

namespace quill {

uint32_t GetGlyphOutline(const TextFont& font, uint32_t code, GlyphOutline* out) {
  out->width = out->height = out->origin_x = out->origin_y = 0;
  char32_t cp = SjisCodeToCodePoint(code);
  if (cp == 0) return 0;
  GrayBitmap bitmap;
  if (!font.RenderGray(cp, &bitmap) || bitmap.width <= 0 || bitmap.rows <= 0) return 0;
  out->width = bitmap.width;
  out->height = bitmap.rows;
  out->origin_x = bitmap.left;
  out->origin_y = bitmap.top;
  int pitch = out->pitch();
  uint64_t size = static_cast<uint64_t>(pitch) * out->height;
  // Callers refuse anything past a cell's worth; do not copy a huge bitmap just to drop it.
  if (size > kMaxOutlineBytes) return static_cast<uint32_t>(std::min<uint64_t>(size, UINT32_MAX));
  out->levels.assign(static_cast<size_t>(size), 0);
  for (int r = 0; r < out->height; ++r) {
    const uint8_t* src = bitmap.pixels.data() + static_cast<size_t>(r) * bitmap.width;
    uint8_t* dst = out->levels.data() + static_cast<size_t>(r) * pitch;
    for (int c = 0; c < out->width; ++c) dst[c] = GrayToLevel(src[c]);
  }
  return static_cast<uint32_t>(size);
}

void BuildCoverageMap(const GlyphOutline& outline, int ascent, uint8_t* map) {
  std::memset(map, 0, kCoverageMapBytes);
  int pitch = outline.pitch();
  if (outline.levels.size() < static_cast<size_t>(pitch) * outline.height) return;
  for (int i = 0; i < outline.height; ++i) {
    int row = i + ascent - outline.origin_y + 2;
    if (row < 0 || row >= kCoverageMapRows) continue;
    const uint8_t* src = outline.levels.data() + static_cast<size_t>(i) * pitch;
    uint8_t* dst = map + row * kCoverageMapWidth;
    for (int j = 0; j < outline.width; ++j) {
      int col = outline.origin_x + j;
      if (col < 0 || col >= kCoverageMapWidth) continue;
      dst[col] = LevelToCoverage(src[j]);
    }
  }
}

GlyphRenderer::GlyphRenderer() : map_(kCoverageMapBytes) {
  outline_.levels.reserve(kMaxOutlineBytes + 1);
}

bool GlyphRenderer::ChangeFont(std::string_view face_sjis, int points, bool bold) {
  TextFont font;
  bool opened = font.Open(face_sjis, bold);
  if (opened) font_ = std::move(font);
  point_size_ = points;
  WarmGlyphCache(*this);
  return opened;
}

void GlyphRenderer::RenderGlyph(std::string_view text) {
  if (text.empty()) {
    RenderGlyphCode(0);
    return;
  }
  auto lead = static_cast<uint8_t>(text[0]);
  if (IsLeadByte(lead)) {
    // A lead byte at the very end pairs with the terminating NUL, as in a C string.
    uint8_t trail = text.size() > 1 ? static_cast<uint8_t>(text[1]) : 0;
    RenderGlyphCode((static_cast<uint32_t>(lead) << 8) | trail);
  } else {
    RenderGlyphCode(lead);
  }
}

void GlyphRenderer::RenderGlyphCode(uint32_t code) {
  font_.SetPointSize(point_size());
  if (const uint8_t* cached = cache_.Find(code)) {
    LoadCoverageMap(cached);
    return;
  }
  uint32_t size = GetGlyphOutline(font_, code, &outline_);
  if (size == 0 || size > kMaxOutlineBytes) {
    coverage_.Fill(0, 0, 0);
    shadow_.Fill(0, 0, 0);
    return;
  }
  BuildCoverageMap(outline_, font_.ascent(), map_.data());
  cache_.Add(code, map_.data());
  LoadCoverageMap(map_.data());
}

void GlyphRenderer::LoadCoverageMap(const uint8_t* map) {
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    uint8_t* dst = coverage_.Row(r);
    const uint8_t* src = map + r * kCoverageMapWidth;
    for (int c = 0; c < kGlyphCellWidth; ++c) dst[3 * c] = dst[3 * c + 1] = dst[3 * c + 2] = src[c];
  }
  shadow_.Fill(0, 0, 0);
  auto at = [map](int i, int j) { return static_cast<int>(map[i * kCoverageMapWidth + j]); };
  for (int i = 1; i <= 34; ++i) {
    uint8_t* dst = shadow_.Row(i + 1);
    for (int j = 1; j <= 30; ++j) {
      auto v =
          static_cast<uint8_t>((at(i - 1, j) + at(i, j - 1) + at(i, j + 1) + at(i + 1, j)) / 4);
      dst[3 * j] = dst[3 * j + 1] = dst[3 * j + 2] = v;
    }
  }
}

}  // namespace quill
