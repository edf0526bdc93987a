#pragma once
// Ogg Vorbis files from 16-bit PCM through libvorbisenc: the demo's voices and the voices of test
// games.
#include <cstdint>
#include <vector>

#include "common/wav_file.h"

namespace quill {

// A whole Ogg Vorbis file at the given VBR quality (-0.1 … 1.0); empty when the encoder refuses
// the format.
std::vector<uint8_t> EncodeOggVorbis(const WavSound& sound, float quality = 0.4f);

}  // namespace quill
