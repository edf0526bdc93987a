#include "persist/animated_cursor.h"

#include <gtest/gtest.h>

#include <cstring>

#include "common/byte_io.h"
#include "common/file_util.h"
#include "persist/cursors.h"
#include "tests/engine/script_fixture.h"
#include "tools/cursor_encoder.h"

namespace quill {
namespace {

CursorFrame Frame(int w, int h, uint8_t shade, int hot_x = 1, int hot_y = 2) {
  CursorFrame f;
  f.width = w, f.height = h, f.hot_x = hot_x, f.hot_y = hot_y;
  f.rgba.resize(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &f.rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = shade, p[1] = static_cast<uint8_t>(x * 8), p[2] = static_cast<uint8_t>(y * 8);
      p[3] = x < w / 2 ? 255 : 0;
    }
  }
  return f;
}

AnimatedCursor TwoFrames() {
  AnimatedCursor c;
  c.frames = {Frame(32, 32, 10), Frame(32, 32, 200, 5, 6)};
  c.steps = {{0, 100}, {1, 50}, {0, 200}};
  return c;
}

// Offset of the first occurrence of a chunk id.
size_t Find(const std::vector<uint8_t>& file, const char* id) {
  for (size_t i = 0; i + 4 <= file.size(); ++i) {
    if (std::memcmp(file.data() + i, id, 4) == 0) return i;
  }
  ADD_FAILURE() << "no " << id;
  return 0;
}

void PutU32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
  for (int k = 0; k < 4; ++k) file[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

TEST(AnimatedCursorTest, FramesAndStepsComeBack) {
  AnimatedCursor in = TwoFrames();
  std::string error;
  std::optional<AnimatedCursor> out = ReadAnimatedCursor(EncodeAnimatedCursor(in), &error);
  ASSERT_TRUE(out) << error;
  ASSERT_EQ(out->frames.size(), 2u);
  EXPECT_EQ(out->frames[1].rgba, in.frames[1].rgba);
  EXPECT_EQ(out->frames[1].hot_x, 5);
  EXPECT_EQ(out->frames[1].hot_y, 6);
  ASSERT_EQ(out->steps.size(), 3u);
  EXPECT_EQ(out->steps[1].frame, 1);
  EXPECT_EQ(out->steps[1].duration_ms, 50u);  // three sixtieths
  EXPECT_EQ(out->steps[2].duration_ms, 200u);
}

// A cursor of one 8 × 8 1-bit frame whose AND mask clears the right half, written by hand, with
// no rate or sequence table: every frame shows for the header's rate.
std::vector<uint8_t> OneBitCursor() {
  ByteWriter dib;
  dib.U32(40), dib.I32(8), dib.I32(16), dib.U16(1), dib.U16(1);
  for (int i = 0; i < 6; ++i) dib.U32(0);
  dib.U32(0), dib.U32(0xFFFFFF);                             // palette: black, white
  for (int y = 0; y < 8; ++y) dib.U32(y % 2 ? 0xF0 : 0x0F);  // colour rows (bottom-up)
  for (int y = 0; y < 8; ++y) dib.U32(0x0F);                 // AND rows: right half clear
  ByteWriter icon;
  icon.U16(0), icon.U16(2), icon.U16(1);
  icon.U8(8), icon.U8(8), icon.U8(2), icon.U8(0), icon.U16(3), icon.U16(4);
  icon.U32(static_cast<uint32_t>(dib.size())), icon.U32(22);
  icon.Bytes(dib.bytes());
  ByteWriter f;
  for (char c : std::string("RIFF")) f.U8(c);
  f.U32(0);
  for (char c : std::string("ACONanih")) f.U8(c);
  f.U32(36), f.U32(36), f.U32(1), f.U32(1), f.U32(0), f.U32(0), f.U32(0), f.U32(0), f.U32(12);
  f.U32(1);
  for (char c : std::string("LIST")) f.U8(c);
  f.U32(static_cast<uint32_t>(12 + icon.size()));
  for (char c : std::string("framicon")) f.U8(c);
  f.U32(static_cast<uint32_t>(icon.size()));
  f.Bytes(icon.bytes());
  f.PatchU32(4, static_cast<uint32_t>(f.size() - 8));
  return f.Take();
}

TEST(AnimatedCursorTest, PalettedFramesAndTheirMask) {
  std::string error;
  std::optional<AnimatedCursor> c = ReadAnimatedCursor(OneBitCursor(), &error);
  ASSERT_TRUE(c) << error;
  ASSERT_EQ(c->steps.size(), 1u);
  EXPECT_EQ(c->steps[0].duration_ms, 200u);
  const CursorFrame& f = c->frames[0];
  EXPECT_EQ(f.hot_x, 3);
  EXPECT_EQ(f.hot_y, 4);
  // Top row (stored last, y = 7 from the bottom: 0xF0): left half white and opaque.
  EXPECT_EQ(f.rgba[0], 255);
  EXPECT_EQ(f.rgba[3], 255);
  EXPECT_EQ(f.rgba[7 * 4 + 3], 0);  // the mask clears the right half
  // Second row (0x0F): black on the left.
  EXPECT_EQ(f.rgba[8 * 4], 0);
}

TEST(AnimatedCursorTest, DamagedFilesAreRefused) {
  const std::vector<uint8_t> good = EncodeAnimatedCursor(TwoFrames());
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"not RIFF", [](auto& f) { f[0] = 'X'; }},
      {"cut in a frame", [](auto& f) { f.resize(f.size() - 100); }},
      {"a chunk size past the end", [](auto& f) { PutU32(f, Find(f, "rate") + 4, 0x7FFFFFF0); }},
      {"more frames than icons", [](auto& f) { PutU32(f, Find(f, "anih") + 12, 3); }},
      {"a step past the frames", [](auto& f) { PutU32(f, Find(f, "seq ") + 8, 7); }},
      {"a short rate table", [](auto& f) { PutU32(f, Find(f, "anih") + 16, 9); }},
      {"an image offset outside its chunk",
       [](auto& f) { PutU32(f, Find(f, "icon") + 8 + 18, 0xFFFFFF00); }},
      {"a huge image", [](auto& f) { PutU32(f, Find(f, "icon") + 8 + 22 + 4, 5000); }},
      {"raw frames", [](auto& f) { PutU32(f, Find(f, "anih") + 8 + 32, 0); }},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> file = good;
    c.damage(file);
    std::string error;
    EXPECT_FALSE(ReadAnimatedCursor(file, &error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST(CursorsTest, TwelveFilesUnderTheirNumbersIgnoringCase) {
  test::ScriptFixture f;
  std::filesystem::path icons = f.game().folder() / "Icon";
  std::filesystem::create_directories(icons);
  for (int n = 1; n <= 12; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, n % 2 ? "mscur%02d.ANI" : "MSCUR%02d.ani", n);
    std::vector<uint8_t> bytes = EncodeAnimatedCursor(TwoFrames());
    if (n == 5) bytes.resize(40);  // damaged: cursor 34 stays the arrow
    ASSERT_TRUE(WriteFileAtomic(icons / name, bytes));
  }
  Engine& e = f.StartMain("\\\n");
  for (int number = 30; number <= 41; ++number) {
    EXPECT_EQ(f.platform().cursor_frames(number), number == 34 ? 0 : 2) << number;
  }
  ASSERT_EQ(e.cursors().problems().size(), 1u);
  EXPECT_NE(e.cursors().problems()[0].find("MSCUR05"), std::string::npos);
  e.cursors().Show(33);
  EXPECT_EQ(f.platform().shown_cursor(), 33);
}

}  // namespace
}  // namespace quill
