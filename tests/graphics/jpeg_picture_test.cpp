#include "graphics/jpeg_picture.h"

#include <gtest/gtest.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

// A JPEG of `components` interleaved samples per pixel (1 gray, 3 RGB, 4 CMYK), quality 100, no
// chroma subsampling.
Bytes MakeJpeg(int width, int height, int components, const Bytes& samples) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  for (int c = 0; c < cinfo.num_components; ++c) {
    cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
  }
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data()) +
                   static_cast<size_t>(cinfo.next_scanline) * width * components;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Left half red, right half blue, given as RGB samples.
Bytes RedBlue(int width, int height) {
  Bytes rgb;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      bool left = x < width / 2;
      rgb.insert(rgb.end(),
                 {static_cast<uint8_t>(left ? 255 : 0), 0, static_cast<uint8_t>(left ? 0 : 255)});
    }
  }
  return rgb;
}

void ExpectNear(const uint8_t* bgr, int b, int g, int r, const char* what) {
  EXPECT_NEAR(bgr[0], b, 6) << what;
  EXPECT_NEAR(bgr[1], g, 6) << what;
  EXPECT_NEAR(bgr[2], r, 6) << what;
}

TEST(DecodeJpegPicture, ColourComesOutBlueGreenRed) {
  Bytes jpeg = MakeJpeg(16, 8, 3, RedBlue(16, 8));
  ASSERT_TRUE(LooksLikeJpeg(jpeg));
  Picture target(800, 600);
  PictureDecodeResult r = DecodeJpegPicture(jpeg, target);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_TRUE(r.target_written);
  ASSERT_EQ(target.width(), 16);
  ASSERT_EQ(target.height(), 8);
  ExpectNear(target.Pixel(1, 1), 0, 0, 255, "red half");
  ExpectNear(target.Pixel(14, 6), 255, 0, 0, "blue half");
}

TEST(DecodeJpegPicture, GrayscaleBecomesEqualChannels) {
  const int w = 24, h = 16;
  Bytes gray(w * h);
  for (int i = 0; i < w * h; ++i) gray[i] = static_cast<uint8_t>((i % w) * 10);
  Picture target;
  PictureDecodeResult r = DecodeJpegPicture(MakeJpeg(w, h, 1, gray), target);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(target.width(), w);
  ASSERT_EQ(target.height(), h);
  for (int x = 0; x < w; ++x) {
    const uint8_t* p = target.Pixel(x, 5);
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_NEAR(p[0], x * 10, 4) << "x " << x;
  }
}

TEST(DecodeJpegPicture, AdobeCmykIsConverted) {
  // Adobe files store inverted CMYK: (255, 0, 0, 255) is red.
  Bytes cmyk;
  for (int i = 0; i < 8 * 8; ++i) cmyk.insert(cmyk.end(), {255, 0, 0, 255});
  Picture target;
  PictureDecodeResult r = DecodeJpegPicture(MakeJpeg(8, 8, 4, cmyk), target);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(target.width(), 8);
  ExpectNear(target.Pixel(3, 3), 0, 0, 255, "red");
}

TEST(DecodeJpegPicture, OddSizesAndSameSizedTargets) {
  Bytes jpeg = MakeJpeg(13, 7, 3, RedBlue(13, 7));
  Picture target(13, 7);
  target.Fill(9, 9, 9);
  ASSERT_TRUE(DecodeJpegPicture(jpeg, target).ok);
  EXPECT_EQ(target.width(), 13);
  EXPECT_EQ(target.height(), 7);
  ExpectNear(target.Pixel(0, 6), 0, 0, 255, "bottom-left");
  ExpectNear(target.Pixel(12, 0), 255, 0, 0, "top-right");
}

// Offset of the frame header's height field (after FF C0, length and precision).
size_t FrameSizeOffset(const Bytes& jpeg) {
  for (size_t i = 0; i + 1 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
  }
  return 0;
}

