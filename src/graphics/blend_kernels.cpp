#include "graphics/blend_kernels.h"

#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/blend_reference.h"

namespace quill {
namespace {

// One implementation of the row kernels per instruction set. Counts are in bytes here (a whole
// number of groups, except for the plain masked blend), weights already clamped.
struct Kernels {
  void (*cross_fade)(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n, int a);
  // `shortcut`: an 8-byte group with an all-zero mask gives P (n is then a multiple of 8).
  void (*masked)(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t n,
                 bool shortcut);
  void (*scale)(uint8_t* out, const uint8_t* p, size_t n, int v);
  void (*brighten)(uint8_t* out, const uint8_t* p, size_t n, int v);
  void (*darken)(uint8_t* out, const uint8_t* p, size_t n, int v);
  void (*add)(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n);
};

// --- Scalar: the references themselves ---

void ScalarCrossFade(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n, int a) {
  reference::CrossFadeRow(out, p, q, n / 8, a);
}
void ScalarMasked(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t n,
                  bool shortcut) {
  if (shortcut) {
    reference::MaskedBlendRow(out, p, q, m, n / 8);
  } else {
    reference::MaskedBlendBytes(out, p, q, m, n);
  }
}
void ScalarScale(uint8_t* out, const uint8_t* p, size_t n, int v) {
  reference::ScaleRow(out, p, n / 8, v);
}
void ScalarBrighten(uint8_t* out, const uint8_t* p, size_t n, int v) {
  reference::BrightenRow(out, p, n / 8, v);
}
void ScalarDarken(uint8_t* out, const uint8_t* p, size_t n, int v) {
  reference::DarkenRow(out, p, n / 8, v);
}
void ScalarAdd(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n) {
  reference::AddRow(out, p, q, n / 8);
}

constexpr Kernels kScalarKernels = {ScalarCrossFade, ScalarMasked, ScalarScale,
                                    ScalarBrighten,  ScalarDarken, ScalarAdd};

// At the ends of its range a cross-fade or a scale is a plain copy.
void CopyBytes(uint8_t* out, const uint8_t* from, size_t n) {
  if (out != from) std::memmove(out, from, n);
}

// --- SSE2 (every x86-64 processor) ---
// Each vector version finishes a row's tail with the next smaller one, down to the scalar code.
// 16 bytes at a time, widened to 16-bit lanes: a × P + (256 − a) × Q ≤ 65280 and
// P × (255 − M) + Q × M ≤ 65025 never overflow an unsigned 16-bit lane.

void Sse2CrossFade(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n, int a) {
  if (a == 256) return CopyBytes(out, p, n);
  if (a == 0) return CopyBytes(out, q, n);
  const __m128i zero = _mm_setzero_si128();
  const __m128i wp = _mm_set1_epi16(static_cast<short>(a));
  const __m128i wq = _mm_set1_epi16(static_cast<short>(256 - a));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i vq = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + i));
    __m128i lo = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(vp, zero), wp),
                               _mm_mullo_epi16(_mm_unpacklo_epi8(vq, zero), wq));
    __m128i hi = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(vp, zero), wp),
                               _mm_mullo_epi16(_mm_unpackhi_epi8(vq, zero), wq));
    __m128i r = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
  }
  ScalarCrossFade(out + i, p + i, q + i, n - i, a);
}

void Sse2Masked(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t n,
                bool shortcut) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i ones = _mm_set1_epi8(-1);
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vm = _mm_loadu_si128(reinterpret_cast<const __m128i*>(m + i));
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    if (shortcut && _mm_movemask_epi8(_mm_cmpeq_epi8(vm, zero)) == 0xFFFF) {
      if (out != p) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), vp);
      continue;
    }
    __m128i vq = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + i));
    __m128i vw = _mm_xor_si128(vm, ones);  // 255 − M
    __m128i lo =
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(vp, zero), _mm_unpacklo_epi8(vw, zero)),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(vq, zero), _mm_unpacklo_epi8(vm, zero)));
    __m128i hi =
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(vp, zero), _mm_unpackhi_epi8(vw, zero)),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(vq, zero), _mm_unpackhi_epi8(vm, zero)));
    __m128i r = _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8));
    if (shortcut) {
      // All-ones in each 64-bit half whose mask bytes are all zero.
      __m128i z32 = _mm_cmpeq_epi32(vm, zero);
      __m128i z64 = _mm_and_si128(z32, _mm_shuffle_epi32(z32, _MM_SHUFFLE(2, 3, 0, 1)));
      r = _mm_or_si128(_mm_and_si128(z64, vp), _mm_andnot_si128(z64, r));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), r);
  }
  // Vector steps are whole groups, so the tail's groups line up with the row's.
  ScalarMasked(out + i, p + i, q + i, m + i, n - i, shortcut);
}

