// Sound costs: mixing one second of all six channels against a memcpy of one second of output,
// WADY decoding against a memcpy of the same PCM, and PlayOggVoice's decode against a bare
// ov_read loop on the same member. The ratios and the share of a core are printed last.
#include <benchmark/benchmark.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/ogg_voice.h"
#include "audio/wady_codec.h"
#include "bench/support/bench_figures.h"
#include "tools/ogg_encoder.h"
#include "tools/wady_encoder.h"

namespace {

using namespace quill;

WavSound Music(int channels, int rate, double seconds) {
  WavSound s{channels, rate, {}};
  int frames = static_cast<int>(seconds * rate);
  for (int i = 0; i < frames; ++i) {
    double t = static_cast<double>(i) / rate;
    double v = 6000 * std::sin(2 * M_PI * 220 * t) + 3000 * std::sin(2 * M_PI * 331 * t) +
               1500 * std::sin(2 * M_PI * 1250 * t) * std::exp(-std::fmod(t, 0.5) * 6);
    for (int c = 0; c < channels; ++c) s.samples.push_back(static_cast<int16_t>(v));
  }
  return s;
}

Pcm AsPcm(const WavSound& s) {
  Pcm p;
  p.channels = s.channels;
  p.rate = s.rate;
  p.samples = s.samples;
  return p;
}

constexpr int kOutputSecondBytes = kMixRate * 4;

void BM_MemcpyOutputSecond(benchmark::State& state) {
  std::vector<uint8_t> from(kOutputSecondBytes, 1), to(kOutputSecondBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemcpyOutputSecond);

// Every channel busy, each in the format it has in a game: voices and effects 22,050 Hz mono,
// loops 22,050 Hz stereo, music and movie audio 44,100 Hz stereo.
void BM_MixSecondSixChannels(benchmark::State& state) {
  Mixer m;
  m.Play(SoundChannel::Voice, "V", AsPcm(Music(1, 22050, 3)), true, -300);
  m.Play(SoundChannel::Effect, "E", AsPcm(Music(1, 22050, 3)), true, -300);
  m.Play(SoundChannel::LoopA, "A", AsPcm(Music(2, 22050, 3)), true, -600);
  m.Play(SoundChannel::LoopB, "B", AsPcm(Music(2, 22050, 3)), true, -600);
  m.Play(SoundChannel::Music, "M", AsPcm(Music(2, 44100, 4)), true, -300);
  m.Play(SoundChannel::MovieAudio, "F", AsPcm(Music(2, 44100, 3)), true, -300);
  std::vector<int16_t> out(1024 * 2);
  for (auto _ : state) {
    // One second as the device pulls it, 1024 frames at a time.
    for (int done = 0; done < kMixRate; done += 1024) m.Mix(out.data(), 1024);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_MixSecondSixChannels)->Unit(benchmark::kMicrosecond);

const WavSound& Effect() {
  static WavSound s = Music(2, 44100, 5);
  return s;
}

void BM_MemcpyEffectPcm(benchmark::State& state) {
  std::vector<int16_t> to(Effect().samples.size());
  for (auto _ : state) {
    std::memcpy(to.data(), Effect().samples.data(), to.size() * 2);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * to.size() * 2));
}
BENCHMARK(BM_MemcpyEffectPcm)->Unit(benchmark::kMicrosecond);

void BM_WadyBlockDecode(benchmark::State& state) {
  std::vector<uint8_t> member = EncodeWadyBlock(Effect());
  for (auto _ : state) benchmark::DoNotOptimize(DecodeWadyEffect(member));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Effect().samples.size() * 2));
}
BENCHMARK(BM_WadyBlockDecode)->Unit(benchmark::kMicrosecond);

void BM_WadyStreamDecode(benchmark::State& state) {
  std::string error;
  std::vector<uint8_t> member = *EncodeWadyStream(Effect(), {}, &error);
  for (auto _ : state) benchmark::DoNotOptimize(DecodeWadyStream(member));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Effect().samples.size() * 2));
}
BENCHMARK(BM_WadyStreamDecode)->Unit(benchmark::kMicrosecond);

const std::vector<uint8_t>& Voice() {
  static std::vector<uint8_t> ogg = EncodeOggVorbis(Music(1, 22050, 4));
  return ogg;
}

void BM_PlayOggVoiceDecode(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(DecodeOggVoice(Voice()));
}
BENCHMARK(BM_PlayOggVoiceDecode)->Unit(benchmark::kMicrosecond);

// The reference: libvorbisfile's own stdio callbacks over the member in memory, ov_read into one
// buffer, nothing else.
void BM_BareOvReadLoop(benchmark::State& state) {
  std::vector<char> pcm(1 << 20);
  for (auto _ : state) {
    FILE* f = fmemopen(const_cast<uint8_t*>(Voice().data()), Voice().size(), "rb");
    OggVorbis_File vf;
    if (ov_open_callbacks(f, &vf, nullptr, 0, OV_CALLBACKS_DEFAULT) < 0) {
      state.SkipWithError("ov_open_callbacks failed");
      break;
    }
    size_t at = 0;
    int section = 0;
    long got;
    while ((got = ov_read(&vf, pcm.data() + at, 4096, 0, 2, 1, &section)) > 0) {
      at = (at + static_cast<size_t>(got)) % (pcm.size() - 4096);
    }
    ov_clear(&vf);  // closes f
    benchmark::DoNotOptimize(pcm.data());
  }
}
BENCHMARK(BM_BareOvReadLoop)->Unit(benchmark::kMicrosecond);

void PrintRatios(const quill::bench::Figures& figures) {
  auto t = [&](const char* name) { return figures.Seconds(name); };
  double mix = t("BM_MixSecondSixChannels"), copy = t("BM_MemcpyOutputSecond");
  if (mix > 0 && copy > 0) {
    std::printf(
        "\nMixing one second of six channels: %.1fx a memcpy of one second of output, "
        "%.3f %% of one core\n",
        mix / copy, mix * 100.0);
  }
  double pcm = t("BM_MemcpyEffectPcm");
  if (pcm > 0) {
    std::printf("WADY block decoding: %.1fx the memcpy of its PCM; stream decoding: %.1fx\n",
                t("BM_WadyBlockDecode") / pcm, t("BM_WadyStreamDecode") / pcm);
  }
  double bare = t("BM_BareOvReadLoop");
  if (bare > 0) {
    std::printf("PlayOggVoice's decode: %.2fx a bare ov_read loop on the same member\n",
                t("BM_PlayOggVoiceDecode") / bare);
  }
}

}  // namespace

int main(int argc, char** argv) { return quill::bench::RunBenchmarks(argc, argv, PrintRatios); }
