#include "common/sjis.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

struct RoundTrip {
  const char* utf8;
  const char* sjis;
};

TEST(Sjis, ConvertsBothWays) {
  const RoundTrip cases[] = {
      {"abc 123", "abc 123"},
      {"\xE3\x81\x82", "\x82\xA0"},                      // あ: full-width hiragana
      {"\xEF\xBC\xA1", "\x82\x60"},                      // Ａ: full-width letter
      {"\xEF\xBD\xB1\xEF\xBE\x9D", "\xB1\xDD"},          // ｱﾝ: half-width katakana, one byte each
      {"\xE3\x80\x80", "\x81\x40"},                      // full-width space
      {"\xE2\x96\xBC", "\x81\xA5"},                      // ▼
      {"\xE6\xBC\xA2\xE5\xAD\x97", "\x8A\xBF\x8E\x9A"},  // 漢字
  };
  for (const RoundTrip& c : cases) {
    Conversion to_sjis = Utf8ToSjis(c.utf8);
    EXPECT_TRUE(to_sjis.ok()) << c.utf8;
    EXPECT_EQ(to_sjis.text, c.sjis) << c.utf8;
    Conversion to_utf8 = SjisToUtf8(c.sjis);
    EXPECT_TRUE(to_utf8.ok()) << c.utf8;
    EXPECT_EQ(to_utf8.text, c.utf8);
  }
}

TEST(Sjis, ReportsBytesThatDoNotConvert) {
  // 0x82 followed by 0x20 is a lead byte without a valid trail byte; 0xFD-0xFF are never valid.
  Conversion c = SjisToUtf8(std::string("a\x82 b\xFD", 5));
  EXPECT_FALSE(c.ok());
  EXPECT_EQ(c.bad_offsets, (std::vector<size_t>{1, 4}));
  // Nothing else is lost: the space and the letters survive around the replacements.
  EXPECT_EQ(c.text, "a\xEF\xBF\xBD b\xEF\xBF\xBD");
}

TEST(Sjis, ReportsATruncatedCharacterAtTheEnd) {
  Conversion c = SjisToUtf8("ab\x82");
  EXPECT_EQ(c.bad_offsets, (std::vector<size_t>{2}));
  EXPECT_EQ(c.text, "ab\xEF\xBF\xBD");
}

TEST(Sjis, ReportsCharactersWithNoShiftJisForm) {
  Conversion c = Utf8ToSjis("x\xF0\x9F\x98\x80y");  // an emoji
  EXPECT_EQ(c.bad_offsets, (std::vector<size_t>{1}));
  EXPECT_EQ(c.text, "x?y");
}

TEST(Sjis, LeadBytes) {
  for (int b = 0; b < 256; ++b) {
    bool expected = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    EXPECT_EQ(IsLeadByte(static_cast<uint8_t>(b)), expected) << b;
  }
}

}  // namespace
}  // namespace quill
