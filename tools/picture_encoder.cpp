#include "tools/picture_encoder.h"

#include <algorithm>
#include <cstring>

#include "common/byte_io.h"
#include "graphics/packed_picture.h"

namespace quill {

namespace {

constexpr size_t kWindow = 16384;
constexpr size_t kRingSize = 1 << 15;  // larger than the window, so a chain never wraps into it
constexpr int kHashBits = 15;
constexpr int kMaxChain = 48;
constexpr size_t kMaxMatch = 4096;
constexpr size_t kGoodEnough = 1024;

// The flag byte before every eight tokens, filled most significant bit first.
class TokenWriter {
 public:
  explicit TokenWriter(std::vector<uint8_t>& out) : out_(out) {}

  void Literal(uint8_t b) {
    Begin(false);
    out_.push_back(b);
  }
  // 9 to 40 bytes.
  void LiteralRun(const uint8_t* p, size_t n) {
    Begin(true);
    out_.push_back(static_cast<uint8_t>(((n - 9) << 2) | 3));
    out_.insert(out_.end(), p, p + n);
  }
  // Writes the cheapest token for a match and returns the length it covers (0: none fits).
  size_t Match(size_t dist, size_t len) {
    const size_t d = dist - 1;
    if (dist <= 32 && len >= 2 && len <= 4) {
      Begin(true);
      out_.push_back(static_cast<uint8_t>((d << 2) | (len - 2)));
      return len;
    }
    if (len < 3) return 0;
    if (dist <= 1024 && len <= 18) {
      Begin(true);
      out_.push_back(static_cast<uint8_t>(0x80 | (d >> 4)));
      out_.push_back(static_cast<uint8_t>(((d & 15) << 4) | (len - 3)));
      return len;
    }
    uint8_t c;
    if (len >= 4096) {
      len = 4096, c = 255;
    } else if (len >= 1024) {
      len = 1024, c = 254;
    } else if (len >= 256) {
      len = 256, c = 253;
    } else {
      c = static_cast<uint8_t>(len - 3);
    }
    Begin(true);
    out_.push_back(static_cast<uint8_t>(0xC0 | (d >> 8)));
    out_.push_back(static_cast<uint8_t>(d & 0xFF));
    out_.push_back(c);
    return len;
  }

 private:
  void Begin(bool set) {
    if (used_ == 8) {
      flag_pos_ = out_.size();
      out_.push_back(0);
      used_ = 0;
    }
    if (set) out_[flag_pos_] |= static_cast<uint8_t>(0x80 >> used_);
    ++used_;
  }

  std::vector<uint8_t>& out_;
  size_t flag_pos_ = 0;
  int used_ = 8;
};

struct Found {
  size_t dist = 0, len = 0;
};

class MatchFinder {
 public:
  explicit MatchFinder(std::span<const uint8_t> data)
      : data_(data), head_(size_t{1} << kHashBits, 0), prev_(kRingSize, 0) {}

  // Adds every position below end to the chains.
  void InsertUpTo(size_t end) {
    end = std::min(end, data_.size() >= 3 ? data_.size() - 2 : 0);
    for (; inserted_ < end; ++inserted_) {
      uint32_t h = Hash(inserted_);
      prev_[inserted_ & (kRingSize - 1)] = head_[h];
      head_[h] = static_cast<uint32_t>(inserted_ + 1);
    }
  }

  // The longest match at pos (the nearest of equal length); positions before pos are inserted.
  Found Best(size_t pos) const {
    Found best;
    const size_t n = data_.size();
    const size_t limit = std::min(kMaxMatch, n - pos);
    if (limit < 2) return best;
    const uint8_t* cur = data_.data() + pos;
    if (limit >= 3) {
      uint32_t cand = head_[Hash(pos)];
      for (int chain = 0; cand != 0 && chain < kMaxChain; ++chain) {
        size_t c = cand - 1;
        if (c >= pos || pos - c > kWindow) break;
        const uint8_t* p = data_.data() + c;
        if (p[best.len] == cur[best.len]) {  // best.len < limit here
          size_t len = 0;
          while (len < limit && p[len] == cur[len]) ++len;
          if (len > best.len) {
            best = {pos - c, len};
            if (len >= kGoodEnough || len == limit) break;
          }
        }
        uint32_t next = prev_[c & (kRingSize - 1)];
        if (next == 0 || next - 1 >= c) break;
        cand = next;
      }
    }
    if (best.len < 3) {
      // Two-byte matches only pay as short tokens, within 32 bytes.
      for (size_t d = 1; d <= std::min<size_t>(32, pos); ++d) {
        if (cur[-static_cast<ptrdiff_t>(d)] == cur[0] &&
            cur[1 - static_cast<ptrdiff_t>(d)] == cur[1]) {
          best = {d, 2};
          break;
        }
      }
    }
    return best;
  }

