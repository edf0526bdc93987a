#pragma once
// Bounds-checked little-endian reading and writing. A read past the end yields zeros and clears
// ok(); it never touches memory outside the buffer.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  // Copies n bytes; fewer (and ok() false) when the data ends first.
  std::vector<uint8_t> Bytes(size_t n);
  // A fixed-width field holding a NUL-terminated string.
  std::string FixedString(size_t width);
  void Skip(size_t n);
  bool Seek(size_t pos);

  size_t pos() const { return pos_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return pos_ < data_.size() ? data_.size() - pos_ : 0; }
  bool ok() const { return ok_; }

 private:
  bool Take(size_t n);
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

class ByteWriter {
 public:
  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Bytes(std::span<const uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
  // Writes s cut to width − 1 bytes, NUL-padded to width.
  void FixedString(std::string_view s, size_t width);
  // Overwrites a u32 already written at pos.
  void PatchU32(size_t pos, uint32_t v);

  size_t size() const { return out_.size(); }
  const std::vector<uint8_t>& bytes() const { return out_; }
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
};

}  // namespace quill
