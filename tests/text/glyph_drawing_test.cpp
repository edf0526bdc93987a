#include "text/glyph_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "common/sjis.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;

class GlyphDrawingTest : public ::testing::Test {
 protected:
  GlyphDrawingTest() : drawing(renderer) {
    TextFont font;
    EXPECT_TRUE(font.Open("MS Gothic", false));
    renderer.SetFont(std::move(font));
    renderer.set_point_size(19);
  }

  // A coverage map with one pixel at (10, 10).
  void OnePixelGlyph(uint8_t coverage) {
    std::vector<uint8_t> map(kCoverageMapBytes, 0);
    map[10 * kCoverageMapWidth + 10] = coverage;
    renderer.LoadCoverageMap(map.data());
  }

  GlyphRenderer renderer;
  GlyphDrawing drawing;
};

TEST_F(GlyphDrawingTest, ShadowThenTextWithTheGroupedMaskBlend) {
  drawing.SetTextColour(7);  // grey 192
  drawing.SetTextColour(0);  // white
  OnePixelGlyph(255);
  Picture p(40, 40);
  p.Fill(100, 100, 100);
  drawing.PutGlyph(p, 0, 0);
  // Row 10. Shadow pass (mask 63 at cell column 10, drawn one pixel right) darkens column 11 to
  // 75; text pass puts 254 at column 10. Every byte of an 8-byte group with a non-zero mask byte
  // is blended, even where its own mask byte is 0 (100 → 99, 99 → 98); other groups stay.
  struct Case {
    int x;
    Bgr v;
  } row10[] = {{7, {100, 100, 100}},  {8, {99, 99, 99}},    {9, {98, 98, 98}},
               {10, {254, 254, 254}}, {11, {74, 74, 74}},   {12, {98, 98, 98}},
               {13, {98, 99, 99}},    {14, {99, 100, 100}}, {15, {100, 100, 100}}};
  for (const Case& c : row10) EXPECT_EQ(At(p, c.x, 10), c.v) << "x " << c.x;
  // The shadow's diamond is centred one right and one below the glyph pixel.
  EXPECT_EQ(At(p, 11, 12).g, 75);
  EXPECT_EQ(At(p, 10, 11).g, 75);
  EXPECT_EQ(At(p, 12, 11).g, 75);
  EXPECT_EQ(At(p, 11, 11).g, 99);
  EXPECT_EQ(At(p, 10, 30), (Bgr{100, 100, 100}));
}

TEST_F(GlyphDrawingTest, LowestAndOpaqueGreyLevels) {
  drawing.SetTextColour(0);
  GlyphOutline outline;
  outline.width = 2;
  outline.height = 1;
  outline.origin_x = 10;
  outline.origin_y = 0;
  outline.levels = {1, 0, 0, 0};  // level 1 at column 10, nothing at 11
  std::vector<uint8_t> map(kCoverageMapBytes);
  BuildCoverageMap(outline, /*ascent=*/8, map.data());  // row 10
  renderer.LoadCoverageMap(map.data());
  Picture p(40, 40);
  p.Fill(100, 100, 100);
  drawing.PutGlyph(p, 0, 0);
  EXPECT_EQ(At(p, 10, 10).g, 155);  // mask 93: (100 × 162 + 255 × 93) / 256
  for (int level : {55, 64}) {
    outline.levels[0] = static_cast<uint8_t>(level);
    BuildCoverageMap(outline, 8, map.data());
    renderer.LoadCoverageMap(map.data());
    for (uint8_t background : {0, 100, 255}) {
      p.Fill(background, background, background);
      drawing.PutGlyph(p, 0, 0);
      EXPECT_EQ(At(p, 10, 10), (Bgr{254, 254, 254})) << level;  // the background is gone
    }
  }
}

TEST_F(GlyphDrawingTest, ColourTable) {
  drawing.set_speaker_colour({10, 20, 30});
  struct Case {
    int index;
    Rgb colour;
  } cases[] = {{0, {10, 20, 30}},    {1, {0, 128, 0}},   {9, {0, 128, 0}},      {2, {255, 0, 0}},
               {3, {128, 0, 128}},   {4, {255, 255, 0}}, {5, {0, 0, 255}},      {6, {0, 255, 255}},
               {7, {192, 192, 192}}, {8, {10, 20, 30}},  {15, {192, 192, 192}}, {-7, {0, 128, 0}}};
  OnePixelGlyph(255);
  for (const Case& c : cases) {
    drawing.SetTextColour(c.index);
    ASSERT_TRUE(drawing.text_colour());
    EXPECT_EQ(*drawing.text_colour(), c.colour) << c.index;
    Picture p(40, 40);
    drawing.PutGlyph(p, 0, 0);
    Bgr expect{c.colour.b * 255 / 256, c.colour.g * 255 / 256, c.colour.r * 255 / 256};
    EXPECT_EQ(At(p, 10, 10), expect) << c.index;
  }
  // Index 0 follows the speaker colour, read at each call.
  Rgb speaker{1, 2, 3};
  drawing.SetSpeakerColourSource([&speaker] { return speaker; });
  drawing.SetTextColour(0);
  EXPECT_EQ(*drawing.text_colour(), speaker);
  speaker = {200, 100, 50};
  drawing.SetTextColour(0);
  EXPECT_EQ(*drawing.text_colour(), speaker);
}

