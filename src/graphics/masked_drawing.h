#pragma once
// Drawing a picture through a mask: per byte, out = (d × (255 − m) + s × m) >> 8 with d the
// destination, s the picture and m the mask byte (a mask is a 24-bit grey picture, 255 opaque).
// Rows are blended in 8-byte groups; a group whose mask bytes are all 0 leaves the destination
// exactly as it was.
#include "common/picture.h"

namespace quill {

// Draws `picture` with its top-left corner at (x, y), clipped to dest. The mask has the
// picture's size (should they differ, only the area both cover is drawn). Of each row, the
// first (w div 8) × 24 bytes go in groups; the 3 × (w mod 8) bytes after them are blended one
// by one, so a zero mask byte there still darkens the destination by one level.
void DrawMasked(Picture& dest, const Picture& picture, int x, int y, const Picture& mask);

// A picture whose left half (width div 2) is the image and right half the mask.
void DrawMaskedPair(Picture& dest, int x, int y, const Picture& picture);

// A picture whose upper half (height div 2) is the image and lower half the mask. Not clipped:
// nothing is drawn unless the image lies inside dest. Each row covers (3 × width) div 8 groups;
// the bytes after the last whole group are not drawn.
void DrawMaskedStacked(Picture& dest, int x, int y, const Picture& picture);

}  // namespace quill
