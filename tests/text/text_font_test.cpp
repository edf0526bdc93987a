#include "text/text_font.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/sjis.h"

namespace quill {
namespace {

TEST(TextFontTest, PointsConvertAtNinetySixDpiWithWindowsRounding) {
  struct Case {
    int points, pixels;
  } cases[] = {{19, 25}, {9, 12}, {10, 13}, {11, 15}, {12, 16}, {15, 20}, {0, 0}};
  for (const Case& c : cases) EXPECT_EQ(PointsToPixels(c.points), c.pixels) << c.points << " pt";
  // Halves round away from zero, on both sides.
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(7, 3, 0), -1);
  // The product may pass 32 bits.
  EXPECT_EQ(MulDiv(1 << 30, 4, 8), 1 << 29);
}

TEST(TextFontTest, GameFaceNamesMapToInstalledJapaneseFonts) {
  struct Case {
    const char* utf8_name;
    const char* family;
    const char* file;
  } cases[] = {
      {"ＭＳ ゴシック", "IPAGothic", "ipag.ttf"},     {"MS Gothic", "IPAGothic", "ipag.ttf"},
      {"ＭＳ 明朝", "IPAMincho", "ipam.ttf"},         {"MS Mincho", "IPAMincho", "ipam.ttf"},
      {"ＭＳ Ｐゴシック", "IPAPGothic", "ipagp.ttf"}, {"ＭＳ Ｐ明朝", "IPAPMincho", "ipamp.ttf"},
  };
  for (const Case& c : cases) {
    std::optional<FontMatch> match = ResolveFontName(Utf8ToSjisLossy(c.utf8_name), false);
    ASSERT_TRUE(match) << c.utf8_name;
    EXPECT_EQ(match->family, c.family) << c.utf8_name;
    EXPECT_EQ(std::filesystem::canonical(match->path).filename(), c.file) << c.utf8_name;
  }
}

TEST(TextFontTest, NamesWithoutJapaneseFallBackToAFontThatHasIt) {
  // An unknown name, a Latin-only face, and no name at all.
  for (const char* name : {"No Such Face 12345", "DejaVu Sans", ""}) {
    TextFont font;
    ASSERT_TRUE(font.Open(name, false)) << name;
    font.SetPointSize(19);
    GrayBitmap a;
    ASSERT_TRUE(font.RenderGray(U'あ', &a)) << name;
    EXPECT_GT(a.width, 5) << name << " resolved to " << font.match().family;
  }
}

TEST(TextFontTest, RulesAreFoundInTheBuildTree) {
  std::filesystem::path folder = FontRulesFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(folder / "quill-fonts.conf"));
}

TEST(TextFontTest, SizesByEmAndByCellHeight) {
  TextFont font;
  ASSERT_TRUE(font.Open(Utf8ToSjisLossy("ＭＳ ゴシック"), false));
  font.SetPointSize(19);
  EXPECT_EQ(font.em_pixels(), 25);
  EXPECT_GT(font.ascent(), 15);
  EXPECT_LT(font.ascent(), 25);
  EXPECT_GT(font.descent(), 0);
  // A cell height asks for ascent + descent; rounding may leave it a pixel off.
  for (int cell : {9, 16, 24, 40}) {
    font.SetCellPixels(cell);
    EXPECT_NEAR(font.ascent() + font.descent(), cell, 1) << cell;
    EXPECT_LE(font.em_pixels(), cell);
  }
}

TEST(TextFontTest, BoldWithoutABoldFaceIsEmboldened) {
  TextFont regular, bold;
  ASSERT_TRUE(regular.Open("MS Gothic", false));
  ASSERT_TRUE(bold.Open("MS Gothic", true));
  EXPECT_FALSE(regular.synthetic_bold());
  EXPECT_TRUE(bold.synthetic_bold());  // the IPA fonts have no bold face
  regular.SetEmPixels(25);
  bold.SetEmPixels(25);
  GrayBitmap r, b;
  ASSERT_TRUE(regular.RenderGray(U'漢', &r));
  ASSERT_TRUE(bold.RenderGray(U'漢', &b));
  long ink_r = 0, ink_b = 0;
  for (uint8_t v : r.pixels) ink_r += v;
  for (uint8_t v : b.pixels) ink_b += v;
  EXPECT_GT(ink_b, ink_r * 11 / 10);
  EXPECT_EQ(b.left, r.left);
  EXPECT_EQ(b.advance, r.advance + 1);
}

TEST(TextFontTest, ShiftJisCodesToUnicode) {
  struct Case {
    uint32_t code;
    char32_t cp;
  } cases[] = {{0x82A0, U'あ'}, {0x93FA, U'日'}, {0x8140, U'　'}, {'A', U'A'},
               {0xB1, U'ｱ'},    {0x837F, 0},     {0x81FF, 0}};
  for (const Case& c : cases) EXPECT_EQ(SjisCodeToCodePoint(c.code), c.cp) << std::hex << c.code;
}

}  // namespace
}  // namespace quill
