#pragma once
// The gallery's picture list (CgList: a picture's CG number is its index) and the flags of the
// pictures seen (CgFlags, kept in the global save).
#include <string>
#include <vector>

#include "engine/value_banks.h"

namespace quill {

constexpr int kCgFlagCount = 2000;

struct GalleryPictures {
  std::vector<std::string> list;
  FlagBank seen{kCgFlagCount};

  // cgfull: every picture of the list counts as seen.
  void MarkAllPicturesSeen() {
    for (size_t i = 0; i < list.size(); ++i) seen.Set(static_cast<int>(i), true);
  }
};

}  // namespace quill
