#pragma once
// The page grid and the text cursor: where each character of the current page sits, in
// half-width columns (a two-byte character takes two) and rows.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

constexpr int kPageGridRows = 20;
constexpr int kPageGridColumns = 100;

// The message layout values of the game configuration.
struct TextLayout {
  // Window layout.
  int txw_ofs_x = 0, txw_ofs_y = 440;
  int tx_ofs_x = 40, tx_ofs_y = 40;
  int tx_pitch_x = 13, tx_pitch_y = 30;
  int moji_max_x = 52, moji_max_y = 5;
  // Full-screen layout.
  int tx2_ofs_x = 40, tx2_ofs_y = 40;
  int tx2_pitch_x = 13, tx2_pitch_y = 30;
  int moji_max2_x = 56, moji_max2_y = 17;
};

// The characters that may hang past the last column instead of wrapping (small kana, closing
// brackets, punctuation).
bool IsHangingCharacter(uint16_t code);

class PageGrid {
 public:
  PageGrid() { ResetPage(); }

  struct Placement {
    bool wrapped = false;     // the character began a new row (the log line ends there)
    bool dropped = false;     // a full-width space at the start of a wrapped row: not shown
    int row = 0, column = 0;  // where the character went
  };
  // Places one character (one or two bytes) and moves the cursor on. full_screen selects the
  // full-screen layout rules (no row-0 rule, no indent, no dropped space, no wide advance).
  // row_wrapped is the page's wrapped flag before the character. Characters outside the grid
  // still move the cursor but are not stored.
  Placement DrawTextChar(std::string_view character, bool full_screen, int max_columns,
                         bool name_line, bool row_wrapped);
  // Cursor, grid and page flags back to the start.
  void ResetPage();
  // Row 0 holds the speaker name in the window layout.
  void SetNameRow(std::string_view name);

  // The row's bytes (100, NULs included).
  std::string_view Row(int r) const { return std::string_view(grid_[r].data(), kPageGridColumns); }
  std::array<std::array<char, kPageGridColumns>, kPageGridRows>& grid() { return grid_; }

  int column = 0;
  int row = 0;
  int page_chars = 0;  // characters drawn since the page began
  bool page_empty = true;
  bool wide_advance = false;  // [2]: three columns per character (window layout)
  int colour_number = 0;      // [col N]

 private:
  std::array<std::array<char, kPageGridColumns>, kPageGridRows> grid_{};
};

}  // namespace quill
