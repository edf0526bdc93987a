#pragma once
// The "WADY" sound member: a 48-byte header and coded 16-bit PCM. Effects use the block coding
// (decoded whole), music and movie audio the stream coding (one byte per sample, decoded as it
// plays).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quill {

constexpr size_t kWadyHeaderSize = 48;

struct WadyHeader {
  uint8_t scale = 0;  // stream coding: multiplier of the delta table
  uint16_t stream_channels = 0;
  uint32_t stream_rate = 0;
  uint32_t coded_size = 0;  // bytes of coded data after the header
  uint32_t frames = 0;      // sample frames per channel
  uint32_t pcm_size = 0;    // bytes of decoded PCM
  uint32_t loop_start = 0;  // offset into the coded data
  int16_t loop_left = 0, loop_right = 0;
  // The PCM format record at offset 32.
  uint16_t format_channels = 0;
  uint32_t format_rate = 0;
};

// nullopt when the bytes do not begin with a whole header carrying the magic.
std::optional<WadyHeader> ReadWadyHeader(std::span<const uint8_t> member);

// The delta tables and run lengths of the two codings.
extern const std::array<int16_t, 128> kStreamDeltas;
extern const std::array<int16_t, 64> kBlockDeltas;
extern const std::array<uint16_t, 8> kBlockRuns;

// A decoded sound in its own format: interleaved signed 16-bit samples.
struct Pcm {
  int channels = 0;
  int rate = 0;
  std::vector<int16_t> samples;
  size_t bytes() const { return samples.size() * 2; }
};

// Decodes one block-coded channel block found at `block` inside `member`: every output sample
// goes to out[first + k × stride]. Codes past the member's end, and samples past out's end, are
// not read or written; what they would have made stays as out holds it.
void DecodeBlock(std::span<const uint8_t> member, size_t block, std::span<int16_t> out,
                 size_t first, size_t stride);

// A block-coded effect: the header's decoded size of PCM in the header's format. nullopt when the
// magic is missing or the header cannot describe a sound this member holds (channel count other
// than 1 or 2, no rate, a decoded size that no coded data of this size can fill).
std::optional<Pcm> DecodeWadyEffect(std::span<const uint8_t> member);

// The stream coding's decoder: one running value per channel, carried from call to call.
class StreamDecoder {
 public:
  void Reset(int channels, int scale) {
    channels_ = channels;
    scale_ = scale;
    value_[0] = value_[1] = 0;
    next_channel_ = 0;
  }
  void SetValues(int16_t left, int16_t right) {
    value_[0] = left;
    value_[1] = right;
  }
  int16_t value(int channel) const { return value_[channel]; }
  // One sample per byte, channels alternating. With `silent` the running values move on but
  // every output sample is 0.
  void Decode(std::span<const uint8_t> coded, int16_t* out, bool silent);

 private:
  int channels_ = 1;
  int scale_ = 0;
  int16_t value_[2] = {0, 0};
  int next_channel_ = 0;
};

// A whole stream-coded member decoded once (movie audio; qlmtool): the header's frames, running
// values from 0, no loop. nullopt as for DecodeWadyEffect.
std::optional<Pcm> DecodeWadyStream(std::span<const uint8_t> member);

}  // namespace quill
