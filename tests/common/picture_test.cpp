#include "common/picture.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

// A picture whose every pixel tells its position: (x, y, 7).
Picture Numbered(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x);
      px[1] = static_cast<uint8_t>(y);
      px[2] = 7;
    }
  return p;
}

TEST(Picture, CreateIsBlackAndTightlyPacked) {
  Picture p(5, 3);
  EXPECT_EQ(p.bytes().size(), 5u * 3 * 3);
  EXPECT_EQ(p.stride(), 15);
  for (uint8_t b : p.bytes()) EXPECT_EQ(b, 0);
}

TEST(Picture, ResizeKeepsTheTopLeftPart) {
  Picture p = Numbered(4, 4);
  p.Resize(6, 2);
  EXPECT_EQ(p.width(), 6);
  EXPECT_EQ(p.height(), 2);
  EXPECT_EQ(p.Pixel(3, 1)[0], 3);
  EXPECT_EQ(p.Pixel(3, 1)[1], 1);
  EXPECT_EQ(p.Pixel(5, 1)[2], 0);  // new area is black
}

TEST(Picture, FillRectClips) {
  Picture p(4, 4);
  p.FillRect({-2, 2, 4, 10}, 1, 2, 3);
  EXPECT_EQ(p.Pixel(0, 3)[0], 1);
  EXPECT_EQ(p.Pixel(1, 2)[2], 3);
  EXPECT_EQ(p.Pixel(2, 2)[0], 0);
  EXPECT_EQ(p.Pixel(0, 1)[0], 0);
}

struct CopyCase {
  const char* what;
  int dx, dy, sx, sy, w, h;
  int first_x, first_y;   // destination pixel that receives source (src_x, src_y)
  int src_x, src_y;
  int copied;             // number of destination pixels changed
};

TEST(Picture, CopyRectClipsAgainstBothPictures) {
  const CopyCase cases[] = {
      {"inside", 1, 1, 0, 0, 2, 2, 1, 1, 0, 0, 4},
      {"negative destination", -1, -1, 0, 0, 3, 3, 0, 0, 1, 1, 4},
      {"negative source", 0, 0, -2, 0, 3, 1, 2, 0, 0, 0, 1},
      {"past the right edge", 3, 0, 0, 0, 5, 1, 3, 0, 0, 0, 1},
      {"source too small", 0, 0, 2, 2, 9, 9, 0, 0, 2, 2, 4},
      {"fully outside", 10, 10, 0, 0, 3, 3, -1, -1, 0, 0, 0},
      {"zero size", 0, 0, 0, 0, 0, 5, -1, -1, 0, 0, 0},
  };
  for (const CopyCase& c : cases) {
    Picture src = Numbered(4, 4);
    Picture dst(4, 4);
    dst.Fill(200, 200, 200);
    CopyRect(dst, c.dx, c.dy, src, c.sx, c.sy, c.w, c.h);
    int changed = 0;
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) changed += dst.Pixel(x, y)[2] == 7;
    EXPECT_EQ(changed, c.copied) << c.what;
    if (c.first_x >= 0) {
      EXPECT_EQ(dst.Pixel(c.first_x, c.first_y)[0], c.src_x) << c.what;
      EXPECT_EQ(dst.Pixel(c.first_x, c.first_y)[1], c.src_y) << c.what;
    }
  }
}

}  // namespace
}  // namespace quill
