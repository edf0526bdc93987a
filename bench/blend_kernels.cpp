// Blend kernels at full-screen size: the vector kernels against their scalar references, against
// pixman composites of the same pixel count, and against a plain copy of one screen picture.
//
// pixman works on 32-bit pixels, so its pictures hold 4 bytes a pixel where ours hold 3, and its
// OVER composites in place (the destination is read and written) where our kernels write a
// separate output. The pairs compared:
//   cross-fade     out = (a × P + (256 − a) × Q) >> 8     pixman OVER, opaque source, solid mask
//   masked blend   out = (P × (255 − M) + Q × M) >> 8     pixman OVER, opaque source, a8 mask
//                                                        (and a per-channel component-alpha mask)
//   DrawMasked     400 × 600 standing picture with mask  pixman OVER of 400 × 600 with an a8 mask
// The summary at the end takes the best time over the repetitions of each benchmark (7 by
// default, interleaved) and prints ratios of times measured in this one run.
#include "graphics/blend_kernels.h"

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/support/bench_figures.h"
#include "common/picture.h"
#include "graphics/masked_drawing.h"

namespace quill {
namespace {

constexpr int kW = 800, kH = 600;
constexpr int kStandW = 400;
constexpr int kFadeLevel = 100;

Picture RandomPicture(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  Picture p(w, h);
  for (auto& b : p.bytes()) b = static_cast<uint8_t>(rng());
  return p;
}

// Grey coverage of a standing figure: opaque in a band around the middle whose width varies by
// row, an 8-pixel soft edge, transparent at the sides.
uint8_t FigureCoverage(int x, int y, int w) {
  const int half = w / 4 + (y * 37 % 61) - 30;
  const int d = std::abs(x - w / 2) - half;
  if (d <= 0) return 255;
  if (d >= 8) return 0;
  return static_cast<uint8_t>(255 - d * 32);
}

Picture FigureMask(int w, int h) {
  Picture m(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = m.Pixel(x, y);
      px[0] = px[1] = px[2] = FigureCoverage(x, y, w);
    }
  }
  return m;
}

struct Screens {
  Picture old_screen = RandomPicture(kW, kH, 1);
  Picture new_screen = RandomPicture(kW, kH, 2);
  Picture mask = RandomPicture(kW, kH, 3);
  Picture out = Picture(kW, kH);
  Picture stand = RandomPicture(kStandW, kH, 4);
  Picture stand_mask = FigureMask(kStandW, kH);
};

Screens& S() {
  static Screens s;
  return s;
}

// Runs `body` with the given instruction set and restores the best one afterwards.
template <typename Body>
void WithIsa(BlendIsa isa, benchmark::State& state, Body body) {
  if (!SetBlendIsa(isa)) {
    state.SkipWithError("instruction set not available");
    return;
  }
  for (auto _ : state) {
    body();
    benchmark::ClobberMemory();
  }
  SetBlendIsa(BestBlendIsa());
}

void BM_Memcpy(benchmark::State& state) {
  Screens& s = S();
  for (auto _ : state) {
    std::memcpy(s.out.bytes().data(), s.new_screen.bytes().data(), s.out.bytes().size());
    benchmark::ClobberMemory();
  }
}

// What reading three screens and writing a fourth costs with next to no arithmetic: a plain
// XOR loop over 64-bit words, as the compiler builds it.
void BM_ThreeInputXor(benchmark::State& state) {
  Screens& s = S();
  const size_t words = s.out.bytes().size() / 8;
  for (auto _ : state) {
    auto* out = reinterpret_cast<uint64_t*>(s.out.bytes().data());
    const auto* p = reinterpret_cast<const uint64_t*>(s.old_screen.bytes().data());
    const auto* q = reinterpret_cast<const uint64_t*>(s.new_screen.bytes().data());
    const auto* m = reinterpret_cast<const uint64_t*>(s.mask.bytes().data());
    for (size_t i = 0; i < words; ++i) out[i] = p[i] ^ q[i] ^ m[i];
    benchmark::ClobberMemory();
  }
}

void CrossFadeWith(benchmark::State& state, BlendIsa isa) {
  Screens& s = S();
  WithIsa(isa, state, [&] { CrossFade(s.out, s.new_screen, s.old_screen, kFadeLevel); });
}
void BM_CrossFade_Fast(benchmark::State& state) { CrossFadeWith(state, BestBlendIsa()); }
void BM_CrossFade_Sse2(benchmark::State& state) { CrossFadeWith(state, BlendIsa::kSse2); }
void BM_CrossFade_Reference(benchmark::State& state) { CrossFadeWith(state, BlendIsa::kScalar); }

void MaskedBlendWith(benchmark::State& state, BlendIsa isa) {
  Screens& s = S();
  WithIsa(isa, state, [&] { MaskedBlend(s.out, s.old_screen, s.new_screen, s.mask); });
}
void BM_MaskedBlend_Fast(benchmark::State& state) { MaskedBlendWith(state, BestBlendIsa()); }
void BM_MaskedBlend_Sse2(benchmark::State& state) { MaskedBlendWith(state, BlendIsa::kSse2); }
void BM_MaskedBlend_Reference(benchmark::State& state) {
  MaskedBlendWith(state, BlendIsa::kScalar);
}

void DrawMaskedWith(benchmark::State& state, BlendIsa isa) {
  Screens& s = S();
  // The destination changes with every draw; its cost does not depend on its content.
  WithIsa(isa, state, [&] { DrawMasked(s.out, s.stand, (kW - kStandW) / 2, 0, s.stand_mask); });
}
void BM_DrawMasked_Fast(benchmark::State& state) { DrawMaskedWith(state, BestBlendIsa()); }
void BM_DrawMasked_Reference(benchmark::State& state) { DrawMaskedWith(state, BlendIsa::kScalar); }

// --- pixman, on 32-bit pictures of the same pixel counts ---

struct PixmanImage {
  std::vector<uint32_t> bits;
  pixman_image_t* image = nullptr;
  PixmanImage(pixman_format_code_t format, int w, int h, unsigned seed, int bpp_bytes = 4) {
    const int stride = (w * bpp_bytes + 3) / 4 * 4;
    bits.resize(static_cast<size_t>(stride) / 4 * h);
    std::mt19937 rng(seed);
    for (auto& b : bits) b = rng();
    image = pixman_image_create_bits(format, w, h, bits.data(), stride);
  }
  ~PixmanImage() { pixman_image_unref(image); }
};

void BM_CrossFade_Pixman(benchmark::State& state) {
  PixmanImage src(PIXMAN_x8r8g8b8, kW, kH, 1), dest(PIXMAN_x8r8g8b8, kW, kH, 2);
  const pixman_color_t level = {0, 0, 0, static_cast<uint16_t>(kFadeLevel << 8)};
  pixman_image_t* mask = pixman_image_create_solid_fill(&level);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask, dest.image, 0, 0, 0, 0, 0, 0, kW, kH);
    benchmark::ClobberMemory();
  }
  pixman_image_unref(mask);
}

