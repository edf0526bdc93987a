#include "tests/support/bitmap_file.h"

namespace quill::test {

std::string BitmapFile(const Picture& picture) {
  const int w = picture.width(), h = picture.height();
  const int row = (w * 3 + 3) & ~3;
  const int size = 54 + row * h;
  std::string f(static_cast<size_t>(size), '\0');
  auto put32 = [&](int at, int v) {
    for (int i = 0; i < 4; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
  };
  f[0] = 'B';
  f[1] = 'M';
  put32(2, size);
  put32(10, 54);  // the pixels' offset
  put32(14, 40);  // the info header's size
  put32(18, w);
  put32(22, h);
  f[26] = 1;   // planes
  f[28] = 24;  // bits a pixel
  for (int y = 0; y < h; ++y) {
    const uint8_t* src = picture.Row(h - 1 - y);
    for (int i = 0; i < w * 3; ++i) f[54 + y * row + i] = static_cast<char>(src[i]);
  }
  return f;
}

}  // namespace quill::test
