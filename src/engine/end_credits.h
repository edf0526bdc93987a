#pragma once
// The end credits of `special 5`: the lines of the script "endroll" roll up a 256-pixel panel at
// the right of the screen, fading in and out at its edges, beside the background.
#include <cstdint>
#include <string>
#include <vector>

#include "common/picture.h"
#include "engine/end_credits_script.h"

namespace quill {

class Engine;

constexpr int kCreditLinePitch = 32;
constexpr int kCreditsWidth = 320;
constexpr int kCreditsPanelX = 544;
constexpr int kCreditsPanelWidth = 256;

// The credits picture: black, 320 wide and 32·L + 580 high, each line in white at
// (0, 600 + 32·i), one bit per pixel.
Picture DrawCredits(Engine& engine, const std::vector<std::string>& lines);

// Rolls the credits to their end (or until the game is asked to exit).
void EndCredits(Engine& engine);

}  // namespace quill
