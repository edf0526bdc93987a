#include "graphics/delta_kernels.h"

#include <immintrin.h>

#include "graphics/blend_kernels.h"

namespace quill {

namespace reference {

void DeltaDecode(uint8_t* p, size_t n) {
  uint8_t b = 0, g = 0, r = 0;
  size_t i = 0;
  for (; i + 3 <= n; i += 3) {
    b = static_cast<uint8_t>(b + p[i]);
    g = static_cast<uint8_t>(g + p[i + 1]);
    r = static_cast<uint8_t>(r + p[i + 2]);
    p[i] = b;
    p[i + 1] = g;
    p[i + 2] = r;
  }
  if (i < n) p[i] = static_cast<uint8_t>(b + p[i]), ++i;
  if (i < n) p[i] = static_cast<uint8_t>(g + p[i]);
}

}  // namespace reference

namespace {

// Finishes the bytes from `from` on, after the vector part has summed everything before it.
void DeltaTail(uint8_t* p, size_t from, size_t n) {
  for (size_t k = from < 3 ? 3 : from; k < n; ++k) p[k] = static_cast<uint8_t>(p[k] + p[k - 3]);
}

// Each vector is summed on its own in log steps (shifts by 3, 6 and 12 bytes reach the 6 bytes of
// a channel in 16), then gets the running bytes of the vector before it, repeated so that each
// byte lines up with its channel. Those are the last three bytes of the vector before, and the sum
// is linear: the next running bytes are this vector's own last three, repeated, plus the running
// bytes it got, moved on by one channel (16 bytes are one more than five pixels). Only that move
// and one add wait on the vector before.
inline __m128i RepeatLastPixel(__m128i x) {
  __m128i t = _mm_srli_si128(x, 13);
  t = _mm_or_si128(t, _mm_slli_si128(t, 3));
  t = _mm_or_si128(t, _mm_slli_si128(t, 6));
  return _mm_or_si128(t, _mm_slli_si128(t, 12));
}

void Sse2DeltaDecode(uint8_t* p, size_t n) {
  __m128i carry = _mm_setzero_si128();
  size_t i = 0;
  for (; i + 16 <= n; i += 16) {
    __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    x = _mm_add_epi8(x, _mm_slli_si128(x, 3));
    x = _mm_add_epi8(x, _mm_slli_si128(x, 6));
    x = _mm_add_epi8(x, _mm_slli_si128(x, 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_add_epi8(x, carry));
    // carry repeats with period 3, so byte j + 1 is the channel byte j needs next; the last byte
    // takes byte 1 (the same channel as byte 16 would be).
    __m128i moved = _mm_srli_si128(carry, 1);
    moved = _mm_or_si128(moved, _mm_slli_si128(moved, 15));
    carry = _mm_add_epi8(RepeatLastPixel(x), moved);
  }
  DeltaTail(p, i, n);
}

// clang (the fuzzing build) ignores GCC's target pragma and takes its own.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

// Per 32 bytes: each 128-bit lane is summed as in SSE2, the low lane's last three bytes are added
// to the high lane, then the running bytes of the vector before are added. A lane is 16 bytes,
// one more than five pixels, so the high lane's channels start one byte later in the pattern. As
// in SSE2 the next running bytes are this vector's own last three, repeated, plus the running bytes
// moved on, here by two channels within each lane (32 bytes are two more than ten pixels).
void Avx2DeltaDecode(uint8_t* p, size_t n) {
  const __m256i from_low =
      _mm256_setr_epi8(13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 13, 14, 15,
                       13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13);
  const __m256i from_high =
      _mm256_setr_epi8(13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13,
                       14, 15, 13, 14, 15, 13, 14, 15, 13, 14, 15, 13, 14);
  const __m256i move_on = _mm256_setr_epi8(2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 13, 14,
                                           2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 13, 14);
  __m256i carry = _mm256_setzero_si256();
  size_t i = 0;
  for (; i + 32 <= n; i += 32) {
    __m256i x = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
    x = _mm256_add_epi8(x, _mm256_slli_si256(x, 3));
    x = _mm256_add_epi8(x, _mm256_slli_si256(x, 6));
    x = _mm256_add_epi8(x, _mm256_slli_si256(x, 12));
    // Low lane into the high one (the low lane of the shuffle's input is zero).
    __m256i low_up = _mm256_permute2x128_si256(x, x, 0x08);
    x = _mm256_add_epi8(x, _mm256_shuffle_epi8(low_up, from_low));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), _mm256_add_epi8(x, carry));
    __m256i own = _mm256_shuffle_epi8(_mm256_permute2x128_si256(x, x, 0x11), from_high);
    carry = _mm256_add_epi8(own, _mm256_shuffle_epi8(carry, move_on));
  }
  DeltaTail(p, i, n);
}

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

}  // namespace

void DeltaDecode(uint8_t* bytes, size_t n) {
  switch (ActiveBlendIsa()) {
    case BlendIsa::kAvx2:
      return Avx2DeltaDecode(bytes, n);
    case BlendIsa::kSse2:
      return Sse2DeltaDecode(bytes, n);
    case BlendIsa::kScalar:
      break;
  }
  reference::DeltaDecode(bytes, n);
}

}  // namespace quill
