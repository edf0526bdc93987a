#include "text/page_grid.h"

#include <algorithm>

namespace quill {
namespace {

constexpr uint16_t kHanging[] = {
    0x8140, 0x8141, 0x8142, 0x8148, 0x8149, 0x815B, 0x8160, 0x816A, 0x8176, 0x8178, 0x8193,
    0x81F4, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7, 0x82C1, 0x82E1, 0x82E3, 0x82E5, 0x82EC,
    0x8340, 0x8342, 0x8344, 0x8346, 0x8348, 0x8362, 0x8383, 0x8385, 0x8387, 0x838E, 0x8396};

constexpr uint16_t kFullWidthSpace = 0x8140;
constexpr uint16_t kOpeningBrackets[] = {0x8175, 0x8169, 0x8177};  // 「 （ 『

uint16_t CodeOf(std::string_view ch) {
  if (ch.size() < 2) return ch.empty() ? 0 : static_cast<uint8_t>(ch[0]);
  return static_cast<uint16_t>(static_cast<uint8_t>(ch[0]) << 8 | static_cast<uint8_t>(ch[1]));
}

}  // namespace

bool IsHangingCharacter(uint16_t code) {
  return std::find(std::begin(kHanging), std::end(kHanging), code) != std::end(kHanging);
}

PageGrid::Placement PageGrid::DrawTextChar(std::string_view character, bool full_screen,
                                           int max_columns, bool name_line, bool row_wrapped) {
  Placement out;
  uint16_t code = CodeOf(character);
  bool two_bytes = character.size() >= 2;
  if (!full_screen && column == 0 && row == 0 && !name_line) row = 1;
  if (column >= max_columns &&
      !(two_bytes && IsHangingCharacter(code) && column < max_columns + 2)) {
    column = 0;
    ++row;
    out.wrapped = true;
    row_wrapped = true;
  }
  if (!full_screen) {
    bool opening = two_bytes && std::find(std::begin(kOpeningBrackets), std::end(kOpeningBrackets),
                                          code) != std::end(kOpeningBrackets);
    if (column == 0 && !opening && row != 0) column = 2;
    if (column == 2 && row_wrapped && two_bytes && code == kFullWidthSpace) {
      out.dropped = true;
      out.row = row;
      out.column = column;
      return out;
    }
  }
  out.row = row;
  out.column = column;
  if (row >= 0 && row < kPageGridRows && column >= 0 && column + 1 < kPageGridColumns) {
    grid_[row][column] = character.empty() ? 0 : character[0];
    grid_[row][column + 1] = two_bytes ? character[1] : 0;
  }
  page_empty = false;
  ++page_chars;
  column +=
      (!full_screen && wide_advance) ? 3 : static_cast<int>(std::max<size_t>(character.size(), 1));
  return out;
}

void PageGrid::ResetPage() {
  column = row = 0;
  for (auto& r : grid_) r.fill(0);
  page_empty = true;
  wide_advance = false;
  colour_number = 0;
  page_chars = 0;
}

void PageGrid::SetNameRow(std::string_view name) {
  grid_[0].fill(0);
  size_t n = std::min<size_t>(name.size(), kPageGridColumns - 1);
  std::copy_n(name.data(), n, grid_[0].data());  // an empty view may have no data()
}

}  // namespace quill
