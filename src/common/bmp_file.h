#pragma once
// Windows bitmap files (the panic picture a game keeps beside its archives).
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/picture.h"

namespace quill {

// A BMP file (any of the usual bit depths) as a 24-bit picture; nothing when the bytes are not a
// bitmap or are damaged.
std::optional<Picture> DecodeBmp(std::span<const uint8_t> file, std::string* error = nullptr);

// A 24-bit BMP file of the picture.
std::vector<uint8_t> EncodeBmp(const Picture& picture);

}  // namespace quill
