#pragma once
// Turns one Shift-JIS character into the glyph cell's coverage and shadow masks, through the
// glyph cache.
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "common/picture.h"
#include "text/glyph_cache.h"
#include "text/text_font.h"

namespace quill {

constexpr int kGlyphCellWidth = 32;
constexpr int kGlyphCellHeight = 36;
// Largest grey outline (rows padded to 4 bytes) a glyph may have; bigger ones draw as nothing.
constexpr uint32_t kMaxOutlineBytes = 2303;

// FreeType's 256 grey levels to the platform's 65 (0-64), rounding to the nearest level, so that
// 0 and 255 stay the two ends and every level covers the same width of the range.
constexpr uint8_t GrayToLevel(uint8_t v) { return static_cast<uint8_t>((v * 64 + 127) / 255); }
// A 65-level grey to the stored coverage: 0 stays 0, above 55 is opaque, the rest ramps from 93.
constexpr uint8_t LevelToCoverage(int m) {
  return m <= 0 ? 0 : m > 55 ? 255 : static_cast<uint8_t>(3 * m + 90);
}

// A grey outline as the platform's outline call gives it: levels 0-64, rows of `width` bytes
// padded to a multiple of 4, and the glyph origin (origin_y = distance from the baseline up to
// the top row).
struct GlyphOutline {
  int width = 0;
  int height = 0;
  int origin_x = 0;
  int origin_y = 0;
  std::vector<uint8_t> levels;
  int pitch() const { return (width + 3) & ~3; }
};

// Fetches the grey outline of a character code ((lead << 8) | trail, or one byte). Returns the
// outline's size in bytes, 0 when the character has no outline or the font cannot give it.
uint32_t GetGlyphOutline(const TextFont& font, uint32_t code, GlyphOutline* out);

// Fills a 2304-byte coverage map from an outline placed against the font's ascent. Pixels that
// would fall outside the map are dropped.
void BuildCoverageMap(const GlyphOutline& outline, int ascent, uint8_t* map);

class GlyphRenderer {
 public:
  GlyphRenderer();

  TextFont& font() { return font_; }
  GlyphCache& cache() { return cache_; }
  // Replaces the font (after a face, size or bold change the caller warms the cache again).
  void SetFont(TextFont font) { font_ = std::move(font); }
  // The font from the settings (FontName, FONTSIZE, FONTBold): opens it, sizes it and warms the
  // cache again, as at start-up and after the settings change. When no font opens, the previous
  // one stays and false is returned.
  bool ChangeFont(std::string_view face_sjis, int points, bool bold);
  // The point size applied at every RenderGlyph; a source, when set, is asked each time instead
  // (the settings value FONTSIZE).
  void set_point_size(int points) { point_size_ = points; }
  void SetPointSizeSource(std::function<int()> source) { size_source_ = std::move(source); }
  int point_size() const { return size_source_ ? size_source_() : point_size_; }

  // Prepares the masks for the character `text` starts with: two bytes when the first is a lead
  // byte, else one.
  void RenderGlyph(std::string_view text);
  void RenderGlyphCode(uint32_t code);
  // Prepares the masks from a coverage map (steps shared by cached and fresh glyphs).
  void LoadCoverageMap(const uint8_t* map);

  // The cell-sized masks: the coverage, and its blurred copy one row lower (the shadow).
  const Picture& coverage_mask() const { return coverage_; }
  const Picture& shadow_mask() const { return shadow_; }

 private:
  TextFont font_;
  GlyphCache cache_;
  int point_size_ = 19;
  std::function<int()> size_source_;
  Picture coverage_{kGlyphCellWidth, kGlyphCellHeight};
  Picture shadow_{kGlyphCellWidth, kGlyphCellHeight};
  GlyphOutline outline_;  // reused, so drawing allocates nothing once warm
  std::vector<uint8_t> map_;
};

}  // namespace quill
