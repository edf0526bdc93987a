#pragma once
// The standing pictures: the names of the current layout, the list text that save data keeps,
// and the cache of five loaded pictures with their masks, replaced in turn.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "common/picture.h"
#include "graphics/picture_loader.h"

namespace quill {

constexpr int kStandingSlotCount = 5;
constexpr int kStandingNameCount = 5;
constexpr int kStandingMaxShown = 4;  // a larger count shows no standing picture
// The list text record: 60 bytes with its NUL.
constexpr size_t kStandingListBytes = 60;
constexpr int kStandingSlotWidth = 200;  // the cache pictures' size before the first load
constexpr int kStandingSlotHeight = 600;

struct StandingSlot {
  Picture picture;
  Picture mask;  // the picture's size once both have loaded
  std::string name;
};

// How standing pictures are fetched: TACHI_TYPE 1 keeps picture and mask side by side in one
// file, split through the load scratch picture; otherwise the mask is the picture named with
// "M" for its first letter.
struct StandingLoad {
  PictureLoader& loader;
  int tachi_type = 0;
  Picture& scratch;
};

class StandingPictures {
 public:
  StandingPictures() { StartUp(); }

  // The start-up state: every slot 200 × 600 named "0", no names, count 0, slot 0 next.
  void StartUp();

  // The standing-picture command. The list is upper-cased; field k (k < 5) becomes names[k]
  // unless it is "-" (keep the name); a missing field empties the name. A last name starting
  // with a digit is the transition number instead of a picture; a trailing comma adds one empty
  // position. The pictures of the layout are then fetched into the cache. Returns the
  // transition number (0 when nothing is shown).
  int SetStandingPictures(std::string_view list, StandingLoad load);

  // No standing pictures: count 0, names 0 and 1 empty, list text empty.
  void Clear();
  // clrb L / clrb R: empties the left or right name of a two-picture layout; the count stays.
  void ClearSide(bool left);
  // gra B…: the picture alone, or at the left or right position (side 'L' or 'R').
  // Returns the list text to hand to SetStandingPictures.
  std::string PlaceSingle(std::string_view name, char side);

  int count() const { return count_; }
  const std::string& name(int k) const { return names_[k]; }
  // The cache slot holding names[k]'s picture (k < count).
  const StandingSlot& SlotFor(int k) const { return slots_[slot_of_[k]]; }
  int slot_index(int k) const { return slot_of_[k]; }
  const StandingSlot& slot(int i) const { return slots_[i]; }
  int next_slot() const { return next_slot_; }
  // The names of the layout joined by "," (at most 59 bytes), as save data records it.
  const std::string& list_text() const { return list_text_; }

 private:
  void SetListText(std::string text);
  void FillCache(StandingLoad load);
  void LoadSlot(StandingSlot& slot, const std::string& name, StandingLoad load);

  int count_ = 0;
  std::array<std::string, kStandingNameCount> names_;
  std::array<int, kStandingNameCount> slot_of_{};
  std::array<StandingSlot, kStandingSlotCount> slots_;
  int next_slot_ = 0;
  std::string list_text_;
};

// Cuts a text to fit a record of `bytes` bytes with its NUL, never inside a two-byte character.
std::string FitRecord(std::string_view text, size_t bytes);

}  // namespace quill