void BM_MaskedBlend_PixmanA8(benchmark::State& state) {
  PixmanImage src(PIXMAN_x8r8g8b8, kW, kH, 1), dest(PIXMAN_x8r8g8b8, kW, kH, 2);
  PixmanImage mask(PIXMAN_a8, kW, kH, 3, 1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask.image, dest.image, 0, 0, 0, 0, 0, 0,
                             kW, kH);
    benchmark::ClobberMemory();
  }
}

void BM_MaskedBlend_PixmanComponentAlpha(benchmark::State& state) {
  PixmanImage src(PIXMAN_x8r8g8b8, kW, kH, 1), dest(PIXMAN_x8r8g8b8, kW, kH, 2);
  PixmanImage mask(PIXMAN_a8r8g8b8, kW, kH, 3);
  pixman_image_set_component_alpha(mask.image, 1);
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask.image, dest.image, 0, 0, 0, 0, 0, 0,
                             kW, kH);
    benchmark::ClobberMemory();
  }
}

void BM_DrawMasked_Pixman(benchmark::State& state) {
  PixmanImage src(PIXMAN_x8r8g8b8, kStandW, kH, 4), dest(PIXMAN_x8r8g8b8, kW, kH, 2);
  PixmanImage mask(PIXMAN_a8, kStandW, kH, 5, 1);
  // The same figure coverage as our standing picture's mask.
  auto* m = reinterpret_cast<uint8_t*>(mask.bits.data());
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kStandW; ++x) m[y * kStandW + x] = FigureCoverage(x, y, kStandW);
  }
  for (auto _ : state) {
    pixman_image_composite32(PIXMAN_OP_OVER, src.image, mask.image, dest.image, 0, 0, 0, 0,
                             (kW - kStandW) / 2, 0, kStandW, kH);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThreeInputXor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade_Sse2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CrossFade_Pixman)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskedBlend_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskedBlend_Sse2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskedBlend_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskedBlend_PixmanA8)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MaskedBlend_PixmanComponentAlpha)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawMasked_Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawMasked_Reference)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawMasked_Pixman)->Unit(benchmark::kMicrosecond);

