#include "graphics/packed_picture.h"

#include <algorithm>
#include <cstring>

#include "common/byte_io.h"
#include "graphics/delta_kernels.h"

namespace quill {

namespace {

// The most output one input byte can give: a long match of 4096 costs 3 bytes and a flag bit in
// the dictionary stage; a 4-byte run of 8192 units costs 6 bytes in the run-length stage.
constexpr uint64_t kDictionaryMaxGain = 1311;
constexpr uint64_t kRunLengthMaxGain = 5462;

// out[0, len) = out[-dist, len - dist) with the repeating meaning of an overlapping copy.
inline void CopyMatch(uint8_t* out, size_t dist, size_t len) {
  const uint8_t* src = out - dist;
  if (dist >= len) {
    std::memcpy(out, src, len);
  } else if (dist >= 8) {
    // Each 8-byte chunk reads bytes written before it.
    size_t i = 0;
    for (; i + 8 <= len; i += 8) std::memcpy(out + i, src + i, 8);
    for (; i < len; ++i) out[i] = src[i];
  } else if (dist == 1) {
    std::memset(out, src[0], len);
  } else {
    // The output is periodic with period dist from src on; every copy doubles the known part.
    size_t done = 0, period = dist;
    while (done < len) {
      size_t n = std::min(period, len - done);
      std::memcpy(out + done, out + done - period, n);
      done += n;
      period *= 2;
    }
  }
}

// CopyMatch for the body of the stream, where at least len + 32 bytes of room follow out: copies
// whole chunks and may write past len; the next tokens overwrite those bytes.
inline void CopyMatchWild(uint8_t* out, size_t dist, size_t len) {
  const uint8_t* src = out - dist;
  uint8_t* const end = out + len;
  if (dist >= 16) {
    if (dist >= len && len >= 256) {
      std::memcpy(out, src, len);
      return;
    }
    // Each chunk reads only bytes before the one it writes.
    do {
      std::memcpy(out, src, 16);
      out += 16;
      src += 16;
    } while (out < end);
  } else if (dist >= 8) {
    do {
      std::memcpy(out, src, 8);
      out += 8;
      src += 8;
    } while (out < end);
  } else if (len <= 16) {
    for (size_t i = 0; i < len; ++i) out[i] = src[i];
  } else {
    CopyMatch(out, dist, len);
  }
}

// Writes count copies of the unit-byte value at out.
inline void FillUnits(uint8_t* out, const uint8_t* value, size_t unit, size_t count) {
  size_t len = unit * count;
  if (len == 0) return;
  if (unit == 1) {
    std::memset(out, value[0], len);
    return;
  }
  std::memcpy(out, value, unit);
  CopyMatch(out + unit, unit, len - unit);
}

}  // namespace

std::optional<PackedPictureHeader> ReadPackedHeader(std::span<const uint8_t> member,
                                                    std::string* error) {
  if (member.size() < kPackedHeaderSize) {
    if (error) *error = "header cut short (" + std::to_string(member.size()) + " of 16 bytes)";
    return std::nullopt;
  }
  ByteReader r(member);
  PackedPictureHeader h;
  r.Skip(2);
  h.flags = r.U8();
  h.bytes_per_pixel = r.U8();
  h.compressed_size = r.U32();
  h.intermediate_size = r.U32();
  h.width = r.U16();
  h.height = r.U16();
  return h;
}

size_t DecodeDictionaryStage(std::span<const uint8_t> in_span, std::span<uint8_t> out_span,
                             std::string* error) {
  const uint8_t* in = in_span.data();
  const size_t in_size = in_span.size();
  uint8_t* out = out_span.data();
  const size_t out_size = out_span.size();
  // A flag group of eight tokens reads at most 1 + 8 * 41 bytes and writes at most 8 * 4096; with
  // that much input left and room for wild copies, the group runs without bounds checks.
  constexpr size_t kGroupInput = 1 + 8 * 41 + 48;
  constexpr size_t kGroupOutput = 8 * 4096 + 48;
  size_t ip = 0, op = 0;
  auto ended = [&] {
    if (error)
      *error = "compressed data end after " + std::to_string(op) + " of " +
               std::to_string(out_size) + " bytes";
    return op;
  };
  auto before_start = [&](size_t dist) {
    if (error)
      *error = "match at output byte " + std::to_string(op) + " reaches back " +
               std::to_string(dist) + " bytes, before the start";
    return op;
  };
  while (op < out_size) {
    if (in_size - ip >= kGroupInput && out_size - op >= kGroupOutput) {
      unsigned flags = in[ip++];
      for (int token = 0; token < 8; ++token, flags <<= 1) {
        if (!(flags & 0x80)) {
          out[op++] = in[ip++];
          continue;
        }
        unsigned u = in[ip++];
        size_t dist, len;
        if (!(u & 0x80)) {
          if ((u & 3) == 3) {
            size_t n = (u >> 2) + 9;
            std::memcpy(out + op, in + ip, 48);
            op += n;
            ip += n;
            continue;
          }
          dist = (u >> 2) + 1;
          len = (u & 3) + 2;
        } else if (!(u & 0x40)) {
          unsigned b = in[ip++];
          dist = (((u & 0x3F) << 4) | (b >> 4)) + 1;
          len = (b & 0x0F) + 3;
        } else {
          unsigned b = in[ip], c = in[ip + 1];
          ip += 2;
          dist = (((u & 0x3F) << 8) | b) + 1;
          len = c < 253 ? c + 3 : c == 253 ? 256 : c == 254 ? 1024 : 4096;
        }
        if (dist > op) return before_start(dist);
        CopyMatchWild(out + op, dist, len);
        op += len;
      }
      continue;
    }
    // Near the ends: every read and write checked, nothing written past the output.
    if (ip >= in_size) return ended();
    unsigned flags = in[ip++];
    for (int token = 0; token < 8; ++token, flags <<= 1) {
      if (op >= out_size) return op;
      if (ip >= in_size) return ended();
      if (!(flags & 0x80)) {
        out[op++] = in[ip++];
        continue;
      }
      unsigned u = in[ip++];
      size_t dist, len;
      if (!(u & 0x80)) {
        if ((u & 3) == 3) {
          size_t want = std::min<size_t>((u >> 2) + 9, out_size - op);
          size_t have = std::min(want, in_size - ip);
          std::memcpy(out + op, in + ip, have);
          op += have;
          ip += have;
          if (have < want) return ended();
          continue;
        }
        dist = (u >> 2) + 1;
        len = (u & 3) + 2;
      } else if (!(u & 0x40)) {
        if (ip >= in_size) return ended();
        unsigned b = in[ip++];
        dist = (((u & 0x3F) << 4) | (b >> 4)) + 1;
        len = (b & 0x0F) + 3;
      } else {
        if (in_size - ip < 2) return ended();
        unsigned b = in[ip], c = in[ip + 1];
        ip += 2;
        dist = (((u & 0x3F) << 8) | b) + 1;
        len = c == 255 ? 4096 : c == 254 ? 1024 : c == 253 ? 256 : c + 3;
      }
      if (dist > op) return before_start(dist);
      len = std::min(len, out_size - op);
      CopyMatch(out + op, dist, len);
      op += len;
    }
  }
  return op;
}

size_t DecodeRunLengthStage(std::span<const uint8_t> in_span, std::span<uint8_t> out_span,
                            std::string* error) {
  const uint8_t* in = in_span.data();
  const size_t in_size = in_span.size();
  uint8_t* out = out_span.data();
  const size_t out_size = out_span.size();
  size_t ip = 0, op = 0;
  // The body: a token reads at most 129 bytes and writes at most 32768, so with room for that
  // and for wild literal copies nothing needs checking.
  while (in_size - ip >= 129 + 32 && out_size - op >= 32768 + 32) {
    unsigned t = in[ip++];
    if (t < 0x80) {
      size_t n = (t & 0x7F) + 1;
      for (size_t i = 0; i < n; i += 32) std::memcpy(out + op + i, in + ip + i, 32);
      op += n;
      ip += n;
      continue;
    }
    size_t unit = ((t >> 5) & 3) + 1;
    size_t count = ((static_cast<size_t>(t & 0x1F) << 8) | in[ip]) + 1;
    FillUnits(out + op, in + ip + 1, unit, count);
    op += unit * count;
    ip += 1 + unit;
  }
  while (op < out_size) {
    if (ip >= in_size) break;
    unsigned t = in[ip++];
    if (t < 0x80) {
      size_t want = std::min<size_t>((t & 0x7F) + 1, out_size - op);
      size_t have = std::min(want, in_size - ip);
      std::memcpy(out + op, in + ip, have);
      op += have;
      ip += have;
      if (have < want) break;
      continue;
    }
    size_t unit = ((t >> 5) & 3) + 1;
    if (in_size - ip < 1 + unit) {
      ip = in_size;
      break;
    }
    size_t count = ((static_cast<size_t>(t & 0x1F) << 8) | in[ip]) + 1;
    ++ip;
    // A run passing the end keeps only the whole units that fit.
    count = std::min(count, (out_size - op) / unit);
    FillUnits(out + op, in + ip, unit, count);
    op += unit * count;
    ip += unit;
  }
  if (op < out_size && error) {
    *error = "run-length data end after " + std::to_string(op) + " of " + std::to_string(out_size) +
             " bytes";
  }
  return op;
}

void DecodeDeltaStage(std::span<uint8_t> bytes) { DeltaDecode(bytes.data(), bytes.size()); }

std::string PackedHeaderProblem(const PackedPictureHeader& h) {
  if (h.bytes_per_pixel != 3) {
    return "header says " + std::to_string(h.bytes_per_pixel) +
           " bytes per pixel; packed pictures have 3";
  }
  const uint64_t raw = h.raw_size();
  if (raw > kMaxPictureBytes) {
    return "picture of " + std::to_string(h.width) + " x " + std::to_string(h.height) +
           " is too large";
  }
  if (h.run_length() && h.intermediate_size > kMaxPictureBytes) {
    return "intermediate size " + std::to_string(h.intermediate_size) + " is too large";
  }
  // A stream can only give so much per byte; a header asking for more is not a real picture.
  const uint64_t stage1 = h.run_length() ? h.intermediate_size : raw;
  if (stage1 > uint64_t{h.compressed_size} * kDictionaryMaxGain + 4096 ||
      (h.run_length() && raw > stage1 * kRunLengthMaxGain + 32768)) {
    return "header sizes do not fit together (L " + std::to_string(h.compressed_size) + ", M " +
           std::to_string(h.intermediate_size) + ", " + std::to_string(h.width) + " x " +
           std::to_string(h.height) + ")";
  }
  return {};
}

PictureDecodeResult DecodePackedPicture(std::span<const uint8_t> member, Picture& target) {
  PictureDecodeResult result;
  auto refuse = [&](std::string why) {
    result.ok = false;
    result.error = std::move(why);
    return result;
  };
  auto header = ReadPackedHeader(member, &result.error);
  if (!header) return refuse(result.error);
  const PackedPictureHeader& h = *header;
  if (std::string problem = PackedHeaderProblem(h); !problem.empty()) return refuse(problem);
  const uint64_t raw = h.raw_size();
  const uint64_t stage1 = h.run_length() ? h.intermediate_size : raw;
  std::span<const uint8_t> data = member.subspan(kPackedHeaderSize);
  data = data.first(std::min<size_t>(data.size(), h.compressed_size));

  // Rows are tightly packed in Picture, so the stages write straight into the target.
  if (target.width() != h.width || target.height() != h.height) {
    target.Create(h.width, h.height);
  }
  result.target_written = true;
  std::span<uint8_t> pixels(target.bytes().data(), static_cast<size_t>(raw));
  std::string error;
  size_t produced;
  if (h.run_length()) {
    // No more than the bytes at hand can give, so a cut member cannot make a large allocation.
    std::vector<uint8_t> intermediate(
        static_cast<size_t>(std::min<uint64_t>(stage1, data.size() * kDictionaryMaxGain + 4096)));
    size_t got = DecodeDictionaryStage(data, intermediate, &error);
    if (got < stage1) error = "dictionary stage: " + error;
    std::string rle_error;
    produced = DecodeRunLengthStage(std::span(intermediate).first(got), pixels, &rle_error);
    if (error.empty() && produced < raw) error = "run-length stage: " + rle_error;
  } else {
    produced = DecodeDictionaryStage(data, pixels, &error);
  }
  if (h.delta()) DecodeDeltaStage(pixels.first(produced));
  if (produced < raw) std::memset(pixels.data() + produced, 0, raw - produced);
  // A dictionary stage cut short is damage even when the run-length stage still filled the picture.
  if (!error.empty()) return refuse(error);
  return result;
}

}  // namespace quill