void Sse2Scale(uint8_t* out, const uint8_t* p, size_t n, int v) {
  if (v == 256) return CopyBytes(out, p, n);
  // (P × 256 × v) >> 16 is exactly (P × v) >> 8.
  const __m128i zero = _mm_setzero_si128();
  const __m128i wv = _mm_set1_epi16(static_cast<short>(v));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i lo = _mm_mulhi_epu16(_mm_unpacklo_epi8(zero, vp), wv);
    __m128i hi = _mm_mulhi_epu16(_mm_unpackhi_epi8(zero, vp), wv);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
  }
  ScalarScale(out + i, p + i, n - i, v);
}

void Sse2Brighten(uint8_t* out, const uint8_t* p, size_t n, int v) {
  const __m128i vv = _mm_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu8(vp, vv));
  }
  ScalarBrighten(out + i, p + i, n - i, v);
}

void Sse2Darken(uint8_t* out, const uint8_t* p, size_t n, int v) {
  const __m128i vv = _mm_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_subs_epu8(vp, vv));
  }
  ScalarDarken(out + i, p + i, n - i, v);
}

void Sse2Add(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n) {
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i vp = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    __m128i vq = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_adds_epu8(vp, vq));
  }
  ScalarAdd(out + i, p + i, q + i, n - i);
}

constexpr Kernels kSse2Kernels = {Sse2CrossFade, Sse2Masked, Sse2Scale,
                                  Sse2Brighten,  Sse2Darken, Sse2Add};

// --- AVX2 ---
// 32 bytes at a time. The blends use the byte multiply-add with the pixels moved to signed range
// (X' = X − 128): the weights of a pair sum to 256 (cross-fade) or 255 (masked blend), so the
// pair's sum is the exact sum minus 128 × that total, inside a signed 16-bit lane.

// clang (the fuzzing build) ignores GCC's target pragma and takes its own.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

inline __m256i Load256(const uint8_t* at) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
}
inline void Store256(uint8_t* at, __m256i v) {
  _mm256_storeu_si256(reinterpret_cast<__m256i*>(at), v);
}

void Avx2CrossFade(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n, int a) {
  if (a == 256) return CopyBytes(out, p, n);
  if (a == 0) return CopyBytes(out, q, n);
  // Byte pairs (a, 256 − a), both in 1..255 here.
  const __m256i w = _mm256_set1_epi16(static_cast<short>(a | ((256 - a) << 8)));
  const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i vp = _mm256_xor_si256(Load256(p + i), bias);
    __m256i vq = _mm256_xor_si256(Load256(q + i), bias);
    // a × P' + (256 − a) × Q' = sum − 32768, in −32768..32512.
    __m256i lo = _mm256_maddubs_epi16(w, _mm256_unpacklo_epi8(vp, vq));
    __m256i hi = _mm256_maddubs_epi16(w, _mm256_unpackhi_epi8(vp, vq));
    // Arithmetic shift: (sum >> 8) − 128 in −128..127, packed without saturating.
    __m256i r = _mm256_packs_epi16(_mm256_srai_epi16(lo, 8), _mm256_srai_epi16(hi, 8));
    Store256(out + i, _mm256_xor_si256(r, bias));
  }
  Sse2CrossFade(out + i, p + i, q + i, n - i, a);
}

