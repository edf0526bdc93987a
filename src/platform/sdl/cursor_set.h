#pragma once
// The game's mouse cursors under their numbers, as SDL colour cursors, and the stepping of the one
// shown through its animation.
#include <cstdint>
#include <map>
#include <vector>

#include "platform/platform.h"

struct SDL_Cursor;

namespace quill {

class CursorSet {
 public:
  CursorSet() = default;
  ~CursorSet();
  CursorSet(const CursorSet&) = delete;
  CursorSet& operator=(const CursorSet&) = delete;

  // Frames SDL refuses are left out; a cursor with no frame left shows the arrow.
  void Register(int number, const AnimatedCursor& cursor);
  void Show(int number, uint32_t now_ms);
  // Frees every SDL cursor (before SDL shuts down).
  void Clear();
  // Moves the shown cursor on to the step that is due at now_ms.
  void Step(uint32_t now_ms);

  int shown() const { return shown_; }
  // The step of the shown cursor's animation now.
  size_t step() const { return step_; }

 private:
  struct Entry {
    std::vector<SDL_Cursor*> frames;  // nullptr where SDL refused the frame
    std::vector<AnimatedCursor::Step> steps;
  };
  void Apply();
  void Release(Entry& entry);

  std::map<int, Entry> cursors_;
  int shown_ = kDefaultCursor;
  size_t step_ = 0;
  uint32_t step_started_ = 0;
  SDL_Cursor* arrow_ = nullptr;
};

}  // namespace quill
