#pragma once
// `scroll NAME,DIR,PERIOD,T`: the screen pans across a picture larger than the screen, one pixel
// per PERIOD milliseconds, from one edge to the other (DIR 0 up, 1 to the right, 2 down, 3 to the
// left); the start view comes in with transition T. A click jumps to the end view.
#include <string>
#include <string_view>

namespace quill {

class Engine;

struct ScrollArguments {
  std::string name;
  int direction = 0;
  int period = 1;
  int transition = 0;
};

constexpr size_t kScrollArgumentChars = 63;

// Each number after the next comma; where a comma is missing the same text is read again.
ScrollArguments ReadScrollArguments(std::string_view argument);

void ScrollCommand(Engine& engine, std::string_view argument);

}  // namespace quill
