#pragma once
// The mixer: the engine's six sound channels summed into the device's 44,100 Hz stereo. Each
// channel keeps its sound in its own rate and channel count; libswresample converts it as it
// plays. Volumes are in hundredths of a decibel: 0 full, -10000 and below silent.
//
// Threads: the device pulls Mix() on its own thread while the engine starts, stops and refills
// channels on its thread. One mutex guards all of the channels' state; the engine side holds it
// only to swap prepared buffers in or out and to copy a refilled second into the music ring, never
// while decoding, so the device waits at most for a copy.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "audio/wady_codec.h"

namespace quill {

enum class SoundChannel { Voice, Effect, LoopA, LoopB, Music, MovieAudio };
constexpr int kSoundChannelCount = 6;
constexpr int kMixRate = 44100;
constexpr int kSilentVolume = -10000;

// 10^(v / 2000), 0 at -10000 and below, 1 at 0 and above.
float VolumeGain(int volume);

struct ChannelStatus {
  std::string name;
  bool playing = false;
  bool looping = false;
  int volume = 0;
  int64_t position = 0;  // bytes of the channel's own PCM
  int64_t length = 0;
};

class Mixer {
 public:
  Mixer();
  ~Mixer();
  Mixer(const Mixer&) = delete;
  Mixer& operator=(const Mixer&) = delete;

  // Starts a sound from its first byte, replacing what the channel held. False (the channel left
  // empty) when the sound cannot be converted to the device's format.
  bool Play(SoundChannel channel, std::string name, Pcm pcm, bool looping, int volume);
  // Stops and empties the channel.
  void Stop(SoundChannel channel);
  bool IsPlaying(SoundChannel channel) const;
  void SetVolume(SoundChannel channel, int volume);
  void SetMasterVolume(int volume);
  int master_volume() const;
  // The play cursor in bytes of the channel's PCM (0 for an empty channel).
  int64_t Position(SoundChannel channel) const;
  ChannelStatus Status(SoundChannel channel) const;
  // Overwrites part of a channel's PCM in place (the music ring's refill); cut at its end.
  void WritePcm(SoundChannel channel, size_t byte_offset, std::span<const int16_t> samples);

  // The device's pull: `frames` interleaved stereo frames at kMixRate.
  void Mix(int16_t* out, int frames);

 private:
  struct Voice;  // one channel's sound and its converter
  mutable std::mutex mutex_;
  std::array<std::unique_ptr<Voice>, kSoundChannelCount> channels_;
  std::array<int, kSoundChannelCount> volumes_{};
  int master_volume_ = 0;
  std::vector<int32_t> sum_;  // the device thread's mixing buffer, kept between pulls
};

}  // namespace quill
