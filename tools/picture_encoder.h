#pragma once
// Packed pictures from pictures: the dictionary coder (hash-chain matches over a 16 KiB window),
// with the optional run-length and delta stages.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/picture.h"

namespace quill {

struct PackedPictureOptions {
  bool rle = false;    // run-length stage (flag 40 hex)
  bool delta = false;  // delta stage (flag 80 hex)
  // Takes every match of 3 bytes and more: a smaller stream that decodes more slowly. Otherwise
  // matches that save only a byte or two are written as literals.
  bool dense = false;
};

// A whole packed picture member (header and data). nullopt (and *error) for a picture wider or
// higher than 65535 pixels.
std::optional<std::vector<uint8_t>> EncodePackedPicture(const Picture& picture,
                                                        PackedPictureOptions options,
                                                        std::string* error = nullptr);
// Tries every stage combination and keeps the smallest result.
std::optional<std::vector<uint8_t>> EncodePackedPictureSmallest(const Picture& picture,
                                                                bool dense = false,
                                                                std::string* error = nullptr);

// The stages on their own, inverse to the decoder's.
std::vector<uint8_t> EncodeDictionaryStage(std::span<const uint8_t> data, bool dense = false);
std::vector<uint8_t> EncodeRunLengthStage(std::span<const uint8_t> data);
// In place: each byte becomes its difference from the same channel of the pixel before it.
void EncodeDeltaStage(std::span<uint8_t> bytes);

}  // namespace quill
