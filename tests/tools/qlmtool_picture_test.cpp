#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <string>
#include <vector>

#include "common/file_util.h"
#include "common/png_io.h"
#include "engine/archive_index.h"
#include "graphics/packed_picture.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using test::RunProgram;
using Bytes = std::vector<uint8_t>;

Picture Sample(int w, int h) {
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x < w / 2 ? 200 : x * 5);
      px[1] = static_cast<uint8_t>(y * 9);
      px[2] = static_cast<uint8_t>((x * 31 + y * 17) % 7 == 0 ? 255 : 40);
    }
  }
  return p;
}

class QlmtoolPictureTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  void WriteBytes(const std::string& name, const Bytes& bytes) {
    ASSERT_TRUE(WriteFileAtomic(dir_ / name, bytes));
  }
  void WritePicture(const std::string& name, const Picture& p) {
    std::string error;
    ASSERT_TRUE(WritePng(dir_ / name, p, &error)) << error;
  }
  Picture ReadPicture(const std::string& name) {
    std::string error;
    auto p = ReadPng(dir_ / name, &error);
    EXPECT_TRUE(p) << name << ": " << error;
    return p ? *p : Picture();
  }
  test::TempDir dir_;
};

TEST_F(QlmtoolPictureTest, EncodeAndDecodeRoundTripWithEveryOption) {
  const Picture picture = Sample(37, 21);
  WritePicture("in.png", picture);
  struct Case {
    std::vector<std::string> options;
    uint8_t flags;
  };
  const Case cases[] = {
      {{}, 0x00},          {{"--rle"}, 0x40}, {{"--delta"}, 0x80}, {{"--delta", "--rle"}, 0xC0},
      {{"--dense"}, 0x00},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"encode-picture", Path("in.png"), Path("pic")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    auto r = RunProgram("qlmtool", args);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    auto member = ReadFile(dir_ / "pic");
    ASSERT_TRUE(member);
    auto header = ReadPackedHeader(*member);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->flags, c.flags);
    r = RunProgram("qlmtool", {"decode-picture", Path("pic"), Path("out.png")});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(ReadPicture("out.png"), picture) << int{c.flags};
  }
}

