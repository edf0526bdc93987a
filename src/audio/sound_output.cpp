#include "audio/sound_output.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "audio/ogg_voice.h"
#include "common/sjis.h"
#include "common/text_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr int kPausedMasterVolume = -9999;
constexpr int kFadeFloor = -3000;
constexpr int kRingSeconds = 4;

}  // namespace

SoundOutput::SoundOutput(Engine& engine) : engine_(engine) {}

SoundOutput::~SoundOutput() {
  // The device thread must stop pulling before the mixer goes.
  if (device_open_) engine_.platform().OpenAudio(nullptr);
}

bool SoundOutput::OpenDevice() {
  device_open_ = engine_.platform().OpenAudio(
      [this](int16_t* frames, int count) { mixer_.Mix(frames, count); });
  return device_open_;
}

void SoundOutput::InitSound() {
  available_ = device_open_;
  music_state_ = 0;
  mixer_.SetMasterVolume(master_volume_);
}

bool SoundOutput::PlaySound(std::string_view name_in, int kind) {
  if (!available_) return false;
  std::string name = ToUpperAscii(name_in);
  if (name != "SAMPLECV" && !engine_.platform().WindowActive()) return false;
  const Settings& s = engine_.settings();
  ResourceArchives& r = engine_.resources();
  auto read = [](const ResourceArchive& a, int i) {
    return ReadArchiveMember(a.path, a.index, static_cast<size_t>(i));
  };
  if ((kind == kSoundVoice || kind == kSoundEffect) && s.Int(SettingId::CV1) != 0) {
    for (int n = 2; n >= 0; --n) {
      if (n == 1 && s.Int(SettingId::CV2) == 0) continue;  // the male voices
      const ResourceArchive& a = r.voices[static_cast<size_t>(n)];
      int i = a.index.Find(name);
      if (i < 0) continue;
      auto member = read(a, i);
      if (!member) return true;
      PlayOggVoice(*member, name);
      return false;
    }
  }
  if (s.Int(SettingId::SE_ENA) == 0) return true;
  for (int n = 0; n < 3; ++n) {
    const ResourceArchive& a = r.effects[static_cast<size_t>(n)];
    int i = a.index.Find(name);
    if (i < 0) continue;
    auto member = read(a, i);
    if (!member) return true;
    SoundChannel channel = SoundChannel::Effect;
    if (n == 2) {
      channel = kind == kSoundSecondLoop ? SoundChannel::LoopB : SoundChannel::LoopA;
      loop_effect_ = name;
    }
    PlayWadyEffect(*member, channel, name);
    return false;
  }
  return true;
}

void SoundOutput::PlayOggVoice(std::span<const uint8_t> member, std::string name) {
  mixer_.Stop(SoundChannel::Voice);
  std::optional<Pcm> pcm = DecodeOggVoice(member);
  if (!pcm) return;
  mixer_.Play(SoundChannel::Voice, std::move(name), std::move(*pcm), false,
              engine_.settings().Int(SettingId::Vol1));
}

void SoundOutput::PlayWadyEffect(std::span<const uint8_t> member, SoundChannel channel,
                                 std::string name) {
  mixer_.Stop(channel);
  std::optional<Pcm> pcm = DecodeWadyEffect(member);
  if (!pcm) return;
  mixer_.Play(channel, std::move(name), std::move(*pcm), channel != SoundChannel::Effect,
              engine_.settings().Int(SettingId::Vol2));
}

bool SoundOutput::SoundExists(std::string_view name_in) const {
  std::string name = ToUpperAscii(name_in);
  const ResourceArchives& r = engine_.resources();
  auto in = [&](const auto& set) {
    for (const ResourceArchive& a : set) {
      if (a.index.Find(name) >= 0) return true;
    }
    return false;
  };
  return in(r.voices) || in(r.sounds) || in(r.effects);
}

