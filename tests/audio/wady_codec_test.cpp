// The WADY codings: single codes of both, the runs of the block coding, the reset near a block's
// end, stereo layout, and headers that do not fit their member.
#include "audio/wady_codec.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/byte_io.h"
#include "tools/wady_encoder.h"

namespace quill {
namespace {

// A header for `coded` bytes of data.
std::vector<uint8_t> Member(int channels, uint32_t frames, std::vector<uint8_t> coded,
                            int scale = 0, uint32_t pcm_size = 0) {
  ByteWriter w;
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("WADY"), 4));
  w.U8(0);
  w.U8(static_cast<uint8_t>(scale));
  w.U16(static_cast<uint16_t>(channels));
  w.U32(22050);
  w.U32(static_cast<uint32_t>(coded.size()));
  w.U32(frames);
  w.U32(pcm_size ? pcm_size : frames * 2 * channels);
  w.U32(0);
  w.U32(0);
  w.U16(1);
  w.U16(static_cast<uint16_t>(channels));
  w.U32(22050);
  w.U32(22050 * 2 * channels);
  w.U16(static_cast<uint16_t>(2 * channels));
  w.U16(16);
  w.Bytes(coded);
  return w.Take();
}

// A mono block: bytes 0-3 unused, code count, first sample, codes.
std::vector<uint8_t> Block(uint32_t count, int16_t first, std::vector<uint8_t> codes) {
  ByteWriter w;
  w.U32(0);
  w.U32(count);
  w.U16(static_cast<uint16_t>(first));
  w.Bytes(codes);
  return w.Take();
}

std::vector<int16_t> DecodeMono(int16_t first, std::vector<uint8_t> codes, uint32_t frames) {
  uint32_t count = static_cast<uint32_t>(codes.size());
  auto pcm = DecodeWadyEffect(Member(1, frames, Block(count, first, codes)));
  EXPECT_TRUE(pcm);
  return pcm ? pcm->samples : std::vector<int16_t>{};
}

TEST(WadyBlockCoding, SingleCodes) {
  struct Case {
    uint8_t code;
    int16_t from, to;
  } cases[] = {
      {0x81, 1000, 0},       // bit 7 with bits 1-6 zero: the value 0
      {0xFF, 1000, -1024},   // bits 1-6 all set: -1 × 1024
      {0xBF, 0, 31 * 1024},  // 0x1F: the largest absolute value
      {0xC1, 0, -32 * 1024},
      {0x03, 1000, 1004},                                  // table entry 1: +4
      {0x41, 1000, 1000},                                  // entry 32 is minus zero
      {0x3F, 100, 8100},                                   // entry 31: +8000
      {0x7F, 100, -7900},                                  // entry 63: -8000
      {0x3F, 30000, static_cast<int16_t>(38000 - 65536)},  // wraps around 16 bits
  };
  for (const Case& c : cases) {
    std::vector<int16_t> out = DecodeMono(c.from, {c.code}, 2);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0], c.from);
    EXPECT_EQ(out[1], c.to) << std::hex << int(c.code);
  }
}

TEST(WadyBlockCoding, DeltaTableIsMirrored) {
  EXPECT_EQ(kBlockDeltas[31], 8000);
  EXPECT_EQ(kBlockDeltas[32], 0);
  EXPECT_EQ(kBlockDeltas[33], -4);
  EXPECT_EQ(kBlockDeltas[63], -8000);
  EXPECT_EQ(kStreamDeltas[63], 1000);
  EXPECT_EQ(kStreamDeltas[64], 0);
  EXPECT_EQ(kStreamDeltas[65], -2);
  EXPECT_EQ(kStreamDeltas[127], -1000);
}

TEST(WadyBlockCoding, RunWord1234InterpolatesFiveSamplesTo4656) {
  // (0x1234 >> 1) & 7 = 2: run length 5; the target 0x1230.
  std::vector<int16_t> out = DecodeMono(1000, {0x34, 0x12}, 6);
  ASSERT_EQ(out.size(), 6u);
  float step = static_cast<float>(4656 - 1000) / 5.0f;
  float x = 1000;
  for (int j = 1; j <= 5; ++j) {
    x += step;
    EXPECT_EQ(out[static_cast<size_t>(j)], static_cast<int16_t>(x)) << j;
  }
  EXPECT_EQ(out[5], 4656);
  // The next code starts from the target: +4.
  std::vector<int16_t> more = DecodeMono(1000, {0x34, 0x12, 0x03}, 7);
  EXPECT_EQ(more[6], 4660);
}

TEST(WadyBlockCoding, RunsTruncateTowardZeroInSinglePrecision) {
  // From 0 down to -16 (word 0xFFF0 | run index 0 → 3 samples): -5.33, -10.67, -16.
  std::vector<int16_t> out = DecodeMono(0, {0xF0, 0xFF}, 4);
  EXPECT_EQ(out, (std::vector<int16_t>{0, -5, -10, -16}));
}

TEST(WadyBlockCoding, TheValueIsResetThreeHundredCodesBeforeTheEnd) {
  // 301 codes of +4 from 0: the code at index 1 (= 301 - 300) starts from 0 again.
  std::vector<uint8_t> codes(301, 0x03);
  std::vector<int16_t> out = DecodeMono(0, codes, 302);
  EXPECT_EQ(out[1], 4);
  EXPECT_EQ(out[2], 4);  // reset, then +4
  EXPECT_EQ(out[3], 8);
  EXPECT_EQ(out[301], 4 * 300);
  // With fewer than 300 codes nothing is reset.
  std::vector<int16_t> short_out = DecodeMono(0, std::vector<uint8_t>(10, 0x03), 11);
  EXPECT_EQ(short_out[10], 40);
}

