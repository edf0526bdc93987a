#include "tools/wady_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "audio/wady_codec.h"
#include "common/byte_io.h"

namespace quill {
namespace {

// The block decoder sets its value to 0 before the code this far from the end.
constexpr size_t kResetDistance = 300;
// A run is taken when every interpolated sample lies this close to the sound.
constexpr int kRunTolerance = 48;

int16_t Wrap16(int32_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v)); }

void WriteHeader(ByteWriter& w, int scale, int channels, int rate, uint32_t coded, uint32_t frames,
                 uint32_t loop_start, int16_t loop_left, int16_t loop_right) {
  w.Bytes(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>("WADY"), 4));
  w.U8(0);
  w.U8(static_cast<uint8_t>(scale));
  w.U16(static_cast<uint16_t>(channels));
  w.U32(static_cast<uint32_t>(rate));
  w.U32(coded);
  w.U32(frames);
  w.U32(frames * 2 * static_cast<uint32_t>(channels));
  w.U32(loop_start);
  w.U16(static_cast<uint16_t>(loop_left));
  w.U16(static_cast<uint16_t>(loop_right));
  w.U16(1);
  w.U16(static_cast<uint16_t>(channels));
  w.U32(static_cast<uint32_t>(rate));
  w.U32(static_cast<uint32_t>(rate * 2 * channels));
  w.U16(static_cast<uint16_t>(2 * channels));
  w.U16(16);
}

// The best one-sample code from value v towards s, and the value it leaves.
uint8_t BestSingleCode(int16_t v, int s, int16_t& result) {
  int absolute = std::clamp(static_cast<int>(std::lround(s / 1024.0)), -32, 31);
  uint8_t best = static_cast<uint8_t>(0x81 | ((absolute & 0x3F) << 1));
  result = static_cast<int16_t>(absolute * 1024);
  int best_error = std::abs(result - s);
  for (int k = 0; k < 64; ++k) {
    int16_t r = Wrap16(v + kBlockDeltas[static_cast<size_t>(k)]);
    int e = std::abs(r - s);
    if (e < best_error) {
      best_error = e;
      best = static_cast<uint8_t>(1 | (k << 1));
      result = r;
    }
  }
  return best;
}

// The longest run from v that follows s[0 …] within the tolerance: its code word, or 0.
uint16_t BestRun(int16_t v, std::span<const int16_t> s, size_t stride, size_t available,
                 int& length) {
  for (int index = 7; index >= 0; --index) {
    int r = kBlockRuns[static_cast<size_t>(index)];
    if (static_cast<size_t>(r) > available) continue;
    int last = s[static_cast<size_t>(r - 1) * stride];
    int target = std::clamp((last + 8) & ~15, -32768, 32752);
    float step = static_cast<float>(target - v) / static_cast<float>(r);
    float x = v;
    bool fits = true;
    for (int j = 0; j < r && fits; ++j) {
      x += step;
      fits = std::abs(static_cast<int>(x) - s[static_cast<size_t>(j) * stride]) <= kRunTolerance;
    }
    if (fits) {
      length = r;
      return static_cast<uint16_t>((target & 0xFFF0) | (index << 1));
    }
  }
  return 0;
}

// One channel's block: the first sample, then codes, the last 300 of them one sample each so the
// decoder's reset lands on a code that is chosen knowing it.
std::vector<uint8_t> EncodeBlockChannel(std::span<const int16_t> samples, size_t channel,
                                        size_t channels) {
  size_t count = samples.size() / channels;
  auto at = [&](size_t i) { return samples[i * channels + channel]; };
  std::vector<uint8_t> codes;
  int16_t v = count ? at(0) : 0;
  size_t rest = count ? count - 1 : 0;  // samples after the first
  size_t tail_from = rest >= kResetDistance ? count - kResetDistance : count;
  size_t i = 1;
  uint32_t n = 0;
  while (i < tail_from) {
    int length = 0;
    uint16_t w =
        BestRun(v, samples.subspan(i * channels + channel), channels, tail_from - i, length);
    int16_t single = 0;
    uint8_t code = BestSingleCode(v, at(i), single);
    if (length > 1) {
      codes.push_back(static_cast<uint8_t>(w & 0xFF));
      codes.push_back(static_cast<uint8_t>(w >> 8));
      v = static_cast<int16_t>(w & 0xFFF0);
      i += static_cast<size_t>(length);
    } else {
      codes.push_back(code);
      v = single;
      ++i;
    }
    ++n;
  }
  if (tail_from < count) v = 0;
  for (; i < count; ++i, ++n) {
    int16_t single = 0;
    codes.push_back(BestSingleCode(v, at(i), single));
    v = single;
  }
  ByteWriter block;
  block.U32(static_cast<uint32_t>(codes.size()));
  block.U32(n);
  block.U16(static_cast<uint16_t>(count ? at(0) : 0));
  block.Bytes(codes);
  return block.Take();
}

