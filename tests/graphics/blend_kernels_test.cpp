#include "graphics/blend_kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "graphics/blend_reference.h"

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<BlendIsa> FastIsas() {
  std::vector<BlendIsa> isas = {BlendIsa::kSse2};
  if (BestBlendIsa() == BlendIsa::kAvx2) isas.push_back(BlendIsa::kAvx2);
  return isas;
}

std::string IsaName(const testing::TestParamInfo<BlendIsa>& info) {
  return info.param == BlendIsa::kAvx2 ? "Avx2" : "Sse2";
}

Bytes RandomBytes(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

// A mask that exercises the group shortcut: random bytes, with some 8-byte groups all zero and
// some with a single non-zero byte.
Bytes RandomMask(std::mt19937& rng, size_t n) {
  Bytes m = RandomBytes(rng, n);
  for (size_t g = 0; g + 8 <= n; g += 8) {
    switch (rng() % 4) {
      case 0:
        std::fill(m.begin() + g, m.begin() + g + 8, 0);
        break;
      case 1:
        std::fill(m.begin() + g, m.begin() + g + 8, 0);
        m[g + rng() % 8] = static_cast<uint8_t>(1 + rng() % 255);
        break;
      default:
        break;
    }
  }
  return m;
}

Picture RandomPicture(std::mt19937& rng, int w, int h) {
  Picture p(w, h);
  for (auto& x : p.bytes()) x = static_cast<uint8_t>(rng());
  return p;
}

// Runs every test once per vector instruction set this processor has.
class BlendKernels : public testing::TestWithParam<BlendIsa> {
 protected:
  void SetUp() override { ASSERT_TRUE(SetBlendIsa(GetParam())); }
  void TearDown() override { SetBlendIsa(BestBlendIsa()); }
};

// All 65536 (P, Q) byte pairs, P in the low byte of the index.
struct AllPairs {
  Bytes p, q;
  AllPairs() : p(65536), q(65536) {
    for (int i = 0; i < 65536; ++i) {
      p[i] = static_cast<uint8_t>(i);
      q[i] = static_cast<uint8_t>(i >> 8);
    }
  }
};

TEST_P(BlendKernels, CrossFadeMatchesTheFormulaOnEveryPairAndLevel) {
  const AllPairs all;
  Bytes fast(65536), preset(65536), ref(65536);
  for (int a = 0; a <= 256; ++a) {
    CrossFadeRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8, a);
    CrossFadeRowPreset(preset.data(), all.p.data(), all.q.data(), 65536 / 8, SetFadeWeights(a));
    reference::CrossFadeRow(ref.data(), all.p.data(), all.q.data(), 65536 / 8, a);
    ASSERT_EQ(fast, ref) << "a = " << a;
    ASSERT_EQ(preset, ref) << "a = " << a;
  }
  // The ends of the range are the pictures themselves; levels outside it are clamped.
  CrossFadeRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8, 256);
  EXPECT_EQ(fast, all.p);
  CrossFadeRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8, 0);
  EXPECT_EQ(fast, all.q);
  CrossFadeRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8, 1000);
  EXPECT_EQ(fast, all.p);
  CrossFadeRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8, -7);
  EXPECT_EQ(fast, all.q);
}

TEST_P(BlendKernels, MaskedBlendMatchesTheFormulaOnEveryPairAndMask) {
  const AllPairs all;
  Bytes mask(65536), fast(65536), ref(65536), grouped(65536);
  for (int m = 0; m <= 255; ++m) {
    std::fill(mask.begin(), mask.end(), static_cast<uint8_t>(m));
    MaskedBlendBytes(fast.data(), all.p.data(), all.q.data(), mask.data(), 65536);
    reference::MaskedBlendBytes(ref.data(), all.p.data(), all.q.data(), mask.data(), 65536);
    ASSERT_EQ(fast, ref) << "m = " << m;
    MaskedBlendRow(grouped.data(), all.p.data(), all.q.data(), mask.data(), 65536 / 8);
    // With a uniform mask only m = 0 takes the shortcut.
    ASSERT_EQ(grouped, m == 0 ? all.p : ref) << "m = " << m;
  }
  // Without the shortcut a zero mask still blends: (P × 255) >> 8 is P − 1 for P ≥ 1.
  std::fill(mask.begin(), mask.end(), 0);
  MaskedBlendBytes(fast.data(), all.p.data(), all.q.data(), mask.data(), 65536);
  EXPECT_EQ(fast[200], 199);
  EXPECT_EQ(fast[0], 0);
}

