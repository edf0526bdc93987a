#pragma once
// The parts picture commands: partsload loads the parts picture (and the pressed picture), ptset
// draws a piece of the parts picture onto the display with cyan as the transparent colour.
#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "common/picture.h"
#include "graphics/picture_loader.h"

namespace quill {

// `partsload A` or `partsload A,B`: A into parts, B (text after the first comma) into pressed.
// A name no archive holds leaves that picture as it was. Returns the new value of S015: 1 when
// the argument names a pressed picture, else 0.
int RunPartsload(std::string_view argument, PictureLoader& loader, Picture& parts,
                 Picture& pressed);

// x1, y1, x2, y2, dx, dy.
using PtsetArguments = std::array<int32_t, 6>;
// Evaluates a script expression that starts at the view's first byte and ends at its first
// terminator (a comma among them).
using ExpressionEvaluator = std::function<int32_t(std::string_view)>;

// The argument of `ptset`: letters upper-cased, tabs made blanks, then six comma-separated
// expressions; fields the text does not have are 0.
PtsetArguments ReadPtsetArguments(std::string_view argument, const ExpressionEvaluator& evaluate);

// Draws the rectangle (x1, y1)-(x2, y2) of parts at (dx, dy) of display, leaving out cyan pixels
// (blue 255, green 255, red 0). Parts of the rectangle outside the parts picture draw black.
void DrawPtset(const Picture& parts, const PtsetArguments& a, Picture& display);

}  // namespace quill
