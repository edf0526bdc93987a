// The mixer: volumes in hundredths of a decibel, summing with saturation, one-shot and looping
// channels, conversion of other rates and channel counts, and the ring's in-place refill.
#include "audio/mixer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quill {
namespace {

Pcm Constant(int channels, int rate, size_t frames, int16_t value) {
  Pcm p;
  p.channels = channels;
  p.rate = rate;
  p.samples.assign(frames * static_cast<size_t>(channels), value);
  return p;
}

std::vector<int16_t> Pull(Mixer& m, int frames) {
  std::vector<int16_t> out(static_cast<size_t>(frames) * 2, 0);
  m.Mix(out.data(), frames);
  return out;
}

TEST(Mixer, VolumeGainInHundredthsOfADecibel) {
  EXPECT_FLOAT_EQ(VolumeGain(0), 1.0f);
  EXPECT_NEAR(VolumeGain(-2000), 0.1f, 1e-6);
  EXPECT_NEAR(VolumeGain(-600), 0.501f, 1e-3);
  EXPECT_EQ(VolumeGain(-10000), 0.0f);
  EXPECT_EQ(VolumeGain(-12000), 0.0f);
}

TEST(Mixer, OneShotPlaysItsSamplesThenStops) {
  Mixer m;
  ASSERT_TRUE(m.Play(SoundChannel::Effect, "A", Constant(2, kMixRate, 100, 1000), false, 0));
  EXPECT_TRUE(m.IsPlaying(SoundChannel::Effect));
  std::vector<int16_t> out = Pull(m, 150);
  EXPECT_EQ(out[0], 1000);
  EXPECT_EQ(out[199], 1000);
  EXPECT_EQ(out[200], 0);
  EXPECT_FALSE(m.IsPlaying(SoundChannel::Effect));
  // A finished sound keeps its buffer until the channel is stopped.
  ChannelStatus s = m.Status(SoundChannel::Effect);
  EXPECT_EQ(s.name, "A");
  EXPECT_EQ(s.length, 400);
  EXPECT_EQ(s.position, 400);
  m.Stop(SoundChannel::Effect);
  EXPECT_EQ(m.Status(SoundChannel::Effect).length, 0);
}

TEST(Mixer, LoopsWrapAndCursorsCountBytesOfTheChannelsOwnPcm) {
  Mixer m;
  ASSERT_TRUE(m.Play(SoundChannel::LoopA, "L", Constant(2, kMixRate, 100, 500), true, 0));
  Pull(m, 250);
  EXPECT_TRUE(m.IsPlaying(SoundChannel::LoopA));
  EXPECT_EQ(m.Position(SoundChannel::LoopA), 50 * 4);
}

TEST(Mixer, SumsSaturateAndVolumesScale) {
  Mixer m;
  m.Play(SoundChannel::Effect, "A", Constant(2, kMixRate, 10, 30000), false, 0);
  m.Play(SoundChannel::LoopA, "B", Constant(2, kMixRate, 10, 30000), true, 0);
  m.Play(SoundChannel::Voice, "C", Constant(2, kMixRate, 10, -20000), false, -2000);
  std::vector<int16_t> out = Pull(m, 4);
  EXPECT_EQ(out[0], 32767);
  m.Play(SoundChannel::Effect, "A", Constant(2, kMixRate, 10, -30000), false, 0);
  m.Play(SoundChannel::LoopA, "B", Constant(2, kMixRate, 10, -30000), true, 0);
  EXPECT_EQ(Pull(m, 4)[0], -32768);
  m.Stop(SoundChannel::LoopA);
  m.Stop(SoundChannel::Voice);
  m.Play(SoundChannel::Effect, "A", Constant(2, kMixRate, 10, 10000), false, -600);
  EXPECT_NEAR(Pull(m, 4)[0], 5011, 2);
  m.Play(SoundChannel::Effect, "A", Constant(2, kMixRate, 10, 10000), false, 0);
  m.SetMasterVolume(-10000);
  EXPECT_EQ(Pull(m, 4)[0], 0);
}

TEST(Mixer, OtherRatesAndMonoAreConvertedAtFullLevel) {
  Mixer m;
  // Half a second of a mono 22,050 Hz tone: about 22,050 frames out, the same level both sides.
  Pcm tone;
  tone.channels = 1;
  tone.rate = 22050;
  for (int i = 0; i < 11025; ++i) {
    tone.samples.push_back(static_cast<int16_t>(8000 * std::sin(2 * M_PI * 200.0 * i / 22050)));
  }
  ASSERT_TRUE(m.Play(SoundChannel::Voice, "V", tone, false, 0));
  std::vector<int16_t> out;
  int frames = 0;
  while (m.IsPlaying(SoundChannel::Voice) && frames < 100000) {
    std::vector<int16_t> part = Pull(m, 1024);
    out.insert(out.end(), part.begin(), part.end());
    frames += 1024;
  }
  EXPECT_FALSE(m.IsPlaying(SoundChannel::Voice));
  int16_t peak = 0;
  size_t last = 0;
  for (size_t i = 0; i < out.size(); i += 2) {
    EXPECT_EQ(out[i], out[i + 1]);
    peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(out[i])));
    if (out[i] != 0) last = i / 2;
  }
  EXPECT_NEAR(peak, 8000, 150);
  EXPECT_NEAR(static_cast<double>(last), 22050, 64);
  // Formats the mixer cannot convert leave the channel empty.
  EXPECT_FALSE(m.Play(SoundChannel::Voice, "X", Constant(3, 22050, 10, 1), false, 0));
  EXPECT_EQ(m.Status(SoundChannel::Voice).length, 0);
}

TEST(Mixer, RefillsInPlaceAreCutAtTheBufferEnd) {
  Mixer m;
  m.Play(SoundChannel::Music, "M", Constant(2, kMixRate, 8, 0), true, 0);
  std::vector<int16_t> second(20, 700);
  m.WritePcm(SoundChannel::Music, 16, second);  // from frame 4 on; the rest would not fit
  std::vector<int16_t> out = Pull(m, 10);
  EXPECT_EQ(out[6], 0);
  EXPECT_EQ(out[8], 700);
  EXPECT_EQ(out[15], 700);
  EXPECT_EQ(out[16], 0);  // looped back to the start
}

}  // namespace
}  // namespace quill