// floor(sum / 256) from r = sum − 32640: the rounding high multiply by 128 gives
// floor((r + 128) / 256), which is floor(sum / 256) − 127, in −127..127.
template <bool kShortcut>
void Avx2MaskedT(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t n) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i ones = _mm256_set1_epi8(-1);
  const __m256i bias = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i k128 = _mm256_set1_epi16(128);
  const __m256i k127 = _mm256_set1_epi8(127);
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i vm = Load256(m + i);
    __m256i vp = Load256(p + i);
    if (kShortcut && _mm256_testz_si256(vm, vm)) {
      if (out != p) Store256(out + i, vp);
      continue;
    }
    __m256i vq = Load256(q + i);
    __m256i vw = _mm256_xor_si256(vm, ones);  // 255 − M
    __m256i sp = _mm256_xor_si256(vp, bias);
    __m256i sq = _mm256_xor_si256(vq, bias);
    // (255 − M) × P' + M × Q' = sum − 32640, in −32640..32385.
    __m256i lo = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(vw, vm), _mm256_unpacklo_epi8(sp, sq));
    __m256i hi = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(vw, vm), _mm256_unpackhi_epi8(sp, sq));
    lo = _mm256_mulhrs_epi16(lo, k128);
    hi = _mm256_mulhrs_epi16(hi, k128);
    __m256i r = _mm256_add_epi8(_mm256_packs_epi16(lo, hi), k127);
    if (kShortcut) r = _mm256_blendv_epi8(r, vp, _mm256_cmpeq_epi64(vm, zero));
    Store256(out + i, r);
  }
  Sse2Masked(out + i, p + i, q + i, m + i, n - i, kShortcut);
}

void Avx2Masked(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m, size_t n,
                bool shortcut) {
  if (shortcut) {
    Avx2MaskedT<true>(out, p, q, m, n);
  } else {
    Avx2MaskedT<false>(out, p, q, m, n);
  }
}

void Avx2Scale(uint8_t* out, const uint8_t* p, size_t n, int v) {
  if (v == 256) return CopyBytes(out, p, n);
  const __m256i zero = _mm256_setzero_si256();
  const __m256i wv = _mm256_set1_epi16(static_cast<short>(v));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i vp = Load256(p + i);
    __m256i lo = _mm256_mulhi_epu16(_mm256_unpacklo_epi8(zero, vp), wv);
    __m256i hi = _mm256_mulhi_epu16(_mm256_unpackhi_epi8(zero, vp), wv);
    Store256(out + i, _mm256_packus_epi16(lo, hi));
  }
  Sse2Scale(out + i, p + i, n - i, v);
}

void Avx2Brighten(uint8_t* out, const uint8_t* p, size_t n, int v) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) Store256(out + i, _mm256_adds_epu8(Load256(p + i), vv));
  Sse2Brighten(out + i, p + i, n - i, v);
}

void Avx2Darken(uint8_t* out, const uint8_t* p, size_t n, int v) {
  const __m256i vv = _mm256_set1_epi8(static_cast<char>(v));
  size_t i = 0;
  for (; i + 32 <= n; i += 32) Store256(out + i, _mm256_subs_epu8(Load256(p + i), vv));
  Sse2Darken(out + i, p + i, n - i, v);
}

void Avx2Add(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t n) {
  size_t i = 0;
  for (; i + 32 <= n; i += 32) Store256(out + i, _mm256_adds_epu8(Load256(p + i), Load256(q + i)));
  Sse2Add(out + i, p + i, q + i, n - i);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

constexpr Kernels kAvx2Kernels = {Avx2CrossFade, Avx2Masked, Avx2Scale,
                                  Avx2Brighten,  Avx2Darken, Avx2Add};

const Kernels& TableFor(BlendIsa isa) {
  switch (isa) {
    case BlendIsa::kAvx2:
      return kAvx2Kernels;
    case BlendIsa::kSse2:
      return kSse2Kernels;
    case BlendIsa::kScalar:
      break;
  }
  return kScalarKernels;
}

struct Active {
  BlendIsa isa;
  const Kernels* kernels;
};

Active& ActiveState() {
  static Active active{BestBlendIsa(), &TableFor(BestBlendIsa())};
  return active;
}

const Kernels& K() { return *ActiveState().kernels; }

bool SameSize(const Picture& a, const Picture& b) {
  return a.width() == b.width() && a.height() == b.height();
}

size_t RowBytes(const Picture& p) { return static_cast<size_t>(p.stride()) / 8 * 8; }

}  // namespace

BlendIsa BestBlendIsa() {
  static const BlendIsa best = __builtin_cpu_supports("avx2") ? BlendIsa::kAvx2 : BlendIsa::kSse2;
  return best;
}

BlendIsa ActiveBlendIsa() { return ActiveState().isa; }

bool SetBlendIsa(BlendIsa isa) {
  if (isa == BlendIsa::kAvx2 && BestBlendIsa() != BlendIsa::kAvx2) return false;
  ActiveState() = {isa, &TableFor(isa)};
  return true;
}

FadeWeights SetFadeWeights(int a) { return FadeWeights{std::clamp(a, 0, 256)}; }

void CrossFadeRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups, int a) {
  K().cross_fade(out, p, q, groups * 8, std::clamp(a, 0, 256));
}

void CrossFadeRowPreset(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups,
                        const FadeWeights& weights) {
  K().cross_fade(out, p, q, groups * 8, std::clamp(weights.a, 0, 256));
}

void MaskedBlendRow(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                    size_t groups) {
  K().masked(out, p, q, m, groups * 8, true);
}

void MaskedBlendBytes(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                      size_t count) {
  K().masked(out, p, q, m, count, false);
}

void ScaleRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  K().scale(out, p, groups * 8, std::clamp(v, 0, 256));
}

void BrightenRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  K().brighten(out, p, groups * 8, std::clamp(v, 0, 255));
}

void DarkenRow(uint8_t* out, const uint8_t* p, size_t groups, int v) {
  K().darken(out, p, groups * 8, std::clamp(v, 0, 255));
}

void AddRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups) {
  K().add(out, p, q, groups * 8);
}

bool CrossFade(Picture& out, const Picture& p, const Picture& q, int a) {
  if (!SameSize(out, p) || !SameSize(out, q)) return false;
  a = std::clamp(a, 0, 256);
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y)
    k.cross_fade(out.Row(y), p.Row(y), q.Row(y), RowBytes(out), a);
  return true;
}

bool CrossFadeTile(Picture& out, const Picture& p, const Picture& q, int x, int y, int a) {
  if (!SameSize(out, p) || !SameSize(out, q)) return false;
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = static_cast<int>(std::min<int64_t>(int64_t{x} + kFadeTileWidth, out.width()));
  int y1 = static_cast<int>(std::min<int64_t>(int64_t{y} + kFadeTileHeight, out.height()));
  if (x0 >= x1 || y0 >= y1) return true;
  a = std::clamp(a, 0, 256);
  const size_t bytes = static_cast<size_t>(x1 - x0) * 3 / 8 * 8;
  const Kernels& k = K();
  for (int r = y0; r < y1; ++r)
    k.cross_fade(out.Pixel(x0, r), p.Pixel(x0, r), q.Pixel(x0, r), bytes, a);
  return true;
}

bool MaskedBlend(Picture& out, const Picture& p, const Picture& q, const Picture& m) {
  if (!SameSize(out, p) || !SameSize(out, q) || !SameSize(out, m)) return false;
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y) {
    k.masked(out.Row(y), p.Row(y), q.Row(y), m.Row(y), RowBytes(out), false);
  }
  return true;
}

bool Scale(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  v = std::clamp(v, 0, 256);
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y) k.scale(out.Row(y), p.Row(y), RowBytes(out), v);
  return true;
}

bool Brighten(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  v = std::clamp(v, 0, 255);
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y) k.brighten(out.Row(y), p.Row(y), RowBytes(out), v);
  return true;
}

bool Darken(Picture& out, const Picture& p, int v) {
  if (!SameSize(out, p)) return false;
  v = std::clamp(v, 0, 255);
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y) k.darken(out.Row(y), p.Row(y), RowBytes(out), v);
  return true;
}

bool Add(Picture& out, const Picture& p, const Picture& q) {
  if (!SameSize(out, p) || q.width() < p.width() || q.height() < p.height()) return false;
  const Kernels& k = K();
  for (int y = 0; y < out.height(); ++y) k.add(out.Row(y), p.Row(y), q.Row(y), RowBytes(out));
  return true;
}

bool Pixelate(Picture& out, const Picture& src, int s) {
  if (!SameSize(out, src)) return false;
  s = std::max(s, 1);
  const int w = out.width(), h = out.height();
  const size_t row_bytes = static_cast<size_t>(out.stride());
  std::vector<uint8_t> line(row_bytes);
  for (int by = 0; by < h; by += s) {
    // One output line per block row, from the top-left pixels; then copied down the block.
    const uint8_t* from = src.Row(by);
    for (int bx = 0; bx < w; bx += s) {
      const int end = std::min(bx + s, w);
      for (int x = bx; x < end; ++x)
        std::memcpy(&line[static_cast<size_t>(x) * 3], from + bx * 3, 3);
    }
    const int rows = std::min(s, h - by);
    for (int r = 0; r < rows; ++r) std::memcpy(out.Row(by + r), line.data(), row_bytes);
  }
  return true;
}

}  // namespace quill
