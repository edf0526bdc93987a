#pragma once
// Per-byte blend kernels on 24-bit pictures, vectorised with a runtime choice of instruction set.
// Every function here gives exactly the bytes of its twin in blend_reference.h.
//
// Row kernels take a count of 8-byte groups and touch groups × 8 bytes. The picture kernels run
// the row kernel over every row with (3 × width) div 8 groups, so the bytes of a row beyond its
// last whole group are left alone (an 800-pixel row is exactly 300 groups). An output may be the
// very same buffer as any input; buffers must not otherwise overlap.
#include <cstddef>
#include <cstdint>

#include "common/picture.h"

namespace quill {

// Instruction sets the fast kernels can run on; kScalar runs the references.
enum class BlendIsa { kScalar, kSse2, kAvx2 };

// The best set this processor supports (chosen at start-up).
BlendIsa BestBlendIsa();
BlendIsa ActiveBlendIsa();
// Switches every kernel to `isa` (tests and benchmarks); false, and no change, when the
// processor lacks it.
bool SetBlendIsa(BlendIsa isa);

// Cross-fade weights for a in 0..256 (values outside are clamped), set once and reused for many
// rows: out = (a × P + (256 − a) × Q) >> 8.
struct FadeWeights {
  int a = 0;
};
FadeWeights SetFadeWeights(int a);

// --- Row kernels --------------------------------------------------------------------------------

// out = (a × P + (256 − a) × Q) >> 8; a is clamped to 0..256.
void CrossFadeRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups, int a);
// The same with weights set beforehand.
void CrossFadeRowPreset(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups,
                        const FadeWeights& weights);
// out = (P × (255 − M) + Q × M) >> 8; a group whose 8 mask bytes are all 0 gives P unchanged.
void MaskedBlendRow(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                    size_t groups);
// The plain per-byte masked blend over `count` bytes (any count), with no shortcut: a zero mask
// byte gives (P × 255) >> 8.
void MaskedBlendBytes(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                      size_t count);
// out = (P × v) >> 8; v is clamped to 0..256.
void ScaleRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
// out = min(255, P + v) and out = max(0, P − v); v is clamped to 0..255.
void BrightenRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
void DarkenRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
// out = min(255, P + Q).
void AddRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups);

// --- Picture kernels ----------------------------------------------------------------------------
// out and the inputs must have the same size (out may be one of them); otherwise nothing is
// written and the call returns false.

// Cross-fade of whole pictures (the full screen).
bool CrossFade(Picture& out, const Picture& p, const Picture& q, int a);
// Cross-fade of one 80 × 60 tile whose top-left pixel is (x, y), clipped to the pictures.
bool CrossFadeTile(Picture& out, const Picture& p, const Picture& q, int x, int y, int a);
inline constexpr int kFadeTileWidth = 80;
inline constexpr int kFadeTileHeight = 60;
// Masked blend of whole pictures, without the all-zero-mask shortcut (the full-screen kernel).
bool MaskedBlend(Picture& out, const Picture& p, const Picture& q, const Picture& m);
bool Scale(Picture& out, const Picture& p, int v);
bool Brighten(Picture& out, const Picture& p, int v);
bool Darken(Picture& out, const Picture& p, int v);
// Over the rows and width of P; Q may be larger than P (its top-left part is used).
bool Add(Picture& out, const Picture& p, const Picture& q);
// Fills every s × s block of out with the block's top-left pixel of src (blocks at the right and
// bottom edges are cut); s below 1 counts as 1. out may be src.
bool Pixelate(Picture& out, const Picture& src, int s);

}  // namespace quill
