#pragma once
// Scalar blend kernels: the integer formulas stated plainly, one byte at a time. They define what
// the fast kernels of blend_kernels.h must produce, and run when no vector unit is chosen.
// Same contracts as the functions of the same names in blend_kernels.h.
#include <cstddef>
#include <cstdint>

#include "common/picture.h"

namespace quill::reference {

void CrossFadeRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups, int a);
void MaskedBlendRow(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                    size_t groups);
void MaskedBlendBytes(uint8_t* out, const uint8_t* p, const uint8_t* q, const uint8_t* m,
                      size_t count);
void ScaleRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
void BrightenRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
void DarkenRow(uint8_t* out, const uint8_t* p, size_t groups, int v);
void AddRow(uint8_t* out, const uint8_t* p, const uint8_t* q, size_t groups);

bool CrossFade(Picture& out, const Picture& p, const Picture& q, int a);
bool CrossFadeTile(Picture& out, const Picture& p, const Picture& q, int x, int y, int a);
bool MaskedBlend(Picture& out, const Picture& p, const Picture& q, const Picture& m);
bool Scale(Picture& out, const Picture& p, int v);
bool Brighten(Picture& out, const Picture& p, int v);
bool Darken(Picture& out, const Picture& p, int v);
bool Add(Picture& out, const Picture& p, const Picture& q);
bool Pixelate(Picture& out, const Picture& src, int s);

}  // namespace quill::reference
