#include "text/glyph_cache.h"

#include <cstring>

#include "text/glyph_renderer.h"

namespace quill {

GlyphCache::GlyphCache()
    : codes_(kGlyphCacheCapacity),
      maps_(static_cast<size_t>(kGlyphCacheCapacity) * kCoverageMapBytes) {}

const uint8_t* GlyphCache::Find(uint32_t code) const {
  for (int i = 0; i < count_; ++i) {
    if (codes_[i] == code) return maps_.data() + static_cast<size_t>(i) * kCoverageMapBytes;
  }
  return nullptr;
}

bool GlyphCache::Add(uint32_t code, const uint8_t* map) {
  if (full()) return false;
  codes_[count_] = code;
  std::memcpy(maps_.data() + static_cast<size_t>(count_) * kCoverageMapBytes, map,
              kCoverageMapBytes);
  ++count_;
  return true;
}

const std::array<uint16_t, kWarmGlyphCount>& WarmGlyphCodes() {
  static const std::array<uint16_t, kWarmGlyphCount> codes = [] {
    std::array<uint16_t, kWarmGlyphCount> c{};
    size_t n = 0;
    for (uint16_t code = 0x829F; code <= 0x82F1; ++code) c[n++] = code;  // hiragana
    for (uint16_t code = 0x8340; code <= 0x8396; ++code) c[n++] = code;  // katakana
    for (uint16_t code = 0x824F; code <= 0x8258; ++code) c[n++] = code;  // ０-９
    for (uint16_t code : {0x8140, 0x8175, 0x8176, 0x8169, 0x816A, 0x8163, 0x8142, 0x8141, 0x8145,
                          0x8149, 0x8148, 0x93FA, 0x8177, 0x8178}) {
      c[n++] = code;
    }
    return c;
  }();
  return codes;
}

void WarmGlyphCache(GlyphRenderer& renderer) {
  renderer.cache().Clear();
  for (uint16_t code : WarmGlyphCodes()) renderer.RenderGlyphCode(code);
}

}  // namespace quill
