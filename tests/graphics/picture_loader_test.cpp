#include "graphics/picture_loader.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <map>
#include <string>
#include <vector>

#include "common/file_util.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;
using test::Packed;
using test::Solid;

Bytes Jpeg(const Picture& p) {
  Bytes rgb;
  for (size_t i = 0; i < p.bytes().size(); i += 3) {
    rgb.insert(rgb.end(), {p.bytes()[i + 2], p.bytes()[i + 1], p.bytes()[i]});
  }
  Bytes out;
  stbi_write_jpg_to_func(
      [](void* context, void* data, int size) {
        auto* o = static_cast<Bytes*>(context);
        o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &out, p.width(), p.height(), 3, rgb.data(), 100);
  return out;
}

class PictureLoaderTest : public ::testing::Test {
 protected:
  // Writes an archive of the members into the temporary folder and installs it.
  void Archive(PictureArchiveRole role, const std::string& file,
               const std::vector<ArchiveMember>& members) {
    std::string error;
    auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, members, 32, &error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_TRUE(WriteFileAtomic(dir_ / file, *bytes, &error)) << error;
    ASSERT_TRUE(loader_.OpenArchive(role, dir_ / file, &error)) << error;
  }

  test::TempDir dir_;
  PictureLoader loader_;
};

TEST_F(PictureLoaderTest, SearchOrderJpegThenThirdSecondFirst) {
  Archive(PictureArchiveRole::kJpeg, "mg_gjp.qlm", {{"BOTH", Jpeg(Solid(8, 8, 0, 0, 255))}});
  Archive(PictureArchiveRole::kPictures1, "mg_gra.qlm",
          {{"BOTH", Packed(Solid(4, 4, 0, 255, 0))},
           {"ONE", Packed(Solid(1, 1, 1, 1, 1))},
           {"TWO", Packed(Solid(1, 1, 1, 1, 1))},
           {"FIRST", Packed(Solid(2, 3, 10, 20, 30))}});
  Archive(PictureArchiveRole::kPictures2, "mg_gra2.qlm",
          {{"ONE", Packed(Solid(2, 2, 2, 2, 2))}, {"TWO", Packed(Solid(6, 1, 40, 50, 60))}});
  Archive(PictureArchiveRole::kPictures3, "mg_gra3.qlm",
          {{"ONE", Packed(Solid(5, 5, 70, 80, 90), {true, true})}});
  struct Case {
    const char* name;
    int w, h;
    uint8_t b, g, r;
  };
  const Case cases[] = {
      {"BOTH", 8, 8, 0, 0, 255},  // the JPEG hides the packed picture of the same name
      {"ONE", 5, 5, 70, 80, 90},  // the third archive hides the second and the first
      {"TWO", 6, 1, 40, 50, 60},  // the second hides the first
      {"FIRST", 2, 3, 10, 20, 30}, {"first", 2, 3, 10, 20, 30},  // names match ignoring case
      {"bOtH", 8, 8, 0, 0, 255},
  };
  for (const Case& c : cases) {
    Picture target(800, 600);
    ASSERT_TRUE(loader_.LoadPicture(c.name, target)) << c.name << ": " << loader_.last_error();
    EXPECT_EQ(loader_.last_error(), "") << c.name;
    ASSERT_EQ(target.width(), c.w) << c.name;
    ASSERT_EQ(target.height(), c.h) << c.name;
    const uint8_t* p = target.Pixel(c.w - 1, c.h - 1);
    EXPECT_NEAR(p[0], c.b, 3) << c.name;
    EXPECT_NEAR(p[1], c.g, 3) << c.name;
    EXPECT_NEAR(p[2], c.r, 3) << c.name;
    EXPECT_TRUE(loader_.PictureExists(c.name)) << c.name;
  }
}

TEST_F(PictureLoaderTest, SmallerPictureResizesItsTarget) {
  Picture picture(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      uint8_t* p = picture.Pixel(x, y);
      p[0] = static_cast<uint8_t>(x), p[1] = static_cast<uint8_t>(y),
      p[2] = static_cast<uint8_t>(x ^ y);
    }
  }
  Archive(PictureArchiveRole::kPictures1, "mg_gra.qlm", {{"BG01", Packed(picture, {false, true})}});
  Picture target(800, 600);
  target.Fill(9, 9, 9);
  ASSERT_TRUE(loader_.LoadPicture("bg01", target));
  EXPECT_EQ(target, picture);
}

