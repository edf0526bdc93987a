// Voices through libvorbisfile over the member in memory, and the trailing-silence cut.
#include "audio/ogg_voice.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tools/ogg_encoder.h"

namespace quill {
namespace {

WavSound Tone(int channels, int rate, double seconds, double silence_after) {
  WavSound s{channels, rate, {}};
  int frames = static_cast<int>(seconds * rate), quiet = static_cast<int>(silence_after * rate);
  for (int i = 0; i < frames + quiet; ++i) {
    int16_t v =
        i < frames ? static_cast<int16_t>(10000 * std::sin(2 * M_PI * 300.0 * i / rate)) : 0;
    for (int c = 0; c < channels; ++c) s.samples.push_back(v);
  }
  return s;
}

TEST(OggVoice, DecodesTheVoiceAndCutsItsTrailingSilence) {
  for (int channels : {1, 2}) {
    auto pcm =
        DecodeOggVoice(EncodeOggVorbis(Tone(channels, 22050, 1.0, channels == 2 ? 0.5 : 0.2)));
    ASSERT_TRUE(pcm) << channels;
    EXPECT_EQ(pcm->channels, channels);
    EXPECT_EQ(pcm->rate, 22050);
    // The tone is kept, the silence after it is not (the coder's ringing may keep a little). The
    // buffer is (channels + 2) bytes a frame, so a mono voice leaves a zero third there too.
    double seconds = static_cast<double>(pcm->samples.size()) / channels / 22050;
    EXPECT_GT(seconds, 0.99) << channels;
    EXPECT_LT(seconds, 1.1) << channels;
  }
}

TEST(OggVoice, SilenceCutOnBothSidesOf30000Bytes) {
  struct Case {
    size_t bytes;
    size_t kept;
  } cases[] = {
      {30000, 30000},                  // at most 30,000 bytes: the whole buffer
      {29996, 29996}, {30004, 15000},  // longer and silent: half, to the 4-byte step
      {40000, 20000}, {40001, 19997},  // from 39,997 down while above 20,000
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> silent(c.bytes, 0);
    EXPECT_EQ(VoiceLengthAfterSilenceCut(silent), c.kept) << c.bytes;
  }
  // Sound up to byte 35,000: the cut stops at the last 4-byte group that is not all zero.
  std::vector<uint8_t> voiced(40000, 0);
  voiced[35001] = 1;
  EXPECT_EQ(VoiceLengthAfterSilenceCut(voiced), 35000u);
  // No silence at all: the last group still goes.
  std::vector<uint8_t> full(40000, 1);
  EXPECT_EQ(VoiceLengthAfterSilenceCut(full), 39996u);
}

TEST(OggVoice, MembersLibvorbisfileRefusesPlayNothing) {
  std::vector<uint8_t> ogg = EncodeOggVorbis(Tone(1, 22050, 0.2, 0));
  EXPECT_FALSE(DecodeOggVoice(std::vector<uint8_t>{}));
  EXPECT_FALSE(DecodeOggVoice(std::vector<uint8_t>(500, 0x4F)));
  EXPECT_FALSE(DecodeOggVoice(std::span(ogg).first(30)));
  // Cut in the middle: what decodes is kept, nothing is read past the end.
  auto cut = DecodeOggVoice(std::span(ogg).first(ogg.size() / 2));
  if (cut) {
    EXPECT_LE(cut->samples.size(), 22050u * 2);
  }
}

}  // namespace
}  // namespace quill
