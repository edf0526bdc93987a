#pragma once
// `shake TYPE[,AMPLITUDE[,PERIOD]]`: the whole window jolts with a shrinking amplitude.
#include <string_view>

namespace quill {

class Engine;

struct ShakeArguments {
  int type = 0;        // 0 vertical, 1 horizontal, 2 random directions, others none
  int amplitude = 20;  // pixels; the first step's offset, shrinking by 2 per period
  int period = 50;     // milliseconds
};

// The command line from its "*": TYPE at byte 7, AMPLITUDE after a comma among the first 49 bytes,
// PERIOD after the next comma among the first 50.
ShakeArguments ReadShakeArguments(std::string_view line);

// Runs the shake to its end and puts the window back.
void ShakeCommand(Engine& engine, std::string_view line);

}  // namespace quill
