#pragma once
// Animated cursor files (RIFF "ACON"): the "anih" header, the optional "rate" and "seq " tables,
// and a "fram" list of "icon" chunks, each an icon or cursor resource holding DIB images.
#include <optional>
#include <span>
#include <string>

#include "platform/platform.h"

namespace quill {

// Frame times are stored in sixtieths of a second.
constexpr uint32_t JiffiesToMs(uint32_t jiffies) { return jiffies * 1000 / 60; }

// The cursor the file holds, or nullopt and *error for a file that is not one or is damaged
// anywhere (the caller then shows the arrow). Frames are at most 256 × 256; PNG-compressed
// images are not read.
std::optional<AnimatedCursor> ReadAnimatedCursor(std::span<const uint8_t> file,
                                                 std::string* error = nullptr);

}  // namespace quill
