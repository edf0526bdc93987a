#include "audio/music_stream.h"

#include <algorithm>
#include <optional>

namespace quill {
namespace {

// The stream buffers hold at most four seconds of 44.1 kHz stereo.
constexpr uint32_t kLargestStreamRate = 44100;

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
  decoder_.Reset(channels_, h->scale);
  return true;
}

void MusicStream::Close() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
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
    size_t take = static_cast<size_t>(std::min<uint64_t>(samples - done, end_ - read_pos_));
    coded_.resize(take);
    if (fseeko(file_, static_cast<off_t>(read_pos_), SEEK_SET) != 0) break;
    size_t got = std::fread(coded_.data(), 1, take, file_);
    if (got < take) end_ = read_pos_ + got;  // the file is shorter than its index says
    decoder_.Decode(std::span(coded_.data(), got), out + done, play_once >= 2);
    done += got;
    read_pos_ += got;
  }
  std::fill(out + done, out + samples, int16_t{0});
}

}  // namespace quill