TEST(DecodeJpegPicture, UnreadableHeadersLeaveTheTargetAlone) {
  const Bytes good = MakeJpeg(16, 16, 3, RedBlue(16, 16));
  Bytes giant = good;
  size_t at = FrameSizeOffset(giant);
  ASSERT_NE(at, 0u);
  giant[at] = giant[at + 1] = giant[at + 2] = giant[at + 3] = 0xFF;  // 65535 x 65535
  Bytes noise(300);
  std::mt19937 rng(5);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  struct Case {
    const char* what;
    Bytes file;
  };
  const Case cases[] = {
      {"empty", {}},
      {"start marker only", {0xFF, 0xD8}},
      {"noise", noise},
      {"cut inside the header", Bytes(good.begin(), good.begin() + 40)},
      {"picture too large", giant},
  };
  for (const Case& c : cases) {
    Picture target(5, 3);
    target.Fill(1, 2, 3);
    const Picture before = target;
    PictureDecodeResult r = DecodeJpegPicture(c.file, target);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_FALSE(r.target_written) << c.what;
    EXPECT_NE(r.error, "") << c.what;
    EXPECT_EQ(target, before) << c.what;
  }
}

TEST(DecodeJpegPicture, DamagedScansAreReportedAndKeepTheSize) {
  // Flat first rows, then noise, so that most of the file is scan data.
  const int w = 64, h = 64;
  Bytes samples = RedBlue(w, h);
  std::mt19937 noise(3);
  for (size_t i = size_t{w} * 8 * 3; i < samples.size(); ++i)
    samples[i] = static_cast<uint8_t>(noise());
  const Bytes good = MakeJpeg(w, h, 3, samples);
  Bytes cut(good.begin(), good.begin() + good.size() * 6 / 10);
  ASSERT_GT(good.size(), 4000u);
  Bytes scrambled = good;
  std::mt19937 rng(9);
  for (size_t i = scrambled.size() / 2; i < scrambled.size() - 2; i += 7) {
    scrambled[i] = static_cast<uint8_t>(rng());
  }
  Bytes wrong_table = good;
  // A restart marker in the middle of the scan, where none was declared.
  wrong_table[good.size() / 2] = 0xFF;
  wrong_table[good.size() / 2 + 1] = 0xD3;
  for (const Bytes* file : {&cut, &scrambled, &wrong_table}) {
    Picture target(3, 3);
    PictureDecodeResult r = DecodeJpegPicture(*file, target);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error, "");
    EXPECT_TRUE(r.target_written);
    EXPECT_EQ(target.width(), w);
    EXPECT_EQ(target.height(), h);
  }
  // What was decoded before the cut is the picture.
  Picture target;
  DecodeJpegPicture(cut, target);
  ExpectNear(target.Pixel(2, 2), 0, 0, 255, "top-left of a cut file");
}

TEST(DecodeJpegPicture, RandomDamageNeverAborts) {
  // libjpeg's fatal errors must come back as results; the sanitizer run checks for leaks.
  const Bytes good = MakeJpeg(32, 24, 3, RedBlue(32, 24));
  std::mt19937 rng(31);
  for (int round = 0; round < 400; ++round) {
    Bytes file = good;
    int flips = 1 + rng() % 6;
    for (int f = 0; f < flips; ++f) file[rng() % file.size()] = static_cast<uint8_t>(rng());
    if (rng() % 3 == 0) file.resize(rng() % file.size());
    Picture target(2, 2);
    PictureDecodeResult r = DecodeJpegPicture(file, target);
    if (!r.ok) {
      EXPECT_NE(r.error, "");
    }
    if (!r.target_written) {
      EXPECT_EQ(target.width(), 2);
    } else {
      EXPECT_GT(target.width(), 0);
      EXPECT_EQ(target.bytes().size(), size_t(target.width()) * target.height() * 3);
    }
  }
}

}  // namespace
}  // namespace quill