void Ratio(const bench::Figures& figures, const char* label, const std::string& a,
           const std::string& b) {
  double ta = figures.Seconds(a), tb = figures.Seconds(b);
  if (ta <= 0 || tb <= 0) return;
  std::printf("  %-50s %6.2f\n", label, ta / tb);
}

void PrintSummary(const bench::Figures& figures) {
  std::printf("\nPer full screen (best of repetitions), vector set %s:\n",
              BestBlendIsa() == BlendIsa::kAvx2 ? "AVX2" : "SSE2");
  for (const auto& [name, figure] : figures.all()) {
    std::printf("  %-40s %9.1f us\n", name.c_str(), figure.seconds * 1e6);
  }
  std::printf("\nRatios (times of this run):\n");
  Ratio(figures, "cross-fade / memcpy", "BM_CrossFade_Fast", "BM_Memcpy");
  Ratio(figures, "masked blend / memcpy", "BM_MaskedBlend_Fast", "BM_Memcpy");
  Ratio(figures, "DrawMasked 400x600 / memcpy", "BM_DrawMasked_Fast", "BM_Memcpy");
  Ratio(figures, "three-input XOR / memcpy", "BM_ThreeInputXor", "BM_Memcpy");
  Ratio(figures, "masked blend / three-input XOR", "BM_MaskedBlend_Fast", "BM_ThreeInputXor");
  Ratio(figures, "cross-fade reference / fast", "BM_CrossFade_Reference", "BM_CrossFade_Fast");
  Ratio(figures, "masked blend reference / fast", "BM_MaskedBlend_Reference",
        "BM_MaskedBlend_Fast");
  Ratio(figures, "DrawMasked reference / fast", "BM_DrawMasked_Reference", "BM_DrawMasked_Fast");
  Ratio(figures, "cross-fade SSE2 / fast", "BM_CrossFade_Sse2", "BM_CrossFade_Fast");
  Ratio(figures, "masked blend SSE2 / fast", "BM_MaskedBlend_Sse2", "BM_MaskedBlend_Fast");
  Ratio(figures, "cross-fade pixman OVER solid mask / fast", "BM_CrossFade_Pixman",
        "BM_CrossFade_Fast");
  Ratio(figures, "masked blend pixman OVER a8 mask / fast", "BM_MaskedBlend_PixmanA8",
        "BM_MaskedBlend_Fast");
  Ratio(figures, "masked blend pixman OVER component alpha / fast",
        "BM_MaskedBlend_PixmanComponentAlpha", "BM_MaskedBlend_Fast");
  Ratio(figures, "DrawMasked pixman OVER a8 mask / fast", "BM_DrawMasked_Pixman",
        "BM_DrawMasked_Fast");
}

}  // namespace
}  // namespace quill

// Defaults for a shared, noisy machine: several repetitions, interleaved in random order so that
// a busy moment does not fall on one benchmark only; the summary keeps the best of each. Flags
// given on the command line come later and win.
int main(int argc, char** argv) {
  quill::bench::BenchOptions options;
  options.real_time = true;
  options.default_flags = {"--benchmark_repetitions=7",
                           "--benchmark_enable_random_interleaving=true",
                           "--benchmark_min_time=0.2"};
  return quill::bench::RunBenchmarks(argc, argv, quill::PrintSummary, options);
}
