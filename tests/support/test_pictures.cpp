#include "tests/support/test_pictures.h"

#include <gtest/gtest.h>

namespace quill::test {

Picture Solid(int w, int h, uint8_t b, uint8_t g, uint8_t r) {
  Picture p(w, h);
  p.Fill(b, g, r);
  return p;
}

std::vector<uint8_t> Packed(const Picture& picture, PackedPictureOptions options) {
  auto bytes = EncodePackedPicture(picture, options);
  EXPECT_TRUE(bytes);
  return bytes ? *bytes : std::vector<uint8_t>();
}

std::ostream& operator<<(std::ostream& out, const Bgr& c) {
  return out << "(" << c.b << "," << c.g << "," << c.r << ")";
}

Bgr At(const Picture& picture, int x, int y) {
  const uint8_t* q = picture.Pixel(x, y);
  return {q[0], q[1], q[2]};
}

}  // namespace quill::test
