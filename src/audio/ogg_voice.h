#pragma once
// Voices: Ogg Vorbis members decoded whole through libvorbisfile, trailing silence cut.
#include <cstdint>
#include <optional>
#include <span>

#include "audio/wady_codec.h"

namespace quill {

// The voice's PCM, or nullopt when libvorbisfile refuses the member or it holds no sound this
// engine plays (more than two channels, no length).
std::optional<Pcm> DecodeOggVoice(std::span<const uint8_t> member);

// The length in bytes that the voice keeps of a decode buffer of `bytes`: a buffer of at most
// 30,000 bytes whole; a longer one loses its trailing all-zero 4-byte groups, never below half.
size_t VoiceLengthAfterSilenceCut(std::span<const uint8_t> bytes);

}  // namespace quill
