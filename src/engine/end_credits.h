#pragma once
// The end credits of `special 5`: the lines of the script "endroll" roll up a 256-pixel panel at
// the right of the screen, fading in and out at its edges, beside the background.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/picture.h"

namespace quill {

class Engine;

struct EndCreditsScript {
  int step_ms = 0;
  // The number of the first section's second entry: the background beside the panel is drawn
  // again for a while once the roll reaches its line.
  int32_t second_entry = 0;
  std::vector<std::string> lines;  // Shift-JIS, at most 99 bytes each
};

constexpr size_t kCreditLineBytes = 99;
constexpr int kCreditLinePitch = 32;
constexpr int kCreditsWidth = 320;
constexpr int kCreditsPanelX = 544;
constexpr int kCreditsPanelWidth = 256;

// The script's layout: the step time, the first section up to "*", the credit lines up to a line
// beginning with "*". Nothing when a "*" line is missing, a line has 100 bytes or more, or the
// first section has fewer than two entries.
std::optional<EndCreditsScript> ReadEndCredits(std::span<const uint8_t> script);

// The credits picture: black, 320 wide and 32·L + 580 high, each line in white at
// (0, 600 + 32·i), one bit per pixel.
Picture DrawCredits(Engine& engine, const std::vector<std::string>& lines);

// Rolls the credits to their end (or until the game is asked to exit).
void EndCredits(Engine& engine);

}  // namespace quill