TEST_F(GlyphDrawingTest, WholeRowsBlendAsTheClippedRowReference) {
  // Random coverage with whole 8-byte groups of zeros, so both sides of the group rule show.
  std::mt19937 rng(3);
  std::vector<uint8_t> map(kCoverageMapBytes);
  for (uint8_t& v : map) v = rng() % 3 == 0 ? 0 : static_cast<uint8_t>(rng());
  for (int row = 0; row < kCoverageMapRows; row += 3) std::fill_n(&map[row * 32 + 8], 8, 0);
  renderer.LoadCoverageMap(map.data());
  drawing.set_speaker_colour({37, 201, 99});
  drawing.SetTextColour(0);
  Picture got(80, 60);
  for (uint8_t& v : got.bytes()) v = static_cast<uint8_t>(rng());
  Picture expect = got;
  drawing.PutGlyph(got, 21, 7);
  uint8_t black[96] = {}, colour[96];
  for (int k = 0; k < 96; k += 3) colour[k] = 99, colour[k + 1] = 201, colour[k + 2] = 37;
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    BlendGlyphRow(expect.Row(7 + r), expect.stride(), 22 * 3, black, renderer.shadow_mask().Row(r),
                  96);
  }
  for (int r = 0; r < kGlyphCellHeight; ++r) {
    BlendGlyphRow(expect.Row(7 + r), expect.stride(), 21 * 3, colour,
                  renderer.coverage_mask().Row(r), 96);
  }
  EXPECT_EQ(got, expect);
}

TEST_F(GlyphDrawingTest, FullWidthSpaceLeavesThePictureAlone) {
  drawing.StartUp();
  Picture p(64, 64);
  std::mt19937 rng(7);
  for (uint8_t& v : p.bytes()) v = static_cast<uint8_t>(rng());
  Picture before = p;
  renderer.RenderGlyph("\x81\x40");
  drawing.PutGlyph(p, 10, 10);
  drawing.DrawGlyphText("\x81\x40\x81\x40", 32, p, 1, 5);
  EXPECT_EQ(p, before);
}

TEST_F(GlyphDrawingTest, CachedAndUncachedGlyphsDrawTheSame) {
  drawing.StartUp();
  Picture cached(64, 64), fresh(64, 64);
  renderer.RenderGlyph(Utf8ToSjisLossy("あ"));  // warmed
  drawing.PutGlyph(cached, 5, 5);
  renderer.cache().Clear();
  renderer.RenderGlyph(Utf8ToSjisLossy("あ"));  // rendered now
  drawing.PutGlyph(fresh, 5, 5);
  EXPECT_EQ(cached, fresh);
  int ink = 0;
  for (uint8_t v : fresh.bytes()) ink += v > 128;
  EXPECT_GT(ink, 40);
}

TEST_F(GlyphDrawingTest, PutGlyphClipsAtEveryEdge) {
  drawing.StartUp();
  renderer.RenderGlyph(Utf8ToSjisLossy("漢"));
  Picture big(100, 100);
  drawing.PutGlyph(big, 40, 40);
  // The same glyph into a small picture that shows a window of the big one.
  struct Case {
    int ox, oy, w, h;
  } cases[] = {{50, 50, 20, 20}, {25, 25, 30, 30}, {45, 35, 10, 50}, {30, 60, 60, 8}};
  for (const Case& c : cases) {
    Picture small(c.w, c.h);
    drawing.PutGlyph(small, 40 - c.ox, 40 - c.oy);
    Picture expect(c.w, c.h);
    CopyRect(expect, 0, 0, big, c.ox, c.oy, c.w, c.h);
    EXPECT_EQ(small, expect) << c.ox << "," << c.oy;
  }
}

TEST_F(GlyphDrawingTest, DrawGlyphTextCentresOnX) {
  drawing.StartUp();
  drawing.set_pitch_x(11);
  struct Case {
    const char* utf8;
    std::vector<std::pair<std::string, int>> glyphs;  // character, x offset from centre
  } cases[] = {
      {"あい", {{"あ", -11}, {"い", 11}}},  // 4 bytes: 1 × 11 − 22, 3 × 11 − 22
      {"Aあ", {{"A", -5}, {"あ", 6}}},      // 3 bytes: (3 × 11) / 2 = 16
      {"日", {{"日", 0}}},                  // 2 bytes
      {"AB", {{"A", 0}, {"B", 11}}},
  };
  for (const Case& c : cases) {
    Picture got(200, 60), expect(200, 60);
    drawing.DrawGlyphText(Utf8ToSjisLossy(c.utf8), 100, got, 9, 12);
    drawing.SetTextColour(1);
    for (const auto& [ch, dx] : c.glyphs) {
      renderer.RenderGlyph(Utf8ToSjisLossy(ch));
      drawing.PutGlyph(expect, 100 + dx, 12);
    }
    EXPECT_EQ(got, expect) << c.utf8;
    EXPECT_NE(got, Picture(200, 60)) << c.utf8;
  }
  // Text ends at a NUL, as in a fixed-size record.
  Picture with_nul(200, 60), plain(200, 60);
  drawing.DrawGlyphText(std::string(Utf8ToSjisLossy("あい")) + '\0' + "xyz", 100, with_nul, 1, 12);
  drawing.DrawGlyphText(Utf8ToSjisLossy("あい"), 100, plain, 1, 12);
  EXPECT_EQ(with_nul, plain);
}

}  // namespace
}  // namespace quill
