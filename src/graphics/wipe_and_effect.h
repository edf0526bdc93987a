#pragma once
// The script commands `wipeset` (the rule picture of transition 5) and `effect` (scripted flashes,
// negatives, tints and window shakes read from the sections of the script "effect").
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace quill {

class Engine;

enum EffectKind : int {
  kEffectMoveWindow = 1,  // value 1, value 2: x and y offsets
  kEffectShowScreen = 2,
  kEffectFill = 3,  // value 1: the colour (red in the low byte)
  kEffectTint = 4,  // value 1: the colour, value 2: its level 0..255
  kEffectNegative = 5,
};

struct EffectStep {
  int kind = 0;
  int period = 0;  // milliseconds
  int32_t value1 = 0;
  int32_t value2 = 0;
  bool operator==(const EffectStep&) const = default;
};

constexpr size_t kMaxEffectSteps = 200;

// A colour digit: "0"–"9", "a"–"f", "A"–"F" give 16 × the value, "g"/"G" 255, anything else 0.
int ColourDigit(char c);
// The steps of the section ":NAME" (name compared upper-cased) of a script (NUL-separated lines);
// empty when there is no such section. At most kMaxEffectSteps steps are kept.
std::vector<EffectStep> ReadEffectSteps(std::span<const uint8_t> script, std::string_view name);

// `wipeset NAME`: remembers the name in the overlay name record and loads the picture as the wipe
// pattern (a name no archive holds leaves the previous pattern).
void WipeSet(Engine& engine, std::string_view name);
// `effect NAME`: runs the section's steps, then shows the screen buffer and puts the window back.
void EffectCommand(Engine& engine, std::string_view name);

}  // namespace quill
