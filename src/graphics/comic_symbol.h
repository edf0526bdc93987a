#pragma once
// `manpu NAME[,MODE[,X,Y]]`: one comic symbol (a sweat drop, a flash of anger) over the scene at
// (S032, S033), drawn with the mask in the right half of its picture. Mode 0 shows it, mode 1
// also keeps it in the screen buffer, mode 2 blinks it on the timer. The next screen rebuild
// removes it.
#include <cstdint>
#include <string_view>

#include "common/picture.h"

namespace quill {

class Engine;

class ComicSymbol {
 public:
  explicit ComicSymbol(Engine& engine) : engine_(engine) {}

  void Command(std::string_view argument);
  // TickComicSymbol: every 55 ms timer tick, with the timer's tick counter.
  void Tick(uint32_t tick_counter);
  // RemoveComicSymbol: the clean area back on the display.
  void Remove();

  bool active() const { return active_; }
  int mode() const { return mode_; }

 private:
  int X() const;
  int Y() const;

  Engine& engine_;
  Picture symbol_;  // image left, mask right
  Picture clean_, composite_, restore_;
  int mode_ = 0;
  bool active_ = false;
};

}  // namespace quill
