// The page history ring and its records: what a page record keeps, where, and how long texts
// are cut.
#include "text/page_history.h"

#include <gtest/gtest.h>

#include "common/sjis.h"

namespace quill {
namespace {

PageSnapshot Page(const PageGrid& grid, std::string_view background, int layout = 0) {
  PageSnapshot p;
  p.grid = &grid;
  p.background_name = background;
  p.sprite_list = "B01,B02";
  p.layout = layout;
  for (int i = 0; i < 20; ++i) p.positions[i] = 100 + i;
  return p;
}

TEST(PageHistoryTest, TheRingKeepsTheLastFiftyPages) {
  PageHistory h;
  PageGrid grid;
  for (int n = 0; n < 250; ++n) {
    std::string name = "A" + std::to_string(n);
    h.AppendVoice("V" + std::to_string(n));
    h.Record(Page(grid, name, n % 2));
  }
  EXPECT_EQ(h.page_counter, 250);
  // Page n lives in record n mod 50: the last 50 pages are 200–249.
  for (int n = 200; n < 250; ++n) {
    int k = PageHistory::Slot(n);
    EXPECT_EQ(h.SceneText(k), "A" + std::to_string(n) + ",B01,B02");
    EXPECT_EQ(h.Voices(k), "V" + std::to_string(n) + " ");
    EXPECT_EQ(h.FirstVoice(k), "V" + std::to_string(n));
    EXPECT_EQ(h.Layout(k), n % 2);
    EXPECT_EQ(h.Position(k, 19), 119);
  }
  EXPECT_TRUE(h.current_voices().empty());  // each record took the page's list
}

TEST(PageHistoryTest, LongTextsAreCutAtACharacterBoundaryInsideTheirRecords) {
  PageHistory h;
  PageGrid grid;
  // A voice list that reaches the record's 255 bytes with a two-byte character across the end.
  std::string name = Utf8ToSjisLossy(std::string(50, 'a')) + Utf8ToSjisLossy("あいうえお");
  for (int i = 0; i < 4; ++i) h.AppendVoice(name);  // 4 × 61 = 244 bytes
  h.AppendVoice(Utf8ToSjisLossy("かきく"));         // 7 more: 251
  h.AppendVoice("xyz");                             // 255 of the page's 259
  EXPECT_EQ(h.current_voices().size(), 255u);
  h.AppendVoice("toolong");  // would pass 259: dropped whole
  EXPECT_EQ(h.current_voices().size(), 255u);
  h.AppendVoice("ab");  // 258
  ASSERT_EQ(h.current_voices().size(), 258u);
  std::string background(200, 'b');  // the scene text passes its 127 bytes
  h.Record(Page(grid, background));
  int k = PageHistory::Slot(0);
  EXPECT_EQ(h.Voices(k).size(), 255u);
  EXPECT_EQ(h.SceneText(k), std::string(127, 'b'));
  // The neighbour is untouched.
  EXPECT_TRUE(h.Voices(k + 1).empty());
  EXPECT_TRUE(h.SceneText(k + 1).empty());

  // A cut never splits a character: a kana across the 255th byte is left out.
  PageHistory h2;
  h2.AppendVoice(std::string(253, 'v'));  // 254 with its space
  h2.AppendVoice(Utf8ToSjisLossy("あ"));  // 257
  h2.Record(Page(grid, "A"));
  std::string_view kept = h2.Voices(0);
  EXPECT_EQ(kept.size(), 254u);
  EXPECT_EQ(kept.back(), ' ');
}

TEST(PageHistoryTest, TheFirstVoiceIsTheListUpToItsFirstSpaceAtMost128Bytes) {
  PageHistory h;
  PageGrid grid;
  h.AppendVoice(std::string(200, 'n'));
  h.AppendVoice("second");
  h.Record(Page(grid, "A"));
  EXPECT_EQ(h.FirstVoice(0), std::string(128, 'n'));
  h.Record(Page(grid, "A"));  // a page without voices
  EXPECT_EQ(h.FirstVoice(1), "");
}

}  // namespace
}  // namespace quill