TEST_P(BlendKernels, PointKernelsMatchTheFormulaOnEveryInput) {
  const AllPairs all;
  Bytes fast(65536), ref(65536);
  for (int v = -1; v <= 257; ++v) {
    ScaleRow(fast.data(), all.p.data(), 65536 / 8, v);
    reference::ScaleRow(ref.data(), all.p.data(), 65536 / 8, v);
    ASSERT_EQ(fast, ref) << "scale " << v;
    BrightenRow(fast.data(), all.p.data(), 65536 / 8, v);
    reference::BrightenRow(ref.data(), all.p.data(), 65536 / 8, v);
    ASSERT_EQ(fast, ref) << "brighten " << v;
    DarkenRow(fast.data(), all.p.data(), 65536 / 8, v);
    reference::DarkenRow(ref.data(), all.p.data(), 65536 / 8, v);
    ASSERT_EQ(fast, ref) << "darken " << v;
  }
  AddRow(fast.data(), all.p.data(), all.q.data(), 65536 / 8);
  reference::AddRow(ref.data(), all.p.data(), all.q.data(), 65536 / 8);
  EXPECT_EQ(fast, ref);
  // A few fixed points of the formulas.
  ScaleRow(fast.data(), all.p.data(), 65536 / 8, 128);
  EXPECT_EQ(fast[255], 127);
  BrightenRow(fast.data(), all.p.data(), 65536 / 8, 10);
  EXPECT_EQ(fast[250], 255);
  EXPECT_EQ(fast[3], 13);
  DarkenRow(fast.data(), all.p.data(), 65536 / 8, 10);
  EXPECT_EQ(fast[3], 0);
  EXPECT_EQ(fast[250], 240);
}

// Every row kernel in one signature: (out, p, q, m, groups, level).
struct RowKernel {
  const char* name;
  std::function<void(uint8_t*, const uint8_t*, const uint8_t*, const uint8_t*, size_t, int)> fast,
      ref;
  int max_level;
};

const std::vector<RowKernel>& RowKernels() {
  static const std::vector<RowKernel> kernels = {
      {"cross-fade",
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t*, size_t g, int a) {
         CrossFadeRow(o, p, q, g, a);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t*, size_t g, int a) {
         reference::CrossFadeRow(o, p, q, g, a);
       },
       256},
      {"masked blend",
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t g, int) {
         MaskedBlendRow(o, p, q, m, g);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t g, int) {
         reference::MaskedBlendRow(o, p, q, m, g);
       },
       0},
      {"scale",
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         ScaleRow(o, p, g, v);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         reference::ScaleRow(o, p, g, v);
       },
       256},
      {"brighten",
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         BrightenRow(o, p, g, v);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         reference::BrightenRow(o, p, g, v);
       },
       255},
      {"darken",
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         DarkenRow(o, p, g, v);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t*, const uint8_t*, size_t g, int v) {
         reference::DarkenRow(o, p, g, v);
       },
       255},
      {"add",
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t*, size_t g, int) {
         AddRow(o, p, q, g);
       },
       [](uint8_t* o, const uint8_t* p, const uint8_t* q, const uint8_t*, size_t g, int) {
         reference::AddRow(o, p, q, g);
       },
       0},
  };
  return kernels;
}

TEST_P(BlendKernels, RowKernelsMatchOnRandomRowsOfEveryLengthAndAlignment) {
  std::mt19937 rng(7);
  for (const RowKernel& k : RowKernels()) {
    for (size_t groups = 0; groups <= 67; ++groups) {
      const size_t offset = rng() % 8;  // unaligned starts
      const size_t n = groups * 8 + offset + 16;
      const Bytes p = RandomBytes(rng, n), q = RandomBytes(rng, n), m = RandomMask(rng, n);
      // The output starts as random bytes: whatever lies past the last group must survive.
      Bytes fast = RandomBytes(rng, n), ref = fast;
      const int level = static_cast<int>(rng() % (k.max_level + 1));
      k.fast(fast.data() + offset, p.data() + offset, q.data() + offset, m.data() + offset, groups,
             level);
      k.ref(ref.data() + offset, p.data() + offset, q.data() + offset, m.data() + offset, groups,
            level);
      ASSERT_EQ(fast, ref) << k.name << ", " << groups << " groups, level " << level;
    }
  }
}