 private:
  uint32_t Hash(size_t i) const {
    uint32_t v = (uint32_t{data_[i]} << 16) | (uint32_t{data_[i + 1]} << 8) | data_[i + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  }

  std::span<const uint8_t> data_;
  std::vector<uint32_t> head_;  // position + 1 of the latest occurrence; 0 none
  std::vector<uint32_t> prev_;  // the occurrence before, by position in the ring
  size_t inserted_ = 0;
};

void FlushLiterals(TokenWriter& w, const uint8_t* p, size_t n) {
  while (n >= 9) {
    size_t k = std::min<size_t>(n, 40);
    if (n > 40 && n - 40 < 9) k = n - 9;  // leave a run-sized rest rather than single bytes
    w.LiteralRun(p, k);
    p += k;
    n -= k;
  }
  for (size_t i = 0; i < n; ++i) w.Literal(p[i]);
}

// Every token costs the decoder about the same, so short matches that save a byte or two are left
// as literals unless the caller wants the smallest stream.
bool Worthwhile(const Found& f, bool dense) {
  if (f.dist <= 32 && f.len >= 2 && f.len <= 4) return true;
  if (f.dist <= 1024) return f.len >= (dense ? 3u : 5u);
  return f.len >= (dense ? 3u : 8u);
}

}  // namespace

std::vector<uint8_t> EncodeDictionaryStage(std::span<const uint8_t> data, bool dense) {
  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 64);
  TokenWriter writer(out);
  MatchFinder finder(data);
  const size_t n = data.size();
  size_t pos = 0, literals = 0;  // literals: pending bytes before pos
  while (pos < n) {
    finder.InsertUpTo(pos);
    Found here = finder.Best(pos);
    if (Worthwhile(here, dense) && here.len < 32 && pos + 1 < n) {
      // One step of lazy matching: a clearly longer match one byte later wins.
      finder.InsertUpTo(pos + 1);
      Found next = finder.Best(pos + 1);
      if (next.len > here.len + 1) here = {};
    }
    if (!Worthwhile(here, dense)) {
      ++literals;
      ++pos;
      continue;
    }
    FlushLiterals(writer, data.data() + pos - literals, literals);
    literals = 0;
    pos += writer.Match(here.dist, here.len);
  }
  FlushLiterals(writer, data.data() + pos - literals, literals);
  return out;
}

std::vector<uint8_t> EncodeRunLengthStage(std::span<const uint8_t> data) {
  std::vector<uint8_t> out;
  out.reserve(data.size() / 2 + 64);
  const uint8_t* p = data.data();
  const size_t n = data.size();
  size_t pos = 0, lit_start = 0;
  auto flush = [&](size_t end) {
    while (lit_start < end) {
      size_t k = std::min<size_t>(end - lit_start, 128);
      out.push_back(static_cast<uint8_t>(k - 1));
      out.insert(out.end(), p + lit_start, p + lit_start + k);
      lit_start += k;
    }
  };
  while (pos < n) {
    size_t best_unit = 0, best_count = 0;
    for (size_t unit = 1; unit <= 4; ++unit) {
      if (n - pos < 2 * unit) break;
      size_t count = 1;
      while (count < 8192 && pos + (count + 1) * unit <= n &&
             std::memcmp(p + pos + count * unit, p + pos, unit) == 0) {
        ++count;
      }
      if (count * unit > best_count * best_unit) best_unit = unit, best_count = count;
    }
    // A run token costs 2 + unit bytes and may split a literal token.
    if (best_unit == 0 || best_count * best_unit < best_unit + 3) {
      ++pos;
      continue;
    }
    flush(pos);
    size_t c = best_count - 1;
    out.push_back(static_cast<uint8_t>(0x80 | ((best_unit - 1) << 5) | (c >> 8)));
    out.push_back(static_cast<uint8_t>(c & 0xFF));
    out.insert(out.end(), p + pos, p + pos + best_unit);
    pos += best_unit * best_count;
    lit_start = pos;
  }
  flush(n);
  return out;
}

void EncodeDeltaStage(std::span<uint8_t> bytes) {
  for (size_t i = bytes.size(); i-- > 3;) {
    bytes[i] = static_cast<uint8_t>(bytes[i] - bytes[i - 3]);
  }
}

std::optional<std::vector<uint8_t>> EncodePackedPicture(const Picture& picture,
                                                        PackedPictureOptions options,
                                                        std::string* error) {
  if (picture.width() > 0xFFFF || picture.height() > 0xFFFF) {
    if (error)
      *error = "picture of " + std::to_string(picture.width()) + " x " +
               std::to_string(picture.height()) + " is larger than 65535 x 65535";
    return std::nullopt;
  }
  if (picture.bytes().size() > kMaxPictureBytes) {
    if (error) *error = "picture too large to pack";
    return std::nullopt;
  }
  std::vector<uint8_t> raw = picture.bytes();
  if (options.delta) EncodeDeltaStage(raw);
  std::vector<uint8_t> stage1 = options.rle ? EncodeRunLengthStage(raw) : std::move(raw);
  std::vector<uint8_t> packed = EncodeDictionaryStage(stage1, options.dense);
  ByteWriter w;
  w.U16(0);
  w.U8(static_cast<uint8_t>((options.rle ? kPackedRunLengthFlag : 0) |
                            (options.delta ? kPackedDeltaFlag : 0)));
  w.U8(3);
  w.U32(static_cast<uint32_t>(packed.size()));
  w.U32(static_cast<uint32_t>(stage1.size()));
  w.U16(static_cast<uint16_t>(picture.width()));
  w.U16(static_cast<uint16_t>(picture.height()));
  w.Bytes(packed);
  return w.Take();
}

std::optional<std::vector<uint8_t>> EncodePackedPictureSmallest(const Picture& picture, bool dense,
                                                                std::string* error) {
  std::optional<std::vector<uint8_t>> best;
  for (int flags = 0; flags < 4; ++flags) {
    auto packed = EncodePackedPicture(picture, {(flags & 1) != 0, (flags & 2) != 0, dense}, error);
    if (!packed) return std::nullopt;
    if (!best || packed->size() < best->size()) best = std::move(packed);
  }
  return best;
}

}  // namespace quill
