#pragma once
// Animated cursor files (RIFF "ACON") from RGBA frames: each frame becomes a cursor resource
// with a 32-bit DIB image and its AND mask, and the steps become the "rate" and "seq " tables.
#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace quill {

// Steps' durations are written in sixtieths of a second (rounded down, at least 1).
std::vector<uint8_t> EncodeAnimatedCursor(const AnimatedCursor& cursor);

}  // namespace quill
