// Bitmap files: what decodes, and what is refused without reading past the bytes.
#include "common/bmp_file.h"

#include <gtest/gtest.h>

#include "tests/support/bitmap_file.h"
#include "tests/support/test_pictures.h"

namespace quill::test {
namespace {

std::span<const uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

TEST(BmpFileTest, DecodesTopRowFirstInBlueGreenRed) {
  Picture p(5, 3);  // rows of 15 bytes, padded to 16
  p.Fill(10, 20, 30);
  p.FillRect({4, 0, 1, 1}, 200, 100, 50);
  std::string file = BitmapFile(p);
  std::optional<Picture> decoded = DecodeBmp(Bytes(file));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, p);
}

TEST(BmpFileTest, RefusesWhatIsNotAWholeBitmap) {
  Picture p(8, 8);
  p.Fill(1, 2, 3);
  std::string file = BitmapFile(p);
  std::string huge = file;
  huge[18] = huge[19] = huge[20] = 0x7F;  // a width of two billion
  std::string png_like = file;
  png_like[0] = '\x89';
  const std::string cases[] = {"", "BM", file.substr(0, 30), huge, png_like};
  for (const std::string& c : cases) {
    std::string error;
    EXPECT_FALSE(DecodeBmp(Bytes(c), &error)) << c.size();
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace quill::test
