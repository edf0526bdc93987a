#include "audio/wady_codec.h"

#include <algorithm>

#include "common/byte_io.h"

namespace quill {
namespace {

constexpr std::array<int16_t, 64> kStreamSteps = {
    0,   2,   4,   6,   8,   10,  12,  15,  18,  21,  24,  28,  32,  36,  40,  44,
    49,  54,  59,  64,  70,  76,  82,  88,  95,  102, 109, 116, 124, 132, 140, 148,
    160, 170, 180, 190, 200, 210, 220, 230, 240, 255, 270, 285, 300, 320, 340, 360,
    380, 400, 425, 450, 475, 500, 525, 550, 580, 610, 650, 700, 750, 800, 900, 1000};
constexpr std::array<int16_t, 32> kBlockSteps = {
    0,   4,   8,   12,  19,  24,  30,   38,   47,   59,   74,   92,   115,  144,  180,  225,
    281, 352, 440, 550, 687, 859, 1073, 1342, 1678, 2097, 2621, 3277, 4096, 5120, 6400, 8000};

constexpr std::array<int16_t, 128> MakeStreamDeltas() {
  std::array<int16_t, 128> t{};
  for (int i = 0; i < 64; ++i) t[i] = kStreamSteps[i];
  for (int i = 1; i < 64; ++i) t[64 + i] = static_cast<int16_t>(-kStreamSteps[i]);
  return t;
}
constexpr std::array<int16_t, 64> MakeBlockDeltas() {
  std::array<int16_t, 64> t{};
  for (int i = 0; i < 32; ++i) {
    t[i] = kBlockSteps[i];
    t[32 + i] = static_cast<int16_t>(-kBlockSteps[i]);
  }
  return t;
}

int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

// n-bit two's complement.
int SignExtend(int v, int bits) { return v >= (1 << (bits - 1)) ? v - (1 << bits) : v; }

// No coded data of the member's size can fill a decoded size past this: the block coding makes
// at most 256 samples from a two-byte code, the stream coding one sample from a byte.
bool PcmSizeFits(uint64_t pcm_size, uint64_t member_size, uint64_t pcm_per_coded_byte) {
  constexpr uint64_t kLargest = 1ull << 30;
  return pcm_size <= kLargest && pcm_size <= member_size * pcm_per_coded_byte + 8;
}

}  // namespace

const std::array<int16_t, 128> kStreamDeltas = MakeStreamDeltas();
const std::array<int16_t, 64> kBlockDeltas = MakeBlockDeltas();
const std::array<uint16_t, 8> kBlockRuns = {3, 4, 5, 6, 8, 16, 32, 256};

std::optional<WadyHeader> ReadWadyHeader(std::span<const uint8_t> member) {
  if (member.size() < kWadyHeaderSize || member[0] != 'W' || member[1] != 'A' || member[2] != 'D' ||
      member[3] != 'Y') {
    return std::nullopt;
  }
  ByteReader r(member);
  r.Skip(5);
  WadyHeader h;
  h.scale = r.U8();
  h.stream_channels = r.U16();
  h.stream_rate = r.U32();
  h.coded_size = r.U32();
  h.frames = r.U32();
  h.pcm_size = r.U32();
  h.loop_start = r.U32();
  h.loop_left = static_cast<int16_t>(r.U16());
  h.loop_right = static_cast<int16_t>(r.U16());
  r.Skip(2);  // format tag
  h.format_channels = r.U16();
  h.format_rate = r.U32();
  return h;
}

void DecodeBlock(std::span<const uint8_t> member, size_t block, std::span<int16_t> out,
                 size_t first, size_t stride) {
  if (block > member.size() || member.size() - block < 10) return;
  ByteReader head(member.subspan(block));
  head.Skip(4);
  uint32_t n = head.U32();
  int16_t v = static_cast<int16_t>(head.U16());
  size_t at = first;
  auto put = [&](int16_t s) {
    if (at < out.size()) out[at] = s;
    at += stride;
  };
  put(v);
  size_t pos = block + 10;
  const int64_t reset_at = static_cast<int64_t>(n) - 300;
  for (uint32_t i = 0; i < n; ++i) {
    if (at >= out.size() || pos >= member.size()) return;
    if (static_cast<int64_t>(i) == reset_at) v = 0;
    uint8_t b = member[pos++];
    if (b & 1) {
      int k = (b >> 1) & 0x3F;
      v = (b & 0x80) ? static_cast<int16_t>(SignExtend(k, 6) * 1024)
                     : Wrap16(v + kBlockDeltas[static_cast<size_t>(k)]);
      put(v);
      continue;
    }
    if (pos >= member.size()) return;
    uint16_t w = static_cast<uint16_t>(b | (member[pos++] << 8));
    int r = kBlockRuns[(w >> 1) & 7];
    int16_t target = static_cast<int16_t>(w & 0xFFF0);
    float step = static_cast<float>(target - v) / static_cast<float>(r);
    float x = v;
    for (int j = 0; j < r; ++j) {
      x += step;
      put(static_cast<int16_t>(x));
    }
    v = target;
  }
}

std::optional<Pcm> DecodeWadyEffect(std::span<const uint8_t> member) {
  std::optional<WadyHeader> h = ReadWadyHeader(member);
  if (!h || (h->format_channels != 1 && h->format_channels != 2) || h->format_rate == 0 ||
      !PcmSizeFits(h->pcm_size, member.size(), 256)) {
    return std::nullopt;
  }
  Pcm pcm;
  pcm.channels = h->format_channels;
  pcm.rate = static_cast<int>(std::min<uint32_t>(h->format_rate, 1u << 20));
  pcm.samples.assign(h->pcm_size / 2 / pcm.channels * pcm.channels, 0);
  if (pcm.channels == 1) {
    DecodeBlock(member, kWadyHeaderSize, pcm.samples, 0, 1);
  } else {
    ByteReader r(member.subspan(kWadyHeaderSize));
    uint64_t left_size = r.U32();
    DecodeBlock(member, 52, pcm.samples, 0, 2);
    if (56 + left_size <= member.size()) {
      DecodeBlock(member, static_cast<size_t>(56 + left_size), pcm.samples, 1, 2);
    }
  }
  return pcm;
}

void StreamDecoder::Decode(std::span<const uint8_t> coded, int16_t* out, bool silent) {
  for (size_t i = 0; i < coded.size(); ++i) {
    uint8_t b = coded[i];
    int16_t& v = value_[next_channel_];
    if (b >= 0x80) {
      v = static_cast<int16_t>(SignExtend(b - 0x80, 7) * 512);
    } else {
      v = Wrap16(v + scale_ * kStreamDeltas[b]);
    }
    out[i] = silent ? 0 : v;
    if (channels_ == 2) next_channel_ ^= 1;
  }
}

std::optional<Pcm> DecodeWadyStream(std::span<const uint8_t> member) {
  std::optional<WadyHeader> h = ReadWadyHeader(member);
  if (!h || (h->stream_channels != 1 && h->stream_channels != 2) || h->stream_rate == 0 ||
      !PcmSizeFits(h->pcm_size, member.size(), 2)) {
    return std::nullopt;
  }
  Pcm pcm;
  pcm.channels = h->stream_channels;
  pcm.rate = static_cast<int>(std::min<uint32_t>(h->stream_rate, 1u << 20));
  pcm.samples.assign(h->pcm_size / 2 / pcm.channels * pcm.channels, 0);
  size_t coded = std::min<uint64_t>(h->coded_size, member.size() - kWadyHeaderSize);
  size_t samples = std::min<uint64_t>(
      {static_cast<uint64_t>(h->frames) * pcm.channels, pcm.samples.size(), coded});
  StreamDecoder d;
  d.Reset(pcm.channels, h->scale);
  d.Decode(member.subspan(kWadyHeaderSize, samples), pcm.samples.data(), false);
  return pcm;
}

}  // namespace quill
