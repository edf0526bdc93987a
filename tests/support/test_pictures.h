#pragma once
// Small pictures for tests: solid colours, packed members, and pixel reads that print well.
#include <cstdint>
#include <ostream>
#include <vector>

#include "common/picture.h"
#include "tools/picture_encoder.h"

namespace quill::test {

Picture Solid(int w, int h, uint8_t b, uint8_t g, uint8_t r);
// The picture as a packed-picture member; fails the current test if it cannot be encoded.
std::vector<uint8_t> Packed(const Picture& picture, PackedPictureOptions options = {});

struct Bgr {
  int b = 0, g = 0, r = 0;
  bool operator==(const Bgr&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Bgr& c);
Bgr At(const Picture& picture, int x, int y);

}  // namespace quill::test
