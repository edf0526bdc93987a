#include "audio/music_stream.h"

#include <algorithm>
#include <optional>

namespace quill {
namespace {

// The stream buffers hold at most four seconds of 44.1 kHz stereo.
constexpr uint32_t kLargestStreamRate = 44100;
// Coded data is read from the file this much at a time; a loop region that fits is then played
// round from memory.
constexpr size_t kWindowBytes = 64 * 1024;

bool ReadAt(std::FILE* f, uint64_t pos, void* into, size_t n) {
  if (fseeko(f, static_cast<off_t>(pos), SEEK_SET) != 0) return false;
  return std::fread(into, 1, n, f) == n;
}

}  // namespace

bool MusicStream::Open(const std::filesystem::path& file, uint64_t offset, uint64_t size) {
  Close();
  if (size < kWadyHeaderSize) return false;
  file_ = std::fopen(file.c_str(), "rb");
  if (!file_) return false;
  uint8_t head[kWadyHeaderSize];
  std::optional<WadyHeader> h;
  if (ReadAt(file_, offset, head, sizeof head)) h = ReadWadyHeader(head);
  if (!h || (h->stream_channels != 1 && h->stream_channels != 2) || h->stream_rate == 0 ||
      h->stream_rate > kLargestStreamRate) {
    Close();
    return false;
  }
  uint64_t data = offset + kWadyHeaderSize;
  // A member cut short ends where its bytes end, whatever the header says.
  end_ = data + std::min<uint64_t>(h->coded_size, size - kWadyHeaderSize);
  loop_start_ = data + h->loop_start;
  loop_left_ = h->loop_left;
  loop_right_ = h->loop_right;
  channels_ = h->stream_channels;
  rate_ = static_cast<int>(h->stream_rate);
  read_pos_ = data;
  window_.clear();
  window_pos_ = 0;
  decoder_.Reset(channels_, h->scale);
  return true;
}

void MusicStream::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

std::span<const uint8_t> MusicStream::Coded(size_t want) {
  if (read_pos_ < window_pos_ || read_pos_ >= window_pos_ + window_.size()) {
    size_t n = static_cast<size_t>(std::min<uint64_t>(kWindowBytes, end_ - read_pos_));
    window_.resize(n);
    window_pos_ = read_pos_;
    size_t got = 0;
    if (fseeko(file_, static_cast<off_t>(read_pos_), SEEK_SET) == 0) {
      got = std::fread(window_.data(), 1, n, file_);
    }
    window_.resize(got);
    if (got < n) end_ = read_pos_ + got;  // the file is shorter than its index says
  }
  size_t at = static_cast<size_t>(read_pos_ - window_pos_);
  return std::span<const uint8_t>(window_).subspan(at, std::min(want, window_.size() - at));
}

void MusicStream::Decode(int16_t* out, size_t samples, int32_t& play_once) {
  size_t done = 0;
  while (done < samples && file_) {
    if (read_pos_ >= end_) {
      decoder_.SetValues(loop_left_, loop_right_);
      if (play_once == 1) play_once = 2;
      if (loop_start_ >= end_) break;
      read_pos_ = loop_start_;
    }
    std::span<const uint8_t> coded = Coded(samples - done);
    decoder_.Decode(coded, out + done, play_once >= 2);
    done += coded.size();
    read_pos_ += coded.size();
  }
  std::fill(out + done, out + samples, int16_t{0});
}

}  // namespace quill
