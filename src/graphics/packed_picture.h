#pragma once
// The engine's packed picture format: a 16-byte header, then a dictionary-coded stream that may
// hold a run-length stage and a per-channel delta stage.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "common/picture.h"

namespace quill {

constexpr size_t kPackedHeaderSize = 16;
constexpr uint8_t kPackedRunLengthFlag = 0x40;
constexpr uint8_t kPackedDeltaFlag = 0x80;
// Largest picture (raw bytes) a decoder will allocate for; anything bigger is taken as damage.
constexpr uint64_t kMaxPictureBytes = 256ull << 20;

struct PackedPictureHeader {
  uint8_t flags = 0;
  uint8_t bytes_per_pixel = 3;
  uint32_t compressed_size = 0;    // L: bytes after the header
  uint32_t intermediate_size = 0;  // M: output of the dictionary stage when run-length is on
  uint16_t width = 0;
  uint16_t height = 0;

  bool run_length() const { return (flags & kPackedRunLengthFlag) != 0; }
  bool delta() const { return (flags & kPackedDeltaFlag) != 0; }
  uint64_t raw_size() const { return uint64_t{width} * height * bytes_per_pixel; }
};

// What a picture decoder did. ok false: the input was damaged; error says how, and the decoder's
// comment says what the target holds then.
struct PictureDecodeResult {
  bool ok = true;
  bool target_written = false;  // the target was resized and filled (possibly only in part)
  std::string error;
};

// The header at the start of a member, or nullopt (and *error) when fewer than 16 bytes are there.
std::optional<PackedPictureHeader> ReadPackedHeader(std::span<const uint8_t> member,
                                                    std::string* error = nullptr);

// Why the header cannot belong to a real picture (bytes per pixel other than 3, a picture past
// kMaxPictureBytes, stage sizes no stream of L bytes could produce); empty when it can.
std::string PackedHeaderProblem(const PackedPictureHeader& header);

// Decodes the packed picture at the start of member (header and compressed data; bytes after
// the L compressed bytes are ignored) into target, which takes the header's size.
// - A header that cannot be right (cut short, bytes per pixel other than 3, stage sizes that no
//   stream could produce, or a picture past kMaxPictureBytes) is refused: the target is unchanged.
// - A damaged stream (ending early, a match reaching before the start of the output): decoding
//   stops there; the target has the header's size, the bytes decoded so far pass the later stages,
//   and every byte after them is black (0).
PictureDecodeResult DecodePackedPicture(std::span<const uint8_t> member, Picture& target);

// The stages on their own (the encoder's tests and the tools use them). Each stays inside out,
// returns how many bytes it produced, and on damage sets *error and stops; bytes of out past the
// returned count may have been written over and hold no data.
size_t DecodeDictionaryStage(std::span<const uint8_t> in, std::span<uint8_t> out,
                             std::string* error);
size_t DecodeRunLengthStage(std::span<const uint8_t> in, std::span<uint8_t> out,
                            std::string* error);
// In place: each byte becomes its sum with the same channel of the pixel before it.
void DecodeDeltaStage(std::span<uint8_t> bytes);

}  // namespace quill
