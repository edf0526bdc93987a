// The page grid and text cursor: the speaker row, the indent, wrapping with the hanging
// characters, the dropped space, the wide advance and the grid's bounds.
#include "text/page_grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sjis.h"

namespace quill {
namespace {

constexpr int kMax = 10;

// The characters of a UTF-8 text as Shift-JIS characters.
std::vector<std::string> Chars(const std::string& utf8) {
  std::string sjis = Utf8ToSjisLossy(utf8);
  std::vector<std::string> out;
  for (size_t i = 0; i < sjis.size();) {
    size_t n = IsLeadByte(static_cast<uint8_t>(sjis[i])) ? 2 : 1;
    out.push_back(sjis.substr(i, n));
    i += n;
  }
  return out;
}

struct Placed {
  int row, column;
  bool wrapped, dropped;
  bool operator==(const Placed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Placed& p) {
  return os << "(" << p.row << "," << p.column << (p.wrapped ? " wrapped" : "")
            << (p.dropped ? " dropped" : "") << ")";
}

// Draws the text as the engine does, carrying the wrapped flag from one character to the next.
std::vector<Placed> Draw(PageGrid& grid, const std::string& utf8, bool full_screen = false) {
  std::vector<Placed> out;
  bool wrapped = false;
  for (const std::string& ch : Chars(utf8)) {
    PageGrid::Placement p = grid.DrawTextChar(ch, full_screen, kMax, false, wrapped);
    if (p.wrapped) wrapped = true;
    out.push_back({p.row, p.column, p.wrapped, p.dropped});
  }
  return out;
}

std::string Row(const PageGrid& grid, int r) {
  std::string row(grid.Row(r));
  while (!row.empty() && row.back() == 0) row.pop_back();
  for (char& c : row) {
    if (c == 0) c = ' ';
  }
  return SjisToUtf8Lossy(row);
}

TEST(PageGridTest, ANewPageStartsInRowOneIndented) {
  PageGrid grid;
  EXPECT_EQ(
      Draw(grid, "あいう"),
      (std::vector<Placed>{{1, 2, false, false}, {1, 4, false, false}, {1, 6, false, false}}));
  EXPECT_EQ(Row(grid, 1), "  あいう");
  EXPECT_EQ(grid.page_chars, 3);
  EXPECT_FALSE(grid.page_empty);
}

TEST(PageGridTest, AnOpeningBracketHangsOutOfTheIndent) {
  for (const char* bracket : {"「", "（", "『"}) {
    SCOPED_TRACE(bracket);
    PageGrid grid;
    // 「 at 0, あいうえ at 2..9, then お wraps and the paragraph goes on at column 2.
    std::vector<Placed> placed = Draw(grid, std::string(bracket) + "あいうえお");
    EXPECT_EQ(placed[0], (Placed{1, 0, false, false}));
    EXPECT_EQ(placed[1], (Placed{1, 2, false, false}));
    EXPECT_EQ(placed[5], (Placed{2, 2, true, false}));
  }
}

TEST(PageGridTest, HangingCharactersStayOnTheRow) {
  struct Case {
    const char* text;
    std::vector<Placed> last_two;
  } cases[] = {
      // Columns 2..9 filled by four characters; the fifth is at column 10 = MOJI_MAX_X.
      {"あいうえ。", {{1, 8, false, false}, {1, 10, false, false}}},
      {"あいうえっ", {{1, 8, false, false}, {1, 10, false, false}}},
      {"あいうえか", {{1, 8, false, false}, {2, 2, true, false}}},
      // Only up to two columns past the end: the second 。 wraps.
      {"あいうえ。。", {{1, 10, false, false}, {2, 2, true, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PageGrid grid;
    std::vector<Placed> placed = Draw(grid, c.text);
    ASSERT_GE(placed.size(), 2u);
    EXPECT_EQ(std::vector<Placed>(placed.end() - 2, placed.end()), c.last_two);
  }
}

TEST(PageGridTest, AFullWidthSpaceThatWouldBeginAWrappedRowIsDropped) {
  PageGrid grid;
  std::vector<Placed> placed = Draw(grid, "あいうえか　き");
  EXPECT_EQ(placed[4], (Placed{2, 2, true, false}));
  // か wrapped, so the row is a wrapped one; the space lands at column 4, not 2: kept.
  EXPECT_EQ(placed[5], (Placed{2, 4, false, false}));
  PageGrid other;
  placed = Draw(other, "あいうえ。　き");  // 。 hangs; the space wraps and is dropped
  EXPECT_EQ(placed[5], (Placed{2, 2, true, true}));
  EXPECT_EQ(placed[6], (Placed{2, 2, false, false}));
  EXPECT_EQ(Row(other, 2), "  き");
  EXPECT_EQ(other.page_chars, 6);  // the dropped space does not count
}

TEST(PageGridTest, ASpaceAtTheStartOfAnUnwrappedRowIsKept) {
  PageGrid grid;
  EXPECT_EQ(Draw(grid, "　あ")[0], (Placed{1, 2, false, false}));
}

TEST(PageGridTest, WideAdvanceOnlyInTheWindowLayout) {
  PageGrid window;
  window.wide_advance = true;
  EXPECT_EQ(Draw(window, "あい")[1], (Placed{1, 5, false, false}));
  PageGrid full;
  full.wide_advance = true;
  EXPECT_EQ(Draw(full, "あい", true)[1], (Placed{0, 2, false, false}));
}

TEST(PageGridTest, TheFullScreenLayoutHasNoSpeakerRowNoIndentAndNoDroppedSpace) {
  PageGrid grid;
  // か wraps to column 0; the space then sits at column 2 of a wrapped row and is kept.
  std::vector<Placed> placed = Draw(grid, "あいうえおか　", true);
  EXPECT_EQ(placed[0], (Placed{0, 0, false, false}));
  EXPECT_EQ(placed[5], (Placed{1, 0, true, false}));
  EXPECT_EQ(placed[6], (Placed{1, 2, false, false}));
}

TEST(PageGridTest, CharactersOutsideTheGridMoveTheCursorButAreNotStored) {
  PageGrid grid;
  grid.row = kPageGridRows + 5;
  grid.column = 4;
  PageGrid::Placement p = grid.DrawTextChar("\x82\xa0", false, 200, false, false);
  EXPECT_EQ(p.row, kPageGridRows + 5);
  EXPECT_EQ(grid.column, 6);
  grid.row = 3;
  grid.column = kPageGridColumns - 1;  // a two-byte character would end past the row
  grid.DrawTextChar("\x82\xa0", false, 200, false, false);
  EXPECT_EQ(grid.column, kPageGridColumns + 1);
  EXPECT_EQ(grid.Row(3), std::string(kPageGridColumns, '\0'));
  for (int r = 0; r < kPageGridRows; ++r) EXPECT_EQ(Row(grid, r), "") << r;
}

TEST(PageGridTest, ResetPageAndTheNameRow) {
  PageGrid grid;
  grid.SetNameRow(Utf8ToSjisLossy("花子"));
  Draw(grid, "あい");
  grid.wide_advance = true;
  grid.colour_number = 4;
  EXPECT_EQ(Row(grid, 0), "花子");
  grid.ResetPage();
  EXPECT_EQ(Row(grid, 0), "");
  EXPECT_EQ(Row(grid, 1), "");
  EXPECT_EQ(grid.row, 0);
  EXPECT_EQ(grid.column, 0);
  EXPECT_EQ(grid.page_chars, 0);
  EXPECT_TRUE(grid.page_empty);
  EXPECT_FALSE(grid.wide_advance);
  EXPECT_EQ(grid.colour_number, 0);
}

}  // namespace
}  // namespace quill