TEST(WadyBlockCoding, StereoBlocksGoToTheirSides) {
  std::vector<uint8_t> left = Block(2, 100, {0x03, 0x03});
  std::vector<uint8_t> right = Block(2, -100, {0x05, 0x05});
  ByteWriter data;
  data.U32(static_cast<uint32_t>(left.size() - 4));
  data.Bytes(left);
  data.Bytes(right);
  auto pcm = DecodeWadyEffect(Member(2, 3, data.Take()));
  ASSERT_TRUE(pcm);
  EXPECT_EQ(pcm->channels, 2);
  EXPECT_EQ(pcm->samples, (std::vector<int16_t>{100, -100, 104, -92, 108, -84}));
}

TEST(WadyBlockCoding, DamagedMembersNeverReadOrWriteOutside) {
  // A code count past the member's end: what there is decodes, silence follows.
  auto cut = DecodeWadyEffect(Member(1, 8, Block(1000, 50, {0x03, 0x03})));
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->samples, (std::vector<int16_t>{50, 54, 58, 0, 0, 0, 0, 0}));
  // A run that would pass the decoded size stops at its end.
  auto run = DecodeWadyEffect(Member(1, 3, Block(1, 0, {0x0E, 0x10})));  // run of 256
  ASSERT_TRUE(run);
  EXPECT_EQ(run->samples.size(), 3u);
  // A stereo offset outside the member: the right side stays silent.
  ByteWriter data;
  data.U32(0x7FFFFFF0);
  data.Bytes(Block(1, 7, {0x03}));
  auto stereo = DecodeWadyEffect(Member(2, 2, data.Take()));
  ASSERT_TRUE(stereo);
  EXPECT_EQ(stereo->samples, (std::vector<int16_t>{7, 0, 11, 0}));
}

TEST(WadyHeader, RefusesWhatNoMemberOfItsSizeCanHold) {
  std::vector<uint8_t> good = Member(1, 2, Block(1, 0, {0x03}));
  EXPECT_TRUE(DecodeWadyEffect(good));
  struct Case {
    const char* what;
    size_t offset;
    uint32_t value;
    int bytes;
  } cases[] = {
      {"no magic", 0, 0x59444157 ^ 1, 4},
      {"three channels", 34, 3, 2},
      {"no channels", 34, 0, 2},
      {"no rate", 36, 0, 4},
      {"a decoded size past what the codes can make", 20, 0x40000000, 4},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> m = good;
    for (int i = 0; i < c.bytes; ++i) m[c.offset + i] = static_cast<uint8_t>(c.value >> (8 * i));
    EXPECT_FALSE(DecodeWadyEffect(m)) << c.what;
  }
  EXPECT_FALSE(ReadWadyHeader(std::span(good).first(47)));
}

TEST(WadyStreamCoding, AbsoluteBytes) {
  struct Case {
    uint8_t byte;
    int16_t value;
  } cases[] = {{0x80, 0}, {0xBF, 32256}, {0xC0, -32768}, {0xFF, -512}};
  for (const Case& c : cases) {
    StreamDecoder d;
    d.Reset(1, 3);
    uint8_t in[1] = {c.byte};
    int16_t out[1] = {123};
    d.Decode(in, out, false);
    EXPECT_EQ(out[0], c.value) << std::hex << int(c.byte);
  }
}

TEST(WadyStreamCoding, DeltasScaleAndChannelsKeepTheirOwnValues) {
  StreamDecoder d;
  d.Reset(2, 3);
  // Left: 0x81 → 512, then +3 × 2; right: 0xC0 → -32768, then +3 × -2 wraps around.
  uint8_t in[4] = {0x81, 0xC0, 0x01, 0x41};
  int16_t out[4];
  d.Decode(in, out, false);
  EXPECT_EQ(out[0], 512);
  EXPECT_EQ(out[1], -32768);
  EXPECT_EQ(out[2], 518);
  EXPECT_EQ(out[3], 32762);
  // Silenced: the values go on underneath.
  uint8_t more[2] = {0x01, 0x00};
  int16_t quiet[2] = {1, 1};
  d.Decode(more, quiet, true);
  EXPECT_EQ(quiet[0], 0);
  EXPECT_EQ(quiet[1], 0);
  EXPECT_EQ(d.value(0), 524);
}

TEST(WadyCoders, RoundTripWithinASmallError) {
  WavSound sound{2, 22050, {}};
  for (int i = 0; i < 22050; ++i) {
    double t = i / 22050.0;
    sound.samples.push_back(static_cast<int16_t>(12000 * std::sin(2 * M_PI * 440 * t)));
    sound.samples.push_back(static_cast<int16_t>(9000 * std::sin(2 * M_PI * 660 * t + 1)));
  }
  auto max_error = [&](const Pcm& pcm) {
    EXPECT_EQ(pcm.samples.size(), sound.samples.size());
    int worst = 0;
    for (size_t i = 0; i < std::min(pcm.samples.size(), sound.samples.size()); ++i) {
      worst = std::max(worst, std::abs(pcm.samples[i] - sound.samples[i]));
    }
    return worst;
  };
  auto block = DecodeWadyEffect(EncodeWadyBlock(sound));
  ASSERT_TRUE(block);
  EXPECT_LT(max_error(*block), 600);
  std::string error;
  auto stream = EncodeWadyStream(sound, {}, &error);
  ASSERT_TRUE(stream) << error;
  auto decoded = DecodeWadyStream(*stream);
  ASSERT_TRUE(decoded);
  EXPECT_LT(max_error(*decoded), 300);
}

}  // namespace
}  // namespace quill
