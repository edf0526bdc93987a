#pragma once
// Sounds for fixture games, made by the project's own encoders: block-coded effects, stream-coded
// music and Ogg voices, each a tone of its own so a mix shows which one plays.
#include <cmath>
#include <string>
#include <vector>

#include "common/wav_file.h"
#include "tools/ogg_encoder.h"
#include "tools/wady_encoder.h"

namespace quill::test {

inline WavSound ToneSound(int channels, int rate, double seconds, double hz, int level = 10000) {
  WavSound s{channels, rate, {}};
  int frames = static_cast<int>(seconds * rate);
  for (int i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(level * std::sin(2 * M_PI * hz * i / rate));
    for (int c = 0; c < channels; ++c) s.samples.push_back(v);
  }
  return s;
}

inline std::vector<uint8_t> EffectMember(double seconds, double hz = 500) {
  return EncodeWadyBlock(ToneSound(1, 22050, seconds, hz));
}

inline std::vector<uint8_t> MusicMember(const WavSound& sound, uint32_t loop_start_frame = 0) {
  std::string error;
  StreamOptions options;
  options.loop_start_frame = loop_start_frame;
  return *EncodeWadyStream(sound, options, &error);
}

inline std::vector<uint8_t> VoiceMember(double seconds, double hz = 300) {
  return EncodeOggVorbis(ToneSound(1, 22050, seconds, hz));
}

}  // namespace quill::test
