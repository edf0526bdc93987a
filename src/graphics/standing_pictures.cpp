#include "graphics/standing_pictures.h"

#include <algorithm>

#include "common/sjis.h"
#include "common/text_util.h"
#include "graphics/game_config.h"
#include "graphics/sprite_sets.h"

namespace quill {

std::string FitRecord(std::string_view text, size_t bytes) {
  if (bytes == 0) return {};
  const size_t limit = bytes - 1;
  size_t end = 0;
  while (end < text.size()) {
    size_t step = IsLeadByte(static_cast<uint8_t>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return std::string(text.substr(0, end));
}

void StandingPictures::StartUp() {
  for (StandingSlot& slot : slots_) {
    slot.picture.Create(kStandingSlotWidth, kStandingSlotHeight);
    slot.mask.Create(kStandingSlotWidth, kStandingSlotHeight);
    slot.name = "0";
  }
  next_slot_ = 0;
  count_ = 0;
  for (std::string& n : names_) n.clear();
  slot_of_.fill(0);
  list_text_.clear();
}

void StandingPictures::SetListText(std::string text) {
  list_text_ = FitRecord(text, kStandingListBytes);
}

void StandingPictures::Clear() {
  count_ = 0;
  names_[0].clear();
  names_[1].clear();
  list_text_.clear();
}

void StandingPictures::ClearSide(bool left) {
  names_[left ? 0 : 1].clear();
  SetListText(names_[0] + "," + names_[1]);
}

std::string StandingPictures::PlaceSingle(std::string_view name, char side) {
  if (side == 'L') {
    names_[0] = name;
  } else if (side == 'R') {
    if (count_ == 1) names_[0].clear();
    names_[1] = name;
  } else {
    count_ = 1;
    for (int k = 0; k < 4; ++k) names_[k].clear();
    SetListText(std::string(name));
    return list_text_;
  }
  SetListText(names_[0] + "," + names_[1]);
  return list_text_;
}

int StandingPictures::SetStandingPictures(std::string_view list_in, StandingLoad load) {
  const std::string list = ToUpperSjis(list_in);
  for (int k = 0; k < kStandingNameCount; ++k) {
    std::string field = CommaField(list, k);
    if (field != "-") names_[k] = field;
  }
  int last = kStandingNameCount - 1;
  while (last >= 0 && names_[last].empty()) --last;
  if (list.empty() || last < 0) {
    // The record follows what is shown, so that a save made now restores no pictures.
    count_ = 0;
    list_text_.clear();
    return 0;
  }
  int transition = 1;
  if (names_[last][0] >= '0' && names_[last][0] <= '9') {
    transition = ParseInt(names_[last]);
    count_ = last;
  } else {
    count_ = last + 1;
  }
  if (list.back() == ',') count_ += 1;
  if (count_ == 1 && names_[0].empty()) {
    count_ = 0;
    list_text_.clear();
    return transition;
  }
  std::string text;
  for (int k = 0; k < count_ && k < kStandingNameCount; ++k) {
    if (k > 0) text += ',';
    text += names_[k];
  }
  SetListText(text);
  FillCache(load);
  return transition;
}

void StandingPictures::FillCache(StandingLoad load) {
  const int shown = std::min(count_, kStandingNameCount);
  bool loaded = true;
  // Each pass loads at most one picture and starts again; names already cached only take their
  // slot. With five names and five slots replaced in turn this ends within five loads.
  while (loaded) {
    loaded = false;
    for (int k = 0; k < shown && !loaded; ++k) {
      const std::string& name = names_[k];
      if (name.empty() || name[0] == '#') continue;
      int found = -1;
      for (int i = 0; i < kStandingSlotCount && found < 0; ++i) {
        if (EqualsIgnoreCase(slots_[i].name, name)) found = i;
      }
      if (found >= 0) {
        slot_of_[k] = found;
        continue;
      }
      LoadSlot(slots_[next_slot_], name, load);
      next_slot_ = (next_slot_ + 1) % kStandingSlotCount;
      loaded = true;
    }
  }
}

void StandingPictures::LoadSlot(StandingSlot& slot, const std::string& name, StandingLoad load) {
  if (load.tachi_type == 1) {
    if (load.loader.LoadPicture(name, load.scratch)) {
      const int half = load.scratch.width() / 2;
      const int h = load.scratch.height();
      slot.picture.Resize(half, h);
      slot.mask.Resize(half, h);
      CopyRect(slot.picture, 0, 0, load.scratch, 0, 0, half, h);
      CopyRect(slot.mask, 0, 0, load.scratch, half, 0, half, h);
    }
  } else {
    load.loader.LoadPicture(name, slot.picture);
    load.loader.LoadPicture(MaskName(name), slot.mask);
  }
  slot.name = name;
}

}  // namespace quill
