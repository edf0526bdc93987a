#include "common/byte_io.h"

#include <algorithm>

namespace quill {

bool ByteReader::Take(size_t n) {
  if (n > remaining()) {
    pos_ = data_.size();
    ok_ = false;
    return false;
  }
  return true;
}

uint8_t ByteReader::U8() {
  if (!Take(1)) return 0;
  return data_[pos_++];
}

uint16_t ByteReader::U16() {
  if (!Take(2)) return 0;
  uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
  pos_ += 2;
  return v;
}

uint32_t ByteReader::U32() {
  if (!Take(4)) return 0;
  uint32_t v = static_cast<uint32_t>(data_[pos_]) | (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
               (static_cast<uint32_t>(data_[pos_ + 2]) << 16) |
               (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
  pos_ += 4;
  return v;
}

std::vector<uint8_t> ByteReader::Bytes(size_t n) {
  size_t take = std::min(n, remaining());
  std::vector<uint8_t> out(data_.begin() + pos_, data_.begin() + pos_ + take);
  pos_ += take;
  if (take < n) ok_ = false;
  return out;
}

std::string ByteReader::FixedString(size_t width) {
  std::vector<uint8_t> raw = Bytes(width);
  auto end = std::find(raw.begin(), raw.end(), uint8_t{0});
  return std::string(raw.begin(), end);
}

void ByteReader::Skip(size_t n) {
  if (Take(n)) pos_ += n;
}

bool ByteReader::Seek(size_t pos) {
  if (pos > data_.size()) {
    ok_ = false;
    pos_ = data_.size();
    return false;
  }
  pos_ = pos;
  return true;
}

void ByteWriter::U16(uint16_t v) {
  out_.push_back(static_cast<uint8_t>(v));
  out_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::FixedString(std::string_view s, size_t width) {
  if (width == 0) return;
  size_t n = std::min(s.size(), width - 1);
  out_.insert(out_.end(), s.begin(), s.begin() + n);
  out_.insert(out_.end(), width - n, 0);
}

void ByteWriter::PatchU32(size_t pos, uint32_t v) {
  if (pos + 4 > out_.size()) return;
  for (int i = 0; i < 4; ++i) out_[pos + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace quill