bool SoundOutput::IsVoicePlaying() const {
  return mixer_.IsPlaying(SoundChannel::Voice) || mixer_.IsPlaying(SoundChannel::Effect);
}

void SoundOutput::StopVoice() { mixer_.Stop(SoundChannel::Voice); }

void SoundOutput::StopLoops(int which) {
  if (which == 0 || which == 1) mixer_.Stop(SoundChannel::LoopA);
  if (which == 0 || which == 2) mixer_.Stop(SoundChannel::LoopB);
  if (which == 0) loop_effect_.clear();
}

void SoundOutput::StopAllSounds() {
  for (int c = 0; c < kSoundChannelCount; ++c) mixer_.Stop(static_cast<SoundChannel>(c));
}

bool SoundOutput::PlayMusic(int track) {
  if (!available_) return false;
  if (!engine_.platform().WindowActive()) {
    deferred_track_ = track;
    deferred_countdown_ = 3;
    return true;
  }
  deferred_countdown_ = 0;
  char name[16];
  std::snprintf(name, sizeof name, "M%02d", track);
  const ResourceArchive& bgm = engine_.resources().bgm;
  int i = bgm.index.Find(name);
  if (i < 0) return true;
  if (!StartMusicStream(bgm.path, bgm.index.offsets[static_cast<size_t>(i)],
                        bgm.index.sizes[static_cast<size_t>(i)], 1, name)) {
    return true;
  }
  return false;
}

bool SoundOutput::StartMovieAudioStream(const std::filesystem::path& file, uint64_t offset,
                                        uint64_t size) {
  if (!available_) return false;
  return StartMusicStream(file, offset, size, 2, "MOVIE");
}

bool SoundOutput::StartMusicStream(const std::filesystem::path& file, uint64_t offset,
                                   uint64_t size, int state, std::string name) {
  music_volume_ = engine_.settings().Int(SettingId::Vol3);
  fade_level_ = 0;
  mixer_.Stop(SoundChannel::Music);
  music_state_ = 0;
  if (!stream_.Open(file, offset, size)) return false;
  int b = stream_.bytes_per_second();
  // The ring: four seconds, decoded before it starts.
  Pcm ring;
  ring.channels = stream_.channels();
  ring.rate = stream_.rate();
  ring.samples.assign(static_cast<size_t>(kRingSeconds * b / 2), 0);
  DecodeSeconds(ring.samples.data(), kRingSeconds);
  mixer_.Play(SoundChannel::Music, std::move(name), std::move(ring), true, music_volume_);
  next_quarter_ = 0;
  music_state_ = state;
  return true;
}

void SoundOutput::DecodeSeconds(int16_t* out, int seconds) {
  size_t samples =
      static_cast<size_t>(seconds) * static_cast<size_t>(stream_.bytes_per_second()) / 2;
  int32_t play_once = engine_.banks().S(57);
  stream_.Decode(out, samples, play_once);
  engine_.banks().SetS(57, play_once);
}

void SoundOutput::StopMusic() {
  if (music_state_ == 0) return;
  music_state_ = 0;
  mixer_.Stop(SoundChannel::Music);
  stream_.Close();
}

void SoundOutput::StopMovieAudioStream() { StopMusic(); }

void SoundOutput::FadeOutMusic(int step) {
  fade_level_ = music_volume_ - 1;
  fade_step_ = step;
}

