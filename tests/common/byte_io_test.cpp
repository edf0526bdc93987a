#include "common/byte_io.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

TEST(ByteIo, WritesAndReadsLittleEndian) {
  ByteWriter w;
  w.U8(0x12);
  w.U16(0x3456);
  w.U32(0x89ABCDEF);
  w.FixedString("name", 8);
  w.I32(-2);
  EXPECT_EQ(w.bytes()[1], 0x56);
  EXPECT_EQ(w.bytes()[3], 0xEF);
  ByteReader r(w.bytes());
  EXPECT_EQ(r.U8(), 0x12);
  EXPECT_EQ(r.U16(), 0x3456);
  EXPECT_EQ(r.U32(), 0x89ABCDEFu);
  EXPECT_EQ(r.FixedString(8), "name");
  EXPECT_EQ(r.I32(), -2);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteIo, ReadingPastTheEndGivesZerosAndClearsOk) {
  const uint8_t data[] = {1, 2, 3};
  ByteReader r(data);
  EXPECT_EQ(r.U16(), 0x0201);
  EXPECT_EQ(r.U32(), 0u);  // only one byte left
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.U8(), 0);
  ByteReader short_bytes(data);
  EXPECT_EQ(short_bytes.Bytes(10).size(), 3u);
  EXPECT_FALSE(short_bytes.ok());
  ByteReader seek(data);
  EXPECT_FALSE(seek.Seek(4));
}

TEST(ByteIo, FixedStringIsCutAndPadded) {
  ByteWriter w;
  w.FixedString("abcdef", 4);
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(std::string(w.bytes().begin(), w.bytes().end()), std::string("abc\0", 4));
  w.PatchU32(0, 0x01020304);
  EXPECT_EQ(w.bytes()[0], 4);
  w.PatchU32(2, 7);  // would pass the end: ignored
  EXPECT_EQ(w.bytes()[2], 2);
}

}  // namespace
}  // namespace quill
