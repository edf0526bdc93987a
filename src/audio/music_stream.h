#pragma once
// A stream-coded track played from its archive file: the decoder's state, the read position,
// the loop start and its running values. The file stays open while the track plays; each call
// reads and decodes the next stretch of coded data.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <vector>

#include "audio/wady_codec.h"

namespace quill {

class MusicStream {
 public:
  MusicStream() = default;
  ~MusicStream() { Close(); }
  MusicStream(const MusicStream&) = delete;
  MusicStream& operator=(const MusicStream&) = delete;

  // Opens the member of `size` bytes at `offset` of the file. False (closed) when the file cannot
  // be read there or the member is no stream this engine plays (not "WADY", channel count other
  // than 1 or 2, a rate of 0 or above 44,100 Hz).
  bool Open(const std::filesystem::path& file, uint64_t offset, uint64_t size);
  void Close();
  bool is_open() const { return file_ != nullptr; }

  int channels() const { return channels_; }
  int rate() const { return rate_; }
  // Bytes of PCM a second (rate × 2 × channels).
  int bytes_per_second() const { return rate_ * 2 * channels_; }

  // Decodes the next `samples` samples (one coded byte each) into out. At the end of the coded
  // data the running values become the loop's, a play-once state of 1 becomes 2, and reading goes
  // on at the loop start; from state 2 on every sample is 0. With no loop region, or when the
  // file ends early, the rest is silence. Nothing is read outside the member.
  void Decode(int16_t* out, size_t samples, int32_t& play_once);

 private:
  // Up to `want` coded bytes from the read position on.
  std::span<const uint8_t> Coded(size_t want);

  std::FILE* file_ = nullptr;
  uint64_t read_pos_ = 0;
  uint64_t end_ = 0;
  uint64_t loop_start_ = 0;
  int16_t loop_left_ = 0, loop_right_ = 0;
  int channels_ = 0, rate_ = 0;
  StreamDecoder decoder_;
  std::vector<uint8_t> window_;  // coded bytes of the file from window_pos_ on
  uint64_t window_pos_ = 0;
};

}  // namespace quill