TEST_F(QlmtoolPictureTest, PackEncodesPngFilesAndStoresOthersAsTheyAre) {
  const Picture picture = Sample(50, 30);
  WritePicture("bg01.png", picture);
  const Bytes notes{'h', 'e', 'l', 'l', 'o'};
  WriteBytes("notes.txt", notes);
  auto r = RunProgram("qlmtool", {"pack", Path("mg_gra.qlm"), Path("bg01.png"), Path("notes.txt")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  ArchiveReadResult read = ReadArchiveIndex(dir_ / "mg_gra.qlm", ArchiveLayout::DeclaredWidth);
  ASSERT_TRUE(read.index) << read.error;
  int bg = read.index->Find("BG01"), txt = read.index->Find("NOTES");
  ASSERT_GE(bg, 0);
  ASSERT_GE(txt, 0);
  EXPECT_EQ(*ReadArchiveMember(dir_ / "mg_gra.qlm", *read.index, txt), notes);
  Picture decoded;
  EXPECT_TRUE(
      DecodePackedPicture(*ReadArchiveMember(dir_ / "mg_gra.qlm", *read.index, bg), decoded).ok);
  EXPECT_EQ(decoded, picture);
  // The archive form of decode-picture finds the member ignoring case.
  r = RunProgram("qlmtool", {"decode-picture", Path("mg_gra.qlm"), "bg01", Path("out.png")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(ReadPicture("out.png"), picture);
}

TEST_F(QlmtoolPictureTest, DecodesJpegMembersAndFiles) {
  Bytes jpeg;
  std::vector<uint8_t> rgb;
  for (int i = 0; i < 16 * 8; ++i) rgb.insert(rgb.end(), {255, 0, 0});
  stbi_write_jpg_to_func(
      [](void* context, void* data, int size) {
        auto* o = static_cast<Bytes*>(context);
        o->insert(o->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &jpeg, 16, 8, 3, rgb.data(), 95);
  WriteBytes("ev01.jpg", jpeg);
  auto r = RunProgram("qlmtool", {"pack", Path("mg_gjp.qlm"), Path("ev01.jpg")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"decode-picture", Path("ev01.jpg"), Path("out.png")},
        std::vector<std::string>{"decode-picture", Path("mg_gjp.qlm"), "EV01", Path("out.png")}}) {
    r = RunProgram("qlmtool", args);
    ASSERT_EQ(r.exit_code, 0) << r.err;
    Picture out = ReadPicture("out.png");
    ASSERT_EQ(out.width(), 16);
    ASSERT_EQ(out.height(), 8);
    EXPECT_NEAR(out.Pixel(3, 3)[2], 255, 4);  // red
    EXPECT_NEAR(out.Pixel(3, 3)[0], 0, 4);
  }
}

TEST_F(QlmtoolPictureTest, ErrorsNameTheFileOnOneLine) {
  WritePicture("in.png", Sample(8, 8));
  WriteBytes("fake.png", {'n', 'o', 't', ' ', 'p', 'n', 'g'});
  auto r = RunProgram("qlmtool", {"encode-picture", Path("in.png"), Path("good")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  Bytes damaged = *ReadFile(dir_ / "good");
  damaged.resize(damaged.size() - 5);
  WriteBytes("damaged.bin", damaged);
  Bytes bad_header = *ReadFile(dir_ / "good");
  bad_header[3] = 2;
  WriteBytes("badheader.bin", bad_header);
  r = RunProgram("qlmtool", {"pack", Path("mg_gra.qlm"), Path("in.png")});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  struct Case {
    std::vector<std::string> args;
    std::string mention;
  };
  const Case cases[] = {
      {{"encode-picture", Path("missing.png"), Path("o")}, "missing.png"},
      {{"encode-picture", Path("fake.png"), Path("o")}, "fake.png"},
      {{"encode-picture", Path("in.png"), Path("o"), "--fast"}, "--fast"},
      {{"decode-picture", Path("damaged.bin"), Path("d.png")}, "damaged.bin"},
      {{"decode-picture", Path("badheader.bin"), Path("o.png")}, "badheader.bin"},
      {{"decode-picture", Path("missing.bin"), Path("o.png")}, "missing.bin"},
      {{"decode-picture", Path("mg_gra.qlm"), "NOPE", Path("o.png")}, "NOPE"},
      {{"decode-picture", Path("missing.qlm"), "IN", Path("o.png")}, "missing.qlm"},
      {{"pack", Path("bad.qlm"), Path("fake.png")}, "fake.png"},
  };
  for (const Case& c : cases) {
    r = RunProgram("qlmtool", c.args);
    EXPECT_NE(r.exit_code, 0) << c.mention;
    EXPECT_NE(r.err.find(c.mention), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  // A damaged picture is still written as far as it decodes, an unreadable one is not.
  Picture shown = ReadPicture("d.png");
  EXPECT_EQ(shown.width(), 8);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "o.png"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "bad.qlm"));
}

TEST_F(QlmtoolPictureTest, HelpAndUsage) {
  for (const char* command : {"encode-picture", "decode-picture", "pack"}) {
    auto r = RunProgram("qlmtool", {command, "--help"});
    EXPECT_EQ(r.exit_code, 0) << command;
    EXPECT_NE(r.out.find(std::string("usage: qlmtool ") + command), std::string::npos) << r.out;
  }
  auto r = RunProgram("qlmtool", {"encode-picture", Path("in.png")});
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("usage: qlmtool encode-picture"), std::string::npos) << r.err;
  r = RunProgram("qlmtool", {"decode-picture", "a", "b", "c", "d"});
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.err.find("usage: qlmtool decode-picture"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace quill