// The stream code from v towards s with the given scale, and the value it leaves.
uint8_t BestStreamByte(int16_t v, int s, int scale, int16_t& result) {
  int absolute = std::clamp(static_cast<int>(std::lround(s / 512.0)), -64, 63);
  uint8_t best = static_cast<uint8_t>(0x80 + (absolute & 0x7F));
  result = static_cast<int16_t>(absolute * 512);
  int best_error = std::abs(result - s);
  // The table's magnitudes rise with the index: look near the wanted step on either side.
  int wanted = scale ? (s - v) / scale : 0;
  int magnitude = std::abs(wanted);
  const int16_t* steps = kStreamDeltas.data();
  int k = static_cast<int>(std::lower_bound(steps, steps + 64, magnitude) - steps);
  for (int c = std::max(k - 1, 0); c <= std::min(k, 63); ++c) {
    int b = wanted < 0 && c != 0 ? 64 + c : c;
    int16_t r = Wrap16(v + scale * kStreamDeltas[static_cast<size_t>(b)]);
    int e = std::abs(r - s);
    if (e < best_error) {
      best_error = e;
      best = static_cast<uint8_t>(b);
      result = r;
    }
  }
  return best;
}

// Codes the samples; returns the summed error and, when `out` is given, the bytes and the running
// values before the byte at loop_sample.
int64_t StreamPass(std::span<const int16_t> samples, int channels, int scale,
                   std::vector<uint8_t>* out, size_t loop_sample, int16_t loop_values[2]) {
  int16_t v[2] = {0, 0};
  int64_t error = 0;
  for (size_t i = 0; i < samples.size(); ++i) {
    if (i == loop_sample && loop_values) {
      loop_values[0] = v[0];
      loop_values[1] = v[1];
    }
    int c = channels == 2 ? static_cast<int>(i & 1) : 0;
    int16_t r = 0;
    uint8_t b = BestStreamByte(v[c], samples[i], scale, r);
    error += std::abs(r - samples[i]);
    v[c] = r;
    if (out) out->push_back(b);
  }
  return error;
}

}  // namespace

std::vector<uint8_t> EncodeWadyBlock(const WavSound& sound) {
  size_t channels = static_cast<size_t>(sound.channels);
  uint32_t frames = static_cast<uint32_t>(sound.samples.size() / channels);
  std::span<const int16_t> pcm(sound.samples.data(), frames * channels);
  ByteWriter data;
  if (channels == 1) {
    data.Bytes(EncodeBlockChannel(pcm, 0, 1));
  } else {
    std::vector<uint8_t> left = EncodeBlockChannel(pcm, 0, 2);
    data.U32(static_cast<uint32_t>(left.size() - 4));
    data.Bytes(left);
    data.Bytes(EncodeBlockChannel(pcm, 1, 2));
  }
  ByteWriter w;
  WriteHeader(w, 0, sound.channels, sound.rate, static_cast<uint32_t>(data.size()), frames, 0, 0,
              0);
  w.Bytes(data.bytes());
  return w.Take();
}

std::optional<std::vector<uint8_t>> EncodeWadyStream(const WavSound& sound, StreamOptions options,
                                                     std::string* error) {
  size_t channels = static_cast<size_t>(sound.channels);
  uint32_t frames = static_cast<uint32_t>(sound.samples.size() / channels);
  if (options.loop_start_frame >= std::max<uint32_t>(frames, 1)) {
    *error = "the loop start lies past the sound's last frame";
    return std::nullopt;
  }
  std::span<const int16_t> pcm(sound.samples.data(), frames * channels);
  int scale = options.scale;
  if (scale == 0) {
    // The scale that codes the first seconds best.
    std::span<const int16_t> probe = pcm.first(std::min<size_t>(pcm.size(), 400000));
    int64_t best = -1;
    for (int s = 1; s <= 48; ++s) {
      int64_t e = StreamPass(probe, sound.channels, s, nullptr, 0, nullptr);
      if (best < 0 || e < best) {
        best = e;
        scale = s;
      }
    }
  }
  std::vector<uint8_t> coded;
  int16_t loop_values[2] = {0, 0};
  size_t loop_sample = static_cast<size_t>(options.loop_start_frame) * channels;
  StreamPass(pcm, sound.channels, scale, &coded, loop_sample, loop_values);
  ByteWriter w;
  WriteHeader(w, scale, sound.channels, sound.rate, static_cast<uint32_t>(coded.size()), frames,
              static_cast<uint32_t>(loop_sample), loop_values[0], loop_values[1]);
  w.Bytes(coded);
  return w.Take();
}

}  // namespace quill
