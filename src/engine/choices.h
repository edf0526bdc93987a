#pragma once
// Choices and click maps: the choice table that select, clickmap (and the selection tree) fill,
// the hover and the confirmation of a choice, the click-map zones with their highlights, pop-ups,
// cursors and time-out. select's layouts are in choices.cpp, the click maps in click_maps.cpp.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/picture.h"
#include "engine/choice_blocks.h"
#include "engine/click_map_script.h"

namespace quill {

class Engine;

// ChoiceMode values.
enum ChoiceModeValue : int {
  kChoiceNone = 0,
  kChoiceWindow = 1,      // select in the window layout
  kChoiceFullScreen = 2,  // select in the full-screen layout
  kChoiceClickMap = 4,
  kChoiceTree = 6,  // the selection tree
};

// One row of the choice table; index 0 only carries the resume of the block's end.
struct ChoiceEntry {
  ClickZone zone;  // the text (name), the rectangles and, for click maps, the zone's kind
  uint32_t resume = 0;
  bool enabled = true;
};

class Choices {
 public:
  explicit Choices(Engine& engine) : engine_(engine) {}

  // Start-up: the plates sys_sw and sys_sw2, and the wide sys_sww and sys_sww2 when
  // SELECT_EXPAND is set.
  void StartUp();

  // select: builds the table from the block after the read position and shows it.
  void SelectCommand();
  // clickmap NAME: the zones of map entry NAME and the block after the read position.
  void ClickmapCommand(std::string_view name);

  // Pointer moves while a choice is shown (UpdateHover for select, UpdateZoneHover for maps).
  void UpdateHover(int x, int y);
  void UpdateZoneHover(int x, int y);
  // A click on the choice (the input handler has checked the debounce).
  void ConfirmChoice();
  // The 55 ms tick while a choice is shown: the click map's time-out.
  void ChoiceTimerTick();
  // Up (-1) and Down (+1) in the window layout: the pointer goes to the previous or next row.
  void MoveChoicePointer(int direction);
  // Closes the choice display and clears the choice state (a released choice wait, the return
  // to the title).
  void CloseChoiceDisplay();

  int count() const { return count_; }
  void set_count(int n) { count_ = n; }
  int hover_index() const { return hover_index_; }
  const ChoiceEntry& entry(int i) const { return table_[i]; }
  int choices_top() const { return choices_top_; }
  int plate_left() const { return plate_left_; }
  int plate_width() const { return plate_width_; }
  int timeout_ticks() const { return timeout_ticks_; }
  int timeout_choice() const { return timeout_choice_; }
  int zone_cursor() const { return zone_cursor_; }
  // What the display shows during a click map (the screen buffer with lit zones and pop-ups).
  const Picture& click_map_display() const { return display_; }

 private:
  void LayoutFullScreenChoices(const Picture& plate, const Picture& lit);
  void LayoutWindowChoices();
  void ShowRow(int row, bool lit);
  void ShowPlate(int i, bool lit);
  void FlashRow(int row);
  void JumpToChoice();
  void EndClickMap();
  // Click maps: draw onto the display only, through the display copy.
  void ShowOnDisplay(const Picture& from, int sx, int sy, int w, int h, int dx, int dy);
  bool ZoneMatches(int i, int x, int y) const;

  Engine& engine_;
  std::array<ChoiceEntry, kMaxChoices + 1> table_{};
  int count_ = 0;
  int hover_index_ = 0;
  int choices_top_ = 0, plate_left_ = 0, plate_width_ = 0;
  int plate_row_ = 0;
  int timeout_ticks_ = 0, timeout_choice_ = 0;
  int zone_cursor_ = 0;
  Picture plate_, plate_lit_, wide_plate_, wide_plate_lit_;  // stacked: image above, mask below
  Picture clean_;                                            // the screen before the plates
  Picture display_;
};

}  // namespace quill
