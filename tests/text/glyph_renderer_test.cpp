#include "text/glyph_renderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "common/sjis.h"

namespace quill {
namespace {

uint8_t MaskAt(const Picture& mask, int x, int y) { return mask.Pixel(x, y)[0]; }

GlyphRenderer GothicRenderer(int points = 19) {
  GlyphRenderer renderer;
  TextFont font;
  EXPECT_TRUE(font.Open(Utf8ToSjisLossy("ＭＳ ゴシック"), false));
  renderer.SetFont(std::move(font));
  renderer.set_point_size(points);
  return renderer;
}

bool Blank(const Picture& p) {
  for (uint8_t v : p.bytes()) {
    if (v != 0) return false;
  }
  return true;
}

TEST(GlyphRendererTest, GreyLevelsToCoverage) {
  struct Case {
    int level;
    uint8_t coverage;
  } cases[] = {{0, 0}, {1, 93}, {2, 96}, {30, 180}, {54, 252}, {55, 255}, {56, 255}, {64, 255}};
  for (const Case& c : cases) EXPECT_EQ(LevelToCoverage(c.level), c.coverage) << c.level;
  // The 256-level rasteriser output keeps its ends and rounds to the nearest of 65 levels.
  EXPECT_EQ(GrayToLevel(0), 0);
  EXPECT_EQ(GrayToLevel(1), 0);
  EXPECT_EQ(GrayToLevel(2), 1);
  EXPECT_EQ(GrayToLevel(128), 32);
  EXPECT_EQ(GrayToLevel(255), 64);
}

TEST(GlyphRendererTest, OutlinePlacedAgainstTheAscent) {
  // 3 × 2 outline, rows padded to 4 bytes; the pad byte must be ignored.
  GlyphOutline outline;
  outline.width = 3;
  outline.height = 2;
  outline.origin_x = 5;
  outline.origin_y = 20;
  outline.levels = {0, 1, 55, 64, 64, 30, 0, 64};
  std::vector<uint8_t> map(kCoverageMapBytes, 0xEE);
  BuildCoverageMap(outline, /*ascent=*/22, map.data());
  // Row = i + ascent - origin_y + 2 = i + 4; column = origin_x + j.
  auto at = [&](int row, int col) { return map[row * kCoverageMapWidth + col]; };
  EXPECT_EQ(at(4, 5), 0);
  EXPECT_EQ(at(4, 6), 93);
  EXPECT_EQ(at(4, 7), 255);
  EXPECT_EQ(at(5, 5), 255);
  EXPECT_EQ(at(5, 6), 180);
  EXPECT_EQ(at(5, 7), 0);
  int ink = 0;
  for (uint8_t v : map) ink += v != 0;
  EXPECT_EQ(ink, 4);
}

TEST(GlyphRendererTest, OutlineOutsideTheMapIsDropped) {
  // Wider than the map, starting left of it, and reaching past its last row.
  GlyphOutline outline;
  outline.width = 40;
  outline.height = 80;
  outline.origin_x = -3;
  outline.origin_y = 10;
  outline.levels.assign(static_cast<size_t>(outline.pitch()) * outline.height, 64);
  std::vector<uint8_t> block(kCoverageMapBytes + 64, 0xEE);
  BuildCoverageMap(outline, /*ascent=*/0, block.data() + 32);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(block[i], 0xEE);
  for (size_t i = 32 + kCoverageMapBytes; i < block.size(); ++i) EXPECT_EQ(block[i], 0xEE);
  const uint8_t* map = block.data() + 32;
  // Rows 0-7 lie above the outline's first row (row of i = 0 is 0 + 0 - 10 + 2 = -8).
  EXPECT_EQ(map[0], 255);
  EXPECT_EQ(map[kCoverageMapBytes - 1], 255);
}

TEST(GlyphRendererTest, ShadowIsTheBlurredCoverageOneRowDown) {
  std::vector<uint8_t> map(kCoverageMapBytes, 0);
  map[10 * kCoverageMapWidth + 10] = 255;
  GlyphRenderer renderer;
  renderer.LoadCoverageMap(map.data());
  const Picture& cov = renderer.coverage_mask();
  const Picture& sh = renderer.shadow_mask();
  EXPECT_EQ(cov.Pixel(10, 10)[0], 255);
  EXPECT_EQ(cov.Pixel(10, 10)[1], 255);
  EXPECT_EQ(cov.Pixel(10, 10)[2], 255);
  // The four neighbours of (10, 10) get a quarter each, one row lower.
  struct Case {
    int x, y;
    uint8_t v;
  } cases[] = {{10, 10, 63}, {10, 12, 63}, {9, 11, 63}, {11, 11, 63}, {10, 11, 0}, {10, 9, 0}};
  for (const Case& c : cases) EXPECT_EQ(MaskAt(sh, c.x, c.y), c.v) << c.x << "," << c.y;
  int ink = 0;
  for (uint8_t v : sh.bytes()) ink += v != 0;
  EXPECT_EQ(ink, 4 * 3);
}

TEST(GlyphRendererTest, FullWidthSpaceAndUnmappedCodesPrepareNothing) {
  GlyphRenderer renderer = GothicRenderer();
  renderer.RenderGlyph(Utf8ToSjisLossy("あ"));
  ASSERT_FALSE(Blank(renderer.coverage_mask()));
  for (std::string text : {std::string("\x81\x40"), std::string("\x83\x7F"), std::string(" ")}) {
    renderer.RenderGlyph(text);
    EXPECT_TRUE(Blank(renderer.coverage_mask()));
    EXPECT_TRUE(Blank(renderer.shadow_mask()));
  }
  EXPECT_EQ(renderer.cache().Find(0x8140), nullptr);
}

TEST(GlyphRendererTest, CachedAndFreshGlyphsAreIdentical) {
  GlyphRenderer renderer = GothicRenderer();
  renderer.RenderGlyph(Utf8ToSjisLossy("あ"));  // cached: drawn between the two renders below
  for (const char* ch : {"漢", "A", "ｱ"}) {
    std::string text = Utf8ToSjisLossy(ch);
    int before = renderer.cache().count();
    renderer.RenderGlyph(text);
    Picture fresh_cov = renderer.coverage_mask(), fresh_sh = renderer.shadow_mask();
    EXPECT_FALSE(Blank(fresh_cov)) << ch;
    EXPECT_EQ(renderer.cache().count(), before + 1) << ch;
    renderer.RenderGlyph(Utf8ToSjisLossy("あ"));
    renderer.RenderGlyph(text);
    EXPECT_EQ(renderer.cache().count(), before + 1) << ch;
    EXPECT_EQ(renderer.coverage_mask(), fresh_cov) << ch;
    EXPECT_EQ(renderer.shadow_mask(), fresh_sh) << ch;
  }
}

TEST(GlyphRendererTest, TheThousandAndFirstGlyphDrawsUncached) {
  GlyphRenderer renderer = GothicRenderer();
  std::vector<uint32_t> codes;
  // Kanji from the first level, skipping codes that are not characters.
  for (uint32_t code = 0x889F; codes.size() < kGlyphCacheCapacity + 1; ++code) {
    if ((code & 0xFF) < 0x40 || (code & 0xFF) == 0x7F || (code & 0xFF) > 0xFC) continue;
    if (SjisCodeToCodePoint(code) != 0) codes.push_back(code);
  }
  for (size_t i = 0; i < kGlyphCacheCapacity; ++i) renderer.RenderGlyphCode(codes[i]);
  ASSERT_TRUE(renderer.cache().full());
  uint32_t last = codes.back();
  renderer.RenderGlyphCode(last);
  Picture first = renderer.coverage_mask();
  EXPECT_FALSE(Blank(first));
  EXPECT_EQ(renderer.cache().Find(last), nullptr);
  EXPECT_EQ(renderer.cache().count(), kGlyphCacheCapacity);
  renderer.RenderGlyphCode(last);
  EXPECT_EQ(renderer.coverage_mask(), first);
  GlyphRenderer other = GothicRenderer();
  other.RenderGlyphCode(last);
  EXPECT_EQ(other.coverage_mask(), first);
}

TEST(GlyphRendererTest, WarmingFillsTheCacheInOrder) {
  GlyphRenderer renderer = GothicRenderer();
  renderer.RenderGlyph(Utf8ToSjisLossy("漢"));
  WarmGlyphCache(renderer);
  // All but the full-width space and the gap code 0x837F have outlines.
  EXPECT_EQ(renderer.cache().count(), kWarmGlyphCount - 2);
  EXPECT_EQ(renderer.cache().Find(0x8ABF), nullptr);  // 漢 went with the old contents
  const auto& codes = WarmGlyphCodes();
  EXPECT_EQ(codes.front(), 0x829F);
  EXPECT_EQ(codes.back(), 0x8178);
  for (uint16_t code : codes) {
    if (code == 0x8140 || code == 0x837F) continue;
    EXPECT_NE(renderer.cache().Find(code), nullptr) << std::hex << code;
  }
}

TEST(GlyphRendererTest, NewPointSizeRerendersAfterWarming) {
  GlyphRenderer renderer = GothicRenderer(19);
  WarmGlyphCache(renderer);
  renderer.RenderGlyphCode(0x829F);
  Picture small = renderer.coverage_mask();
  int size = 28;
  renderer.SetPointSizeSource([&size] { return size; });
  // Until the cache is warmed again, the cached map stays.
  renderer.RenderGlyphCode(0x829F);
  EXPECT_EQ(renderer.coverage_mask(), small);
  WarmGlyphCache(renderer);
  renderer.RenderGlyphCode(0x829F);
  Picture large = renderer.coverage_mask();
  EXPECT_NE(large, small);
  GlyphRenderer reference = GothicRenderer(28);
  reference.RenderGlyphCode(0x829F);
  EXPECT_EQ(reference.coverage_mask(), large);
  EXPECT_EQ(renderer.font().em_pixels(), PointsToPixels(28));
}

TEST(GlyphRendererTest, ChangingTheFontWarmsTheNewFace) {
  GlyphRenderer renderer;
  ASSERT_TRUE(renderer.ChangeFont(Utf8ToSjisLossy("ＭＳ ゴシック"), 19, false));
  renderer.RenderGlyph(Utf8ToSjisLossy("永"));
  Picture gothic = renderer.coverage_mask();
  ASSERT_TRUE(renderer.ChangeFont(Utf8ToSjisLossy("ＭＳ 明朝"), 19, false));
  EXPECT_EQ(renderer.font().match().family, "IPAMincho");
  EXPECT_EQ(renderer.cache().count(), kWarmGlyphCount - 2);
  renderer.RenderGlyph(Utf8ToSjisLossy("永"));
  EXPECT_NE(renderer.coverage_mask(), gothic);
  ASSERT_TRUE(renderer.ChangeFont(Utf8ToSjisLossy("ＭＳ ゴシック"), 19, false));
  renderer.RenderGlyph(Utf8ToSjisLossy("永"));
  EXPECT_EQ(renderer.coverage_mask(), gothic);
}

}  // namespace
}  // namespace quill
