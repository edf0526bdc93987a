#include "text/text_output.h"

#include <gtest/gtest.h>

#include "common/sjis.h"

namespace quill {
namespace {

const TextOutputFont kGothic16{Utf8ToSjisLossy("ＭＳ ゴシック"), 16, false};

int Ink(const Picture& p) {
  int n = 0;
  for (uint8_t v : p.bytes()) n += v != 0;
  return n;
}

TEST(TextOutputTest, WidthGrowsWithTheText) {
  TextOutput out;
  std::string one = Utf8ToSjisLossy("あ");
  int w1 = out.TextWidth(one, kGothic16);
  EXPECT_GT(w1, 8);
  EXPECT_EQ(out.TextWidth(one + one, kGothic16), 2 * w1);
  EXPECT_GT(out.TextWidth(Utf8ToSjisLossy("ありがとう"), kGothic16),
            out.TextWidth(one + one, kGothic16));
  EXPECT_LT(out.TextWidth("a", kGothic16), w1);  // half-width
  EXPECT_EQ(out.TextWidth("", kGothic16), 0);
  TextOutputFont bold = kGothic16;
  bold.bold = true;
  EXPECT_EQ(out.TextWidth(one + one, bold), 2 * (w1 + 1));
  TextOutputFont big = kGothic16;
  big.height = 32;
  EXPECT_GT(out.TextWidth(one, big), w1);
}

TEST(TextOutputTest, CellHeightSizesTheFont) {
  TextOutput out;
  for (int h : {9, 16, 24}) {
    TextOutputFont f = kGothic16;
    f.height = h;
    EXPECT_NEAR(out.Ascent(f) + out.Descent(f), h, 1) << h;
  }
  TextOutputFont em = kGothic16;
  em.height = -25;  // an em height, as 19 pt asks for
  EXPECT_GT(out.Ascent(em) + out.Descent(em), 25);
}

TEST(TextOutputTest, DrawsInTheGivenColourOnATransparentBackground) {
  TextOutput out;
  std::string text = Utf8ToSjisLossy("漢字");
  Picture p(80, 24);
  p.Fill(10, 20, 30);
  out.DrawText(p, 2, 2, text, kGothic16, 0x0000FF);  // red in the low byte
  int red = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const uint8_t* px = p.Pixel(x, y);
      if (px[2] > 200) ++red;
      EXPECT_LE(px[0], 10);  // blue and green only ever fall towards 0
      EXPECT_LE(px[1], 20);
    }
  }
  EXPECT_GT(red, 20);
  // Pixels away from the text keep the background.
  EXPECT_EQ(p.Pixel(79, 23)[0], 10);
  EXPECT_EQ(p.Pixel(79, 23)[2], 30);
  // Ink stays within the text's width and cell height.
  int width = out.TextWidth(text, kGothic16);
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 2 + width + 1; x < p.width(); ++x)
      EXPECT_EQ(p.Pixel(x, y)[2], 30) << x << "," << y;
  }
}

TEST(TextOutputTest, ClippedDrawingMatchesTheVisiblePart) {
  TextOutput out;
  std::string text = Utf8ToSjisLossy("ゲームを終了しますか？");
  Picture big(400, 60);
  out.DrawText(big, 100, 20, text, kGothic16, 0xFFFFFF);
  ASSERT_GT(Ink(big), 100);
  // Small pictures showing windows of the big one, cutting the text on every side.
  struct Case {
    int ox, oy, w, h;
  } cases[] = {{110, 25, 40, 6}, {90, 10, 30, 40}, {200, 0, 150, 27}, {300, 30, 100, 30}};
  for (const Case& c : cases) {
    Picture small(c.w, c.h);
    out.DrawText(small, 100 - c.ox, 20 - c.oy, text, kGothic16, 0xFFFFFF);
    Picture expect(c.w, c.h);
    CopyRect(expect, 0, 0, big, c.ox, c.oy, c.w, c.h);
    EXPECT_EQ(small, expect) << c.ox << "," << c.oy;
  }
  // Entirely outside: nothing happens.
  Picture none(20, 20);
  out.DrawText(none, -500, -500, text, kGothic16, 0xFFFFFF);
  out.DrawText(none, 30, 0, text, kGothic16, 0xFFFFFF);
  EXPECT_EQ(Ink(none), 0);
}

}  // namespace
}  // namespace quill
