#pragma once
// The cache of rendered glyph coverage maps: a fixed block of 1000 entries allocated once,
// appended in order and searched linearly, never evicted.
#include <array>
#include <cstdint>
#include <vector>

namespace quill {

// A coverage map is 72 rows of 32 bytes: rows 0-35 are the glyph cell, the rest is slack a tall
// glyph may spill into.
constexpr int kCoverageMapWidth = 32;
constexpr int kCoverageMapRows = 72;
constexpr int kCoverageMapBytes = kCoverageMapWidth * kCoverageMapRows;  // 2304
constexpr int kGlyphCacheCapacity = 1000;

class GlyphCache {
 public:
  GlyphCache();

  void Clear() { count_ = 0; }
  int count() const { return count_; }
  bool full() const { return count_ >= kGlyphCacheCapacity; }
  // The map stored for a character code, or nullptr.
  const uint8_t* Find(uint32_t code) const;
  // Appends (code, map); false, storing nothing, when the cache is full.
  bool Add(uint32_t code, const uint8_t* map);

 private:
  std::vector<uint32_t> codes_;
  std::vector<uint8_t> maps_;
  int count_ = 0;
};

// The characters warmed at start-up and after a font change, in this order: hiragana, katakana,
// full-width digits, then common punctuation and 日.
constexpr int kWarmGlyphCount = 194;
const std::array<uint16_t, kWarmGlyphCount>& WarmGlyphCodes();

class GlyphRenderer;
// Empties the renderer's cache and renders the warm-up characters into it.
void WarmGlyphCache(GlyphRenderer& renderer);

}  // namespace quill
