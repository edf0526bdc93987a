#include "audio/mixer.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace quill {

float VolumeGain(int volume) {
  if (volume <= kSilentVolume) return 0.0f;
  if (volume >= 0) return 1.0f;
  return std::pow(10.0f, static_cast<float>(volume) / 2000.0f);
}

struct Mixer::Voice {
  std::string name;
  Pcm pcm;
  bool looping = false;
  bool playing = true;
  bool flushing = false;
  size_t frame = 0;                 // the next frame of pcm to hand to the converter
  SwrContext* converter = nullptr;  // none when the sound is already 44,100 Hz stereo
  std::vector<int16_t> rendered;

  ~Voice() { swr_free(&converter); }
  size_t frames() const { return pcm.samples.size() / static_cast<size_t>(pcm.channels); }

  bool OpenConverter() {
    if (pcm.rate == kMixRate && pcm.channels == 2) return true;
    AVChannelLayout in{}, out{};
    av_channel_layout_default(&in, pcm.channels);
    av_channel_layout_default(&out, 2);
    int r = swr_alloc_set_opts2(&converter, &out, AV_SAMPLE_FMT_S16, kMixRate, &in,
                                AV_SAMPLE_FMT_S16, pcm.rate, 0, nullptr);
    if (r < 0 || !converter) return false;
    if (pcm.channels == 1) {
      // A mono sound plays at full level on both sides (the library's default lowers it 3 dB).
      const double both[2] = {1.0, 1.0};
      swr_set_matrix(converter, both, 1);
    }
    return swr_init(converter) >= 0;
  }

  // Fills rendered with `count` stereo frames (silence where the sound has ended).
  void Render(int count) {
    rendered.assign(static_cast<size_t>(count) * 2, 0);
    if (converter) {
      RenderConverted(count);
    } else {
      RenderDirect(count);
    }
  }

  void RenderDirect(int count) {
    size_t total = frames();
    int done = 0;
    while (done < count) {
      if (frame >= total) {
        if (!looping || total == 0) {
          playing = false;
          return;
        }
        frame = 0;
      }
      size_t n = std::min<size_t>(total - frame, static_cast<size_t>(count - done));
      std::memcpy(rendered.data() + done * 2, pcm.samples.data() + frame * 2, n * 4);
      frame += n;
      done += static_cast<int>(n);
    }
    if (frame >= total && !looping) playing = false;
  }

  void RenderConverted(int count) {
    size_t total = frames();
    int done = 0;
    while (done < count) {
      uint8_t* dst = reinterpret_cast<uint8_t*>(rendered.data() + done * 2);
      const uint8_t* src = nullptr;
      int src_count = 0;
      if (!flushing && frame >= total) {
        if (looping && total > 0) {
          frame = 0;
        } else {
          flushing = true;
        }
      }
      if (!flushing) {
        // Enough input for what is still wanted, less what the converter already holds.
        int64_t held = swr_get_delay(converter, pcm.rate);
        int64_t wanted = (static_cast<int64_t>(count - done) * pcm.rate + kMixRate - 1) / kMixRate;
        int64_t feed = std::max<int64_t>(wanted - held, 16);
        src_count = static_cast<int>(std::min<int64_t>(feed, static_cast<int64_t>(total - frame)));
        src = reinterpret_cast<const uint8_t*>(pcm.samples.data() + frame * pcm.channels);
        frame += static_cast<size_t>(src_count);
      }
      int got = swr_convert(converter, &dst, count - done, src ? &src : nullptr, src_count);
      if (got < 0 || (flushing && got == 0)) {
        playing = false;
        return;
      }
      done += got;
    }
  }
};

Mixer::Mixer() { volumes_.fill(0); }
Mixer::~Mixer() = default;

bool Mixer::Play(SoundChannel channel, std::string name, Pcm pcm, bool looping, int volume) {
  auto voice = std::make_unique<Voice>();
  voice->name = std::move(name);
  voice->pcm = std::move(pcm);
  voice->looping = looping;
  bool ok = voice->pcm.channels >= 1 && voice->pcm.channels <= 2 && voice->pcm.rate > 0 &&
            voice->OpenConverter();
  if (!ok) voice.reset();
  std::unique_ptr<Voice> old;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t i = static_cast<size_t>(channel);
    old = std::move(channels_[i]);
    channels_[i] = std::move(voice);
    volumes_[i] = volume;
  }
  return ok;
}

void Mixer::Stop(SoundChannel channel) {
  std::unique_ptr<Voice> old;
  std::lock_guard<std::mutex> lock(mutex_);
  old = std::move(channels_[static_cast<size_t>(channel)]);
}

bool Mixer::IsPlaying(SoundChannel channel) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto& v = channels_[static_cast<size_t>(channel)];
  return v && v->playing;
}

void Mixer::SetVolume(SoundChannel channel, int volume) {
  std::lock_guard<std::mutex> lock(mutex_);
  volumes_[static_cast<size_t>(channel)] = volume;
}

void Mixer::SetMasterVolume(int volume) {
  std::lock_guard<std::mutex> lock(mutex_);
  master_volume_ = volume;
}

int Mixer::master_volume() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return master_volume_;
}

int64_t Mixer::Position(SoundChannel channel) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto& v = channels_[static_cast<size_t>(channel)];
  if (!v) return 0;
  return static_cast<int64_t>(std::min(v->frame, v->frames()) * 2 * v->pcm.channels);
}

ChannelStatus Mixer::Status(SoundChannel channel) const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t i = static_cast<size_t>(channel);
  ChannelStatus s;
  s.volume = volumes_[i];
  const auto& v = channels_[i];
  if (!v) return s;
  s.name = v->name;
  s.playing = v->playing;
  s.looping = v->looping;
  s.position = static_cast<int64_t>(std::min(v->frame, v->frames()) * 2 * v->pcm.channels);
  s.length = static_cast<int64_t>(v->pcm.bytes());
  return s;
}

void Mixer::WritePcm(SoundChannel channel, size_t byte_offset, std::span<const int16_t> samples) {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto& v = channels_[static_cast<size_t>(channel)];
  if (!v) return;
  size_t first = byte_offset / 2;
  std::vector<int16_t>& dst = v->pcm.samples;
  if (first >= dst.size()) return;
  size_t n = std::min(samples.size(), dst.size() - first);
  std::memcpy(dst.data() + first, samples.data(), n * 2);
}

void Mixer::Mix(int16_t* out, int frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<int32_t>& sum = sum_;
  sum.assign(static_cast<size_t>(frames) * 2, 0);
  float master = VolumeGain(master_volume_);
  for (size_t c = 0; c < channels_.size(); ++c) {
    Voice* v = channels_[c].get();
    if (!v || !v->playing) continue;
    v->Render(frames);
    // Gain in 1/65536: a 16-bit sample times it stays within 32 bits.
    int32_t gain = static_cast<int32_t>(std::lround(VolumeGain(volumes_[c]) * master * 65536.0f));
    if (gain == 0) continue;
    const int16_t* s = v->rendered.data();
    for (size_t i = 0; i < sum.size(); ++i) sum[i] += (s[i] * gain) >> 16;
  }
  for (size_t i = 0; i < sum.size(); ++i) {
    out[i] = static_cast<int16_t>(std::clamp<int32_t>(sum[i], -32768, 32767));
  }
}

}  // namespace quill
