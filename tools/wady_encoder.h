#pragma once
// WADY members from 16-bit PCM: the block coding (effects) and the stream coding (music, movie
// audio). Both encoders run the engine's decoder alongside, so every code is chosen from the value
// the decoder will really hold.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/wav_file.h"

namespace quill {

// A block-coded member of the whole sound (mono or stereo).
std::vector<uint8_t> EncodeWadyBlock(const WavSound& sound);

struct StreamOptions {
  uint32_t loop_start_frame = 0;  // where the track goes on after its end
  int scale = 0;                  // the delta table's multiplier; 0 chooses the best for the file
};

// A stream-coded member. nullopt (and *error) for a loop start past the end.
std::optional<std::vector<uint8_t>> EncodeWadyStream(const WavSound& sound, StreamOptions options,
                                                     std::string* error);

}  // namespace quill
