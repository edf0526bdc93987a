// partsload and ptset through a headless run: a packed picture and a JPEG from the game's
// archives reach the display pixel for pixel.
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/png_io.h"
#include "graphics/jpeg_picture.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tools/picture_encoder.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A JPEG of the picture's pixels (quality 90, the encoder's usual subsampling).
Bytes EncodeJpeg(const Picture& p) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = p.width();
  cinfo.image_height = p.height();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 90, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> rgb(static_cast<size_t>(p.width()) * 3);
  while (cinfo.next_scanline < cinfo.image_height) {
    const uint8_t* row = p.Row(static_cast<int>(cinfo.next_scanline));
    for (int x = 0; x < p.width(); ++x) {
      rgb[x * 3] = row[x * 3 + 2];
      rgb[x * 3 + 1] = row[x * 3 + 1];
      rgb[x * 3 + 2] = row[x * 3];
    }
    JSAMPROW r = rgb.data();
    jpeg_write_scanlines(&cinfo, &r, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// Colour ramps with a cyan (transparent) left third when `cyan` is set.
Picture Pattern(int w, int h, int seed, bool cyan) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      if (cyan && x < w / 3) {
        px[0] = 255, px[1] = 255, px[2] = 0;
        continue;
      }
      px[0] = static_cast<uint8_t>(x * 3 + seed);
      px[1] = static_cast<uint8_t>(y * 5 + seed * 2);
      px[2] = static_cast<uint8_t>((x + y) * 2 + seed * 3);
    }
  }
  return p;
}

bool IsCyan(const uint8_t* px) { return px[0] == 255 && px[1] == 255 && px[2] == 0; }

TEST(PicturesRun, PartsloadAndPtsetShowBothKindsOfPicture) {
  test::TempDir dir;
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  const Picture packed = Pattern(64, 48, 7, true);
  const Picture photo_source = Pattern(80, 40, 50, false);
  std::string error;
  auto packed_bytes = EncodePackedPicture(packed, {}, &error);
  ASSERT_TRUE(packed_bytes) << error;
  Bytes jpeg = EncodeJpeg(photo_source);
  Picture photo;
  ASSERT_TRUE(DecodeJpegPicture(jpeg, photo).ok);

  // The JPEG first; the packed picture over it, its cyan third letting the JPEG through; then
  // an inner piece of the packed picture elsewhere, its corners given as expressions.
  test::FixtureGame game(dir / "game");
  game.Resource("mg_gra.qlm", "PARTS1", *packed_bytes)
      .Resource("mg_gjp.qlm", "PHOTO", jpeg)
      .Script("main",
              "*partsload photo\n"
              "*ptset 0,0,80,40,100,60\n"
              "*partsload parts1\n"
              "*ptset 0,0,64,48,110,50\n"
              "*ptset 30,10,30+30,10*4,400,300\n"
              "\\\n")
      .Write();
  std::ofstream(dir / "run.txt") << "1000 shot out/shot.png\n1100 quit\n";
  auto r = test::RunProgram("quill", {"--game", game.folder().string(), "--headless", "--scenario",
                                      (dir / "run.txt").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto shot = ReadPng(dir / "out/shot.png");
  ASSERT_TRUE(shot);

  // What the three ptsets leave, where they drew (the rest of the screen is not theirs).
  Picture expected = *shot;
  auto put = [&](const Picture& src, int sx, int sy, int w, int h, int dx, int dy) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const uint8_t* s = src.Pixel(sx + x, sy + y);
        if (IsCyan(s)) continue;
        uint8_t* d = expected.Pixel(dx + x, dy + y);
        d[0] = s[0], d[1] = s[1], d[2] = s[2];
      }
    }
  };
  put(photo, 0, 0, 80, 40, 100, 60);
  put(packed, 0, 0, 64, 48, 110, 50);
  put(packed, 30, 10, 30, 30, 400, 300);
  // Inside the rectangles the shot must equal the pictures; the packed picture's cyan third
  // shows the JPEG (or what lay beneath it) unchanged.
  struct Area {
    int x, y, w, h;
  };
  int wrong = 0;
  for (Area a : {Area{100, 60, 80, 40}, Area{110, 50, 64, 48}, Area{400, 300, 30, 30}}) {
    for (int y = a.y; y < a.y + a.h; ++y) {
      for (int x = a.x; x < a.x + a.w; ++x) {
        const uint8_t* got = shot->Pixel(x, y);
        const uint8_t* want = expected.Pixel(x, y);
        wrong += got[0] != want[0] || got[1] != want[1] || got[2] != want[2];
      }
    }
  }
  // Where the packed picture is cyan the JPEG must show, not the cyan.
  const uint8_t* through = shot->Pixel(115, 70);
  const uint8_t* photo_px = photo.Pixel(15, 10);
  EXPECT_TRUE(through[0] == photo_px[0] && through[1] == photo_px[1] && through[2] == photo_px[2]);
  // A direct check that the comparison is against the pictures, not the shot itself.
  const uint8_t* solid = shot->Pixel(110 + 40, 50 + 20);
  const uint8_t* packed_px = packed.Pixel(40, 20);
  EXPECT_TRUE(solid[0] == packed_px[0] && solid[1] == packed_px[1] && solid[2] == packed_px[2]);
  if (wrong != 0) {
    // Kept for a look: the expected picture and the actual one.
    fs::path keep = fs::temp_directory_path() / "quill-pictures-e2e";
    fs::create_directories(keep);
    WritePng(keep / "pictures-expected.png", expected, &error);
    WritePng(keep / "pictures-actual.png", *shot, &error);
    ADD_FAILURE() << wrong << " pixels differ; see " << (keep / "pictures-actual.png").string();
  }
}

}  // namespace
}  // namespace quill