TEST_F(PictureLoaderTest, UnknownNamesLeaveTheTargetAsItWas) {
  Archive(PictureArchiveRole::kJpeg, "mg_gjp.qlm", {{"J", Jpeg(Solid(8, 8, 1, 2, 3))}});
  Archive(PictureArchiveRole::kPictures2, "mg_gra2.qlm", {{"P", Packed(Solid(2, 2, 1, 2, 3))}});
  Picture target = Solid(7, 5, 4, 5, 6);
  const Picture before = target;
  PictureLoadResult r = loader_.Load("NOPE", target);
  EXPECT_FALSE(r.found);
  EXPECT_FALSE(r.loaded);
  EXPECT_EQ(target, before);
  EXPECT_FALSE(loader_.PictureExists("NOPE"));
  EXPECT_FALSE(loader_.PictureExists(""));
  EXPECT_TRUE(loader_.PictureExists("j"));
  EXPECT_TRUE(loader_.PictureExists("P"));
  // No archives at all.
  PictureLoader empty;
  EXPECT_FALSE(empty.LoadPicture("P", target));
  EXPECT_FALSE(empty.PictureExists("P"));
  EXPECT_EQ(target, before);
}

TEST_F(PictureLoaderTest, MissingArchiveFileIsReported) {
  std::string error;
  EXPECT_FALSE(loader_.OpenArchive(PictureArchiveRole::kPictures3, dir_ / "mg_gra3.qlm", &error));
  EXPECT_NE(error.find("mg_gra3.qlm"), std::string::npos) << error;
  EXPECT_FALSE(loader_.HasArchive(PictureArchiveRole::kPictures3));
}

TEST_F(PictureLoaderTest, PackedMembersAreReadByTheirHeaderNotTheIndexSize) {
  Picture picture = Solid(3, 2, 11, 22, 33);
  Archive(PictureArchiveRole::kPictures1, "mg_gra.qlm", {{"A", Packed(picture)}});
  ArchiveReadResult read = ReadArchiveIndex(dir_ / "mg_gra.qlm", ArchiveLayout::DeclaredWidth);
  ASSERT_TRUE(read.index);
  read.index->sizes[0] = 1;
  loader_.SetArchive(PictureArchiveRole::kPictures1, dir_ / "mg_gra.qlm", *read.index);
  Picture target;
  ASSERT_TRUE(loader_.LoadPicture("A", target)) << loader_.last_error();
  EXPECT_EQ(target, picture);
}

TEST_F(PictureLoaderTest, DamagedMembersAreReportedAndLeaveADefinedTarget) {
  Picture picture = Solid(4, 4, 50, 60, 70);
  Bytes cut_packed = Packed(picture);
  cut_packed.resize(cut_packed.size() - 4);
  Bytes bad_header = Packed(picture);
  bad_header[3] = 4;      // bytes per pixel
  Picture noisy(64, 64);  // mostly scan data, so that the cut falls inside the scan
  for (size_t i = 0; i < noisy.bytes().size(); ++i)
    noisy.bytes()[i] = static_cast<uint8_t>(i * 7919 >> 3);
  Bytes jpeg = Jpeg(noisy);
  Bytes cut_jpeg(jpeg.begin(), jpeg.begin() + jpeg.size() * 3 / 4);
  Archive(PictureArchiveRole::kJpeg, "mg_gjp.qlm",
          {{"CUTJPEG", cut_jpeg}, {"NOISEJPEG", Bytes(100, 0x5A)}});
  Archive(PictureArchiveRole::kPictures1, "mg_gra.qlm",
          {{"CUT", cut_packed}, {"BADHEADER", bad_header}, {"TINY", Bytes{1, 2, 3}}});
  struct Case {
    const char* name;
    bool loaded;  // the target took the picture's size
    int w, h;
  };
  const Case cases[] = {
      {"CUT", true, 4, 4},   {"CUTJPEG", true, 64, 64},  {"BADHEADER", false, 0, 0},
      {"TINY", false, 0, 0}, {"NOISEJPEG", false, 0, 0},
  };
  for (const Case& c : cases) {
    Picture target = Solid(3, 3, 1, 1, 1);
    const Picture before = target;
    PictureLoadResult r = loader_.Load(c.name, target);
    EXPECT_TRUE(r.found) << c.name;
    EXPECT_EQ(r.loaded, c.loaded) << c.name;
    EXPECT_NE(r.error.find(c.name), std::string::npos) << c.name << ": " << r.error;
    EXPECT_EQ(loader_.last_error(), r.error);
    if (c.loaded) {
      EXPECT_EQ(target.width(), c.w) << c.name;
      EXPECT_EQ(target.height(), c.h) << c.name;
    } else {
      EXPECT_EQ(target, before) << c.name;
    }
  }
  // A member whose data the file no longer holds.
  ArchiveIndex index;
  index.names = {"GONE"};
  index.offsets = {1u << 30};
  index.sizes = {100};
  loader_.SetArchive(PictureArchiveRole::kPictures2, dir_ / "mg_gra.qlm", index);
  Picture target = Solid(3, 3, 1, 1, 1);
  PictureLoadResult r = loader_.Load("GONE", target);
  EXPECT_TRUE(r.found);
  EXPECT_FALSE(r.loaded);
  EXPECT_NE(r.error, "");
  EXPECT_EQ(target, Solid(3, 3, 1, 1, 1));
}

}  // namespace
}  // namespace quill
