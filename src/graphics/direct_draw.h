#pragma once
// `direct NAME,WAIT,X,Y`: the picture straight onto the display at (X, Y), then the script waits
// WAIT milliseconds (counted from the command's start) while window messages go on.
#include <string>
#include <string_view>

namespace quill {

class Engine;

struct DirectArguments {
  std::string name;  // at most 31 bytes
  int wait = 0, x = 0, y = 0;
};

constexpr size_t kDirectNameChars = 31;

// The numbers after the first, second and third comma; after a missing comma the rest are 0.
DirectArguments ReadDirectArguments(std::string_view argument);

void DirectDraw(Engine& engine, std::string_view argument);

}  // namespace quill