TEST_P(BlendKernels, OutputMayBeAnyOfTheInputs) {
  std::mt19937 rng(11);
  const size_t groups = 301;
  const Bytes p = RandomBytes(rng, groups * 8), q = RandomBytes(rng, groups * 8);
  const Bytes m = RandomMask(rng, groups * 8);
  for (const RowKernel& k : RowKernels()) {
    Bytes expected(groups * 8);
    k.ref(expected.data(), p.data(), q.data(), m.data(), groups, k.max_level / 3);
    for (int which = 0; which < 3; ++which) {
      Bytes bp = p, bq = q, bm = m;
      uint8_t* out = which == 0 ? bp.data() : which == 1 ? bq.data() : bm.data();
      k.fast(out, bp.data(), bq.data(), bm.data(), groups, k.max_level / 3);
      EXPECT_EQ(Bytes(out, out + groups * 8), expected) << k.name << ", output in input " << which;
    }
  }
}

TEST_P(BlendKernels, MaskedBlendShortcutNeedsAllEightMaskBytesOfAGroupZero) {
  // Two groups: the first has a zero mask, the second only one non-zero mask byte.
  const Bytes p = {10, 20, 30, 40, 50, 60, 70, 80, 10, 20, 30, 40, 50, 60, 70, 80};
  const Bytes q(16, 200);
  const Bytes m = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 128, 0, 0, 0, 0};
  Bytes out(16);
  MaskedBlendRow(out.data(), p.data(), q.data(), m.data(), 2);
  EXPECT_EQ(Bytes(out.begin(), out.begin() + 8), Bytes(p.begin(), p.begin() + 8));
  // Blended one by one: mask 0 gives (P × 255) >> 8 = P − 1; mask 128: (40 × 127 + 200 × 128) >> 8.
  EXPECT_EQ(Bytes(out.begin() + 8, out.end()), (Bytes{9, 19, 29, 119, 49, 59, 69, 79}));
}

TEST_P(BlendKernels, PictureKernelsMatchOnOddSizesAndLeaveRowTailsAlone) {
  std::mt19937 rng(3);
  for (int w = 1; w <= 67; ++w) {
    const int h = 1 + static_cast<int>(rng() % 5);
    const Picture p = RandomPicture(rng, w, h), q = RandomPicture(rng, w, h + 1);
    Picture m = RandomPicture(rng, w, h);
    m.bytes() = RandomMask(rng, m.bytes().size());
    const Picture q_same = RandomPicture(rng, w, h);
    const Picture start = RandomPicture(rng, w, h);
    const int level = static_cast<int>(rng() % 257);
    struct Case {
      const char* name;
      std::function<bool(Picture&)> fast, ref;
    };
    const Case cases[] = {
        {"cross-fade", [&](Picture& o) { return CrossFade(o, p, q_same, level); },
         [&](Picture& o) { return reference::CrossFade(o, p, q_same, level); }},
        {"masked blend", [&](Picture& o) { return MaskedBlend(o, p, q_same, m); },
         [&](Picture& o) { return reference::MaskedBlend(o, p, q_same, m); }},
        {"scale", [&](Picture& o) { return Scale(o, p, level); },
         [&](Picture& o) { return reference::Scale(o, p, level); }},
        {"brighten", [&](Picture& o) { return Brighten(o, p, level % 256); },
         [&](Picture& o) { return reference::Brighten(o, p, level % 256); }},
        {"darken", [&](Picture& o) { return Darken(o, p, level % 256); },
         [&](Picture& o) { return reference::Darken(o, p, level % 256); }},
        {"add (larger Q)", [&](Picture& o) { return Add(o, p, q); },
         [&](Picture& o) { return reference::Add(o, p, q); }},
        {"tile", [&](Picture& o) { return CrossFadeTile(o, p, q_same, w / 3, h / 2, level); },
         [&](Picture& o) { return reference::CrossFadeTile(o, p, q_same, w / 3, h / 2, level); }},
    };
    for (const Case& c : cases) {
      Picture fast = start, ref = start;
      ASSERT_TRUE(c.fast(fast)) << c.name;
      ASSERT_TRUE(c.ref(ref)) << c.name;
      ASSERT_EQ(fast, ref) << c.name << ", width " << w;
      // Bytes past the last whole group of a row keep their value.
      const int grouped = 3 * w / 8 * 8;
      if (std::string(c.name) != "tile") {
        for (int y = 0; y < h; ++y) {
          for (int b = grouped; b < 3 * w; ++b) ASSERT_EQ(fast.Row(y)[b], start.Row(y)[b]);
        }
      }
    }
  }
}

