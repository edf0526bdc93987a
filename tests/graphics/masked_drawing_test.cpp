#include "graphics/masked_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "graphics/blend_kernels.h"

namespace quill {
namespace {

Picture Filled(int w, int h, uint8_t value) {
  Picture p(w, h);
  p.Fill(value, value, value);
  return p;
}

Picture RandomPicture(std::mt19937& rng, int w, int h) {
  Picture p(w, h);
  for (auto& x : p.bytes()) x = static_cast<uint8_t>(rng());
  return p;
}

// A grey mask with transparent, opaque and partly covered 8-pixel stretches.
Picture RandomMask(std::mt19937& rng, int w, int h) {
  Picture m(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; x += 8) {
      const int kind = static_cast<int>(rng() % 3);
      for (int k = x; k < std::min(x + 8, w); ++k) {
        const uint8_t v = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(rng());
        uint8_t* px = m.Pixel(k, y);
        px[0] = px[1] = px[2] = v;
      }
    }
  }
  return m;
}

std::vector<BlendIsa> AllIsas() {
  std::vector<BlendIsa> isas = {BlendIsa::kScalar, BlendIsa::kSse2};
  if (BestBlendIsa() == BlendIsa::kAvx2) isas.push_back(BlendIsa::kAvx2);
  return isas;
}

// The drawing rules byte by byte, addressed by coordinates: clip, then in each row the first
// (w div 8) × 24 bytes in groups (skipped when the group's mask is all zero), the rest one by one.
Picture Model(Picture dest, const Picture& pic, int x, int y, const Picture& mask) {
  int w = std::min(pic.width(), mask.width()), h = std::min(pic.height(), mask.height());
  int sx = 0, sy = 0;
  if (x < 0) w += x, sx = -x, x = 0;
  if (y < 0) h += y, sy = -y, y = 0;
  if (x >= dest.width() || y > dest.height() || h <= 0 || w <= 0) return dest;
  w = std::min(w, dest.width() - x);
  h = std::min(h, dest.height() - y);
  for (int r = 0; r < h; ++r) {
    uint8_t* d = dest.Row(y + r) + 3 * x;
    const uint8_t* s = pic.Row(sy + r) + 3 * sx;
    const uint8_t* m = mask.Row(sy + r) + 3 * sx;
    for (int j = 0; j < 3 * w; ++j) {
      if (j < w / 8 * 24 &&
          std::all_of(m + j / 8 * 8, m + j / 8 * 8 + 8, [](uint8_t v) { return v == 0; })) {
        continue;
      }
      d[j] = static_cast<uint8_t>((d[j] * (255 - m[j]) + s[j] * m[j]) >> 8);
    }
  }
  return dest;
}

TEST(DrawMasked, MatchesTheRulesAtEveryPlacement) {
  std::mt19937 rng(1);
  const Picture dest = RandomPicture(rng, 53, 31);
  // Partly off each edge and corner, inside, fully off each side, and one pixel from the edges.
  const int places[][2] = {{-5, 3},  {40, 4},  {10, -7},  {12, 25},  {-9, -9},
                           {45, 27}, {3, 2},   {-60, 0},  {53, 0},   {0, -40},
                           {0, 31},  {52, 30}, {-19, 10}, {-20, 10}, {0, 0}};
  for (BlendIsa isa : AllIsas()) {
    ASSERT_TRUE(SetBlendIsa(isa));
    for (const auto& at : places) {
      for (int w : {1, 7, 8, 9, 17, 20, 33}) {
        const Picture pic = RandomPicture(rng, w, 6), mask = RandomMask(rng, w, 6);
        Picture got = dest;
        DrawMasked(got, pic, at[0], at[1], mask);
        ASSERT_EQ(got, Model(dest, pic, at[0], at[1], mask))
            << "width " << w << " at " << at[0] << "," << at[1];
      }
    }
  }
  SetBlendIsa(BestBlendIsa());
}

TEST(DrawMasked, ClipsToTheDestination) {
  // An opaque picture turns the covered pixels from 100 into (200 × 255) >> 8 = 199.
  struct Case {
    int x, y;
    Rect covered;  // on the 20 × 10 destination
  };
  const Case cases[] = {
      {7, 3, {7, 3, 6, 4}},  {-2, 3, {0, 3, 4, 4}},  {16, 3, {16, 3, 4, 4}}, {7, -3, {7, 0, 6, 1}},
      {7, 8, {7, 8, 6, 2}},  {-6, 0, {0, 0, 0, 0}},  {20, 0, {0, 0, 0, 0}},  {0, -4, {0, 0, 0, 0}},
      {0, 10, {0, 0, 0, 0}}, {-1, -1, {0, 0, 5, 3}}, {19, 9, {19, 9, 1, 1}},
  };
  const Picture pic = Filled(6, 4, 200), mask = Filled(6, 4, 255);
  for (const Case& c : cases) {
    Picture dest = Filled(20, 10, 100);
    DrawMasked(dest, pic, c.x, c.y, mask);
    for (int y = 0; y < 10; ++y) {
      for (int x = 0; x < 20; ++x) {
        const bool in = x >= c.covered.x && x < c.covered.x + c.covered.w && y >= c.covered.y &&
                        y < c.covered.y + c.covered.h;
        ASSERT_EQ(dest.Pixel(x, y)[1], in ? 199 : 100)
            << c.x << "," << c.y << ": " << x << "," << y;
      }
    }
  }
}

TEST(DrawMasked, ZeroSizesAndEmptyPicturesDrawNothing) {
  const Picture start = Filled(10, 10, 100);
  Picture dest = start;
  DrawMasked(dest, Picture(), 2, 2, Picture());
  DrawMasked(dest, Filled(0, 5, 9), 2, 2, Filled(0, 5, 255));
  DrawMasked(dest, Filled(5, 0, 9), 2, 2, Filled(5, 0, 255));
  DrawMasked(dest, Filled(5, 5, 9), 2, 2, Picture());  // no mask
  DrawMaskedPair(dest, 2, 2, Filled(1, 5, 9));         // half width 0
  DrawMaskedStacked(dest, 2, 2, Filled(5, 1, 9));      // half height 0
  EXPECT_EQ(dest, start);
  Picture empty;
  DrawMasked(empty, Filled(5, 5, 9), 0, 0, Filled(5, 5, 255));
  EXPECT_TRUE(empty.empty());
}

TEST(DrawMasked, ZeroMaskGroupsKeepTheDestinationButTrailingBytesLoseALevel) {
  // 8 transparent pixels: three whole groups, untouched.
  Picture dest = Filled(12, 1, 100);
  DrawMasked(dest, Filled(8, 1, 250), 0, 0, Filled(8, 1, 0));
  EXPECT_EQ(dest, Filled(12, 1, 100));
  // 9 transparent pixels: the ninth is past the groups and blends with mask 0: 100 → 99.
  DrawMasked(dest, Filled(9, 1, 250), 0, 0, Filled(9, 1, 0));
  for (int x = 0; x < 12; ++x) EXPECT_EQ(dest.Pixel(x, 0)[0], x == 8 ? 99 : 100) << x;
}

TEST(DrawMasked, GroupsCountFromTheFirstVisiblePixel) {
  // Only the two pixels cut off on the left are opaque. Clipped, the 8 visible pixels form three
  // transparent groups, so nothing changes (groups counted from the picture's own left edge would
  // mix the opaque bytes into the first group and blend the bytes beside them).
  Picture pic = Filled(10, 1, 250), mask = Filled(10, 1, 0);
  mask.FillRect({0, 0, 2, 1}, 255, 255, 255);
  Picture dest = Filled(8, 1, 100);
  DrawMasked(dest, pic, -2, 0, mask);
  EXPECT_EQ(dest, Filled(8, 1, 100));
}

TEST(DrawMasked, UsesOnlyTheAreaPictureAndMaskBothCover) {
  std::mt19937 rng(2);
  const Picture pic = RandomPicture(rng, 12, 5), mask = RandomMask(rng, 9, 7);
  Picture small_pic(9, 5), small_mask(9, 5);
  CopyRect(small_pic, 0, 0, pic, 0, 0, 9, 5);
  CopyRect(small_mask, 0, 0, mask, 0, 0, 9, 5);
  const Picture start = RandomPicture(rng, 20, 10);
  Picture a = start, b = start;
  DrawMasked(a, pic, 3, 2, mask);
  DrawMasked(b, small_pic, 3, 2, small_mask);
  EXPECT_EQ(a, b);
}

TEST(DrawMaskedPair, DrawsTheLeftHalfThroughTheRightHalf) {
  std::mt19937 rng(3);
  const Picture start = RandomPicture(rng, 40, 20);
  for (int width : {2, 17, 34, 51}) {  // odd widths drop the last column
    const int half = width / 2;
    const Picture image = RandomPicture(rng, half, 9), mask = RandomMask(rng, half, 9);
    Picture pair = RandomPicture(rng, width, 9);
    CopyRect(pair, 0, 0, image, 0, 0, half, 9);
    CopyRect(pair, half, 0, mask, 0, 0, half, 9);
    for (const auto& at : {std::pair{4, 3}, std::pair{-6, -2}, std::pair{30, 15}}) {
      Picture got = start, expected = start;
      DrawMaskedPair(got, at.first, at.second, pair);
      DrawMasked(expected, image, at.first, at.second, mask);
      ASSERT_EQ(got, expected) << "width " << width << " at " << at.first << "," << at.second;
    }
  }
}

TEST(DrawMaskedStacked, DrawsWholeGroupsOfTheUpperHalfThroughTheLowerHalf) {
  // 3 pixels wide: 9 bytes a row, one group; the ninth byte is not drawn even though opaque.
  Picture plate(3, 5);  // odd height: the last row belongs to neither half
  plate.FillRect({0, 0, 3, 2}, 200, 200, 200);
  plate.FillRect({0, 2, 3, 2}, 255, 255, 255);
  plate.FillRect({0, 4, 3, 1}, 7, 7, 7);
  Picture dest = Filled(6, 4, 100);
  DrawMaskedStacked(dest, 2, 1, plate);
  for (int y = 0; y < 4; ++y) {
    for (int b = 0; b < 18; ++b) {
      const bool drawn = (y == 1 || y == 2) && b >= 6 && b < 14;
      ASSERT_EQ(dest.Row(y)[b], drawn ? 199 : 100) << "row " << y << " byte " << b;
    }
  }
}

TEST(DrawMaskedStacked, DrawsNothingUnlessTheImageFitsInside) {
  std::mt19937 rng(4);
  const Picture plate = RandomPicture(rng, 8, 6);  // 8 × 3 image over an 8 × 3 mask
  const Picture start = RandomPicture(rng, 20, 10);
  struct Case {
    int x, y;
    bool drawn;
  };
  const Case cases[] = {{12, 7, true},  {0, 0, true},   {13, 0, false},   {0, 8, false},
                        {-1, 0, false}, {0, -1, false}, {100, 100, false}};
  for (BlendIsa isa : AllIsas()) {
    ASSERT_TRUE(SetBlendIsa(isa));
    for (const Case& c : cases) {
      Picture got = start;
      DrawMaskedStacked(got, c.x, c.y, plate);
      if (!c.drawn) {
        EXPECT_EQ(got, start) << c.x << "," << c.y;
        continue;
      }
      // 24 bytes a row: exactly the masked drawing of the halves.
      Picture image(8, 3), mask(8, 3), expected = start;
      CopyRect(image, 0, 0, plate, 0, 0, 8, 3);
      CopyRect(mask, 0, 0, plate, 0, 3, 8, 3);
      DrawMasked(expected, image, c.x, c.y, mask);
      EXPECT_EQ(got, expected) << c.x << "," << c.y;
      EXPECT_NE(got, start);
    }
  }
  SetBlendIsa(BestBlendIsa());
}

}  // namespace
}  // namespace quill
