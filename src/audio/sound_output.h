#pragma once
// The sound output: which archive a named sound comes from and which channel plays it, the
// music ring kept filled by the 55 ms timer, its fade, the volumes from the settings and the
// deferred music start while the game window is in the background.
#include <cstdint>
#include <filesystem>
#include <nlohmann/json_fwd.hpp>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "audio/mixer.h"
#include "audio/music_stream.h"

namespace quill {

class Engine;

// PlaySound kinds.
enum SoundKind : int { kSoundVoice = 0, kSoundEffect = 1, kSoundLoop = 2, kSoundSecondLoop = 3 };

class SoundOutput {
 public:
  explicit SoundOutput(Engine& engine);
  ~SoundOutput();
  SoundOutput(const SoundOutput&) = delete;
  SoundOutput& operator=(const SoundOutput&) = delete;

  // Start-up: opens the platform's audio device, which pulls the mixer from then on. False when
  // there is none.
  bool OpenDevice();
  // The first frame: sound becomes available when the device opened.
  void InitSound();

  // Finds the name and plays it on its channel (kinds above). True ("failed") when no archive
  // holds it or its archive cannot be read; false when it started, and when sound is unavailable
  // or the game window is in the background.
  bool PlaySound(std::string_view name, int kind);
  // The upper-cased name is a member of a voice, sound or effect archive.
  bool SoundExists(std::string_view name) const;
  // The voice or the effect channel is playing.
  bool IsVoicePlaying() const;
  void StopVoice();
  // 0 both loop channels (and the looping effect's name is forgotten), 1 loop A, 2 loop B.
  void StopLoops(int which);
  void StopAllSounds();

  // Music track "M" + two digits of the music archive. True when it did not start (deferred
  // while the window is in the background, or missing).
  bool PlayMusic(int track);
  void StopMusic();
  void FadeOutMusic(int step);
  // Every timer tick: refill the ring, run the fade, set the music volumes.
  void UpdateMusicStream();
  // Every timer tick (after the waits): a deferred PlayMusic is tried again on the second tick.
  void DeferredMusicStart();

  void ApplyVolumes();
  void PauseSound();
  void ResumeSound();
  void SetMasterVolume(int volume);

  // Movie audio: a short track decoded whole, or the movie's audio streamed through the ring.
  void PlayMovieAudio(std::span<const uint8_t> member);
  bool StartMovieAudioStream(const std::filesystem::path& file, uint64_t offset, uint64_t size);
  void StopMovieAudio();
  void StopMovieAudioStream();

  bool available() const { return available_; }
  int music_state() const { return music_state_; }
  int music_volume() const { return music_volume_; }
  int fade_level() const { return fade_level_; }
  const std::string& loop_effect() const { return loop_effect_; }
  Mixer& mixer() { return mixer_; }

  // The state dump's "sound" object: the output's state, then (after the keys the script
  // commands add) "channels".
  void WriteState(nlohmann::ordered_json& sound) const;
  void WriteChannels(nlohmann::ordered_json& sound) const;

 private:
  bool StartMusicStream(const std::filesystem::path& file, uint64_t offset, uint64_t size,
                        int state, std::string name);
  void DecodeSeconds(int16_t* out, int seconds);
  void PlayOggVoice(std::span<const uint8_t> member, std::string name);
  void PlayWadyEffect(std::span<const uint8_t> member, SoundChannel channel, std::string name);

  Engine& engine_;
  Mixer mixer_;
  bool device_open_ = false;
  bool available_ = false;
  bool paused_ = false;
  int master_volume_ = 0;
  int music_state_ = 0;  // 0 none, 1 music, 2 a movie's streamed audio
  MusicStream stream_;
  int next_quarter_ = 0;
  int music_volume_ = 0;
  int fade_level_ = 0, fade_step_ = 0;
  int update_calls_ = 0;
  std::string loop_effect_;
  int deferred_track_ = 0, deferred_countdown_ = 0;
  std::vector<int16_t> second_;  // one refilled second of PCM
};

}  // namespace quill