void SoundOutput::UpdateMusicStream() {
  if (!available_ || music_state_ == 0) return;
  if (!paused_ && ++update_calls_ % 8 == 0) mixer_.SetMasterVolume(master_volume_);
  if (fade_level_ != 0) {
    fade_level_ -= fade_step_;
    if (fade_level_ < kFadeFloor) {
      StopMusic();
      fade_level_ = 0;
      return;
    }
    music_volume_ = fade_level_;
  } else {
    music_volume_ = engine_.settings().Int(SettingId::Vol3);
  }
  int b = stream_.bytes_per_second();
  // The cursor stands at the ring's end for a moment before it wraps: that is quarter 0.
  int quarter = static_cast<int>(mixer_.Position(SoundChannel::Music) / b) % kRingSeconds;
  second_.resize(static_cast<size_t>(b / 2));
  while (quarter != next_quarter_) {
    DecodeSeconds(second_.data(), 1);
    mixer_.WritePcm(SoundChannel::Music, static_cast<size_t>(next_quarter_) * b, second_);
    next_quarter_ = (next_quarter_ + 1) % kRingSeconds;
  }
  mixer_.SetVolume(SoundChannel::Music, music_volume_);
  mixer_.SetVolume(SoundChannel::MovieAudio, music_volume_);
}

void SoundOutput::DeferredMusicStart() {
  if (deferred_countdown_ > 0 && --deferred_countdown_ == 1) {
    deferred_countdown_ = 0;
    PlayMusic(deferred_track_);
  }
}

void SoundOutput::ApplyVolumes() {
  if (!available_) return;
  const Settings& s = engine_.settings();
  mixer_.SetMasterVolume(paused_ ? kPausedMasterVolume : master_volume_);
  mixer_.SetVolume(SoundChannel::Voice, s.Int(SettingId::Vol1));
  for (SoundChannel c : {SoundChannel::Effect, SoundChannel::LoopA, SoundChannel::LoopB}) {
    mixer_.SetVolume(c, s.Int(SettingId::Vol2));
  }
  mixer_.SetVolume(SoundChannel::Music, s.Int(SettingId::Vol3));
  mixer_.SetVolume(SoundChannel::MovieAudio, s.Int(SettingId::Vol3));
}

void SoundOutput::PauseSound() {
  paused_ = true;
  ApplyVolumes();
}

void SoundOutput::ResumeSound() {
  paused_ = false;
  ApplyVolumes();
}

void SoundOutput::SetMasterVolume(int volume) {
  master_volume_ = volume;
  if (available_ && !paused_) mixer_.SetMasterVolume(volume);
}

void SoundOutput::PlayMovieAudio(std::span<const uint8_t> member) {
  if (!available_) return;
  fade_level_ = 0;
  mixer_.Stop(SoundChannel::MovieAudio);
  std::optional<Pcm> pcm = DecodeWadyStream(member);
  if (!pcm) return;
  mixer_.Play(SoundChannel::MovieAudio, "MOVIE", std::move(*pcm), false,
              engine_.settings().Int(SettingId::Vol2));
}

void SoundOutput::StopMovieAudio() { mixer_.Stop(SoundChannel::MovieAudio); }

void SoundOutput::WriteState(nlohmann::ordered_json& sound) const {
  sound["available"] = available_;
  sound["paused"] = paused_;
  sound["master_volume"] = master_volume_;
  sound["music_state"] = music_state_;
  sound["music_volume"] = music_volume_;
  sound["fade_level"] = fade_level_;
  sound["deferred_music"] = deferred_countdown_ > 0 ? deferred_track_ : 0;
  sound["loop_effect"] = SjisToUtf8Lossy(loop_effect_);
}

void SoundOutput::WriteChannels(nlohmann::ordered_json& sound) const {
  static constexpr const char* kNames[kSoundChannelCount] = {"voice",  "effect", "loop_a",
                                                             "loop_b", "music",  "movie_audio"};
  nlohmann::ordered_json channels = nlohmann::ordered_json::object();
  for (int c = 0; c < kSoundChannelCount; ++c) {
    ChannelStatus st = mixer_.Status(static_cast<SoundChannel>(c));
    channels[kNames[c]] = {{"name", SjisToUtf8Lossy(st.name)},
                           {"playing", st.playing},
                           {"looping", st.looping},
                           {"volume", st.volume},
                           {"position", st.position},
                           {"length", st.length}};
  }
  sound["channels"] = std::move(channels);
}

}  // namespace quill