TEST_P(BlendKernels, PictureKernelsRefuseMismatchedSizes) {
  const Picture a(8, 4), b(9, 4), c(8, 3);
  Picture out(8, 4);
  out.Fill(1, 2, 3);
  const Picture before = out;
  EXPECT_FALSE(CrossFade(out, a, b, 100));
  EXPECT_FALSE(CrossFade(out, c, a, 100));
  EXPECT_FALSE(CrossFadeTile(out, a, c, 0, 0, 100));
  EXPECT_FALSE(MaskedBlend(out, a, a, b));
  EXPECT_FALSE(Scale(out, b, 10));
  EXPECT_FALSE(Brighten(out, c, 10));
  EXPECT_FALSE(Darken(out, b, 10));
  EXPECT_FALSE(Add(out, a, c));  // Q smaller than P
  EXPECT_FALSE(Pixelate(out, b, 2));
  EXPECT_EQ(out, before);
}

TEST_P(BlendKernels, FadeTileCoversItsTileAndIsClippedAtTheEdges) {
  std::mt19937 rng(5);
  const int w = 170, h = 130;
  const Picture p = RandomPicture(rng, w, h), q = RandomPicture(rng, w, h);
  const Picture start = RandomPicture(rng, w, h);
  // Inside, across the right and bottom edges, across the top-left corner, fully off.
  const int spots[][2] = {{40, 30}, {130, 100}, {-50, -20}, {170, 0}, {0, 130}, {-80, 0}};
  for (const auto& s : spots) {
    Picture fast = start, ref = start;
    ASSERT_TRUE(CrossFadeTile(fast, p, q, s[0], s[1], 256));
    ASSERT_TRUE(reference::CrossFadeTile(ref, p, q, s[0], s[1], 256));
    ASSERT_EQ(fast, ref);
    // a = 256 copies P into the tile's whole groups and leaves everything else.
    const int x0 = std::max(s[0], 0), x1 = std::min(s[0] + kFadeTileWidth, w);
    const int grouped_end = x0 * 3 + (std::max(x1 - x0, 0) * 3) / 8 * 8;
    for (int y = 0; y < h; ++y) {
      const bool row_in = y >= s[1] && y < s[1] + kFadeTileHeight;
      for (int b = 0; b < 3 * w; ++b) {
        const bool in = row_in && b >= x0 * 3 && b < grouped_end;
        ASSERT_EQ(fast.Row(y)[b], in ? p.Row(y)[b] : start.Row(y)[b])
            << "tile at " << s[0] << "," << s[1] << " byte " << b << " row " << y;
      }
    }
  }
}

TEST_P(BlendKernels, PixelateFillsBlocksWithTheirTopLeftPixel) {
  std::mt19937 rng(9);
  for (int s : {-3, 0, 1, 2, 3, 7, 16, 40, 1000}) {
    const Picture src = RandomPicture(rng, 37, 23);
    Picture fast(37, 23), ref(37, 23);
    ASSERT_TRUE(Pixelate(fast, src, s));
    ASSERT_TRUE(reference::Pixelate(ref, src, s));
    ASSERT_EQ(fast, ref) << "s = " << s;
    Picture in_place = src;
    ASSERT_TRUE(Pixelate(in_place, in_place, s));
    EXPECT_EQ(in_place, fast) << "s = " << s;
  }
  // 5 × 5 with blocks of 2: the cut blocks on the right and bottom take their own top-left pixel.
  const Picture src = RandomPicture(rng, 5, 5);
  Picture out(5, 5);
  ASSERT_TRUE(Pixelate(out, src, 2));
  auto same = [&](int x, int y, int fx, int fy) {
    return std::equal(out.Pixel(x, y), out.Pixel(x, y) + 3, src.Pixel(fx, fy));
  };
  EXPECT_TRUE(same(1, 1, 0, 0));
  EXPECT_TRUE(same(3, 2, 2, 2));
  EXPECT_TRUE(same(4, 3, 4, 2));
  EXPECT_TRUE(same(4, 4, 4, 4));
}

INSTANTIATE_TEST_SUITE_P(Isa, BlendKernels, testing::ValuesIn(FastIsas()), IsaName);

TEST(BlendIsaChoice, ScalarIsAlwaysAvailableAndTheBestIsActiveByDefault) {
  EXPECT_EQ(ActiveBlendIsa(), BestBlendIsa());
  EXPECT_TRUE(SetBlendIsa(BlendIsa::kScalar));
  EXPECT_EQ(ActiveBlendIsa(), BlendIsa::kScalar);
  EXPECT_TRUE(SetBlendIsa(BestBlendIsa()));
  EXPECT_EQ(ActiveBlendIsa(), BestBlendIsa());
}

}  // namespace
}  // namespace quill
