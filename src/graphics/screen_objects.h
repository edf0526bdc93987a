#pragma once
// `obj_`: 32 objects, each a picture with its image in the upper half and its mask in the lower,
// drawn over the screen buffer's picture onto the display (set), into the screen buffer too
// (fix), or onto an off-screen board shown whole (b_make, b_reset, b_set, b_show, b_end).
//   obj_load N,NAME   obj_del N   obj_set N,X,Y[,WAIT]   obj_fix N,X,Y[,WAIT]   obj_era
//   N,X,Y[,WAIT]
#include <array>
#include <string_view>

#include "common/picture.h"

namespace quill {

class Engine;

constexpr int kObjectCount = 32;

struct ScreenObject {
  bool created = false;
  Picture picture;    // image above, mask below
  Picture composite;  // the picture's width, half its height
  // Where it was last drawn (set, fix, b_set), for the state dump.
  int x = 0, y = 0;
};

class ScreenObjects {
 public:
  explicit ScreenObjects(Engine& engine) : engine_(engine) {}

  void Command(std::string_view argument);
  // ResetObjects: every object and the board forgotten.
  void Reset();

  const ScreenObject& object(int n) const { return objects_[static_cast<size_t>(n)]; }
  bool board_made() const { return board_made_; }
  const Picture& board() const { return board_; }

 private:
  // The object's picture over `under`'s area at (x, y), into the composite.
  void Compose(ScreenObject& object, const Picture& under, int x, int y);

  Engine& engine_;
  std::array<ScreenObject, kObjectCount> objects_;
  Picture board_;
  bool board_made_ = false;
};

}  // namespace quill
