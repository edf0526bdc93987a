#pragma once
// The demo's sounds, made at build time: music, effects and ambiences synthesised here, voices
// spoken by espeak-ng and encoded to Ogg Vorbis.
#include <cstdint>
#include <string>
#include <vector>

#include "common/wav_file.h"

namespace demo_sound {

constexpr int kMusicRate = 44100;
constexpr int kEffectRate = 22050;

struct MusicTrack {
  std::string name;
  quill::WavSound pcm;
  uint32_t loop_start_frame;  // after the intro bar
};

struct Effect {
  std::string name;
  quill::WavSound pcm;
};

MusicTrack EveningTheme();
MusicTrack MorningTheme();
std::vector<Effect> OneShotEffects();
std::vector<Effect> LoopingEffects();

}  // namespace demo_sound
