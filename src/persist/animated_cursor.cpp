#include "persist/animated_cursor.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/byte_io.h"

namespace quill {
namespace {

constexpr uint32_t kIconFlag = 1;      // frames are icon or cursor resources
constexpr uint32_t kSequenceFlag = 2;  // a "seq " table orders the steps
constexpr uint32_t kMaxFrames = 1024;
constexpr uint32_t kMaxSteps = 4096;
constexpr int kMaxSide = 256;

bool Fail(std::string* error, const char* what) {
  if (error) *error = what;
  return false;
}

bool IsId(std::span<const uint8_t> data, size_t at, const char* id) {
  return at + 4 <= data.size() && std::memcmp(data.data() + at, id, 4) == 0;
}

struct Chunk {
  size_t id = 0;    // offset of the four-byte id
  size_t body = 0;  // offset of the data
  size_t size = 0;
};

// The chunks of [from, end): each id, size and data padded to an even length. A chunk whose size
// runs past the end is damage.
bool ReadChunks(std::span<const uint8_t> data, size_t from, size_t end, std::vector<Chunk>& out,
                std::string* error) {
  size_t at = from;
  while (at + 8 <= end) {
    ByteReader r(data.subspan(at + 4, 4));
    size_t size = r.U32();
    if (size > end - at - 8) return Fail(error, "a chunk runs past the end of its list");
    out.push_back({at, at + 8, size});
    at += 8 + size + (size & 1);
  }
  return true;
}

// One DIB image (BITMAPINFOHEADER, palette, colour rows, AND mask rows) into straight RGBA.
bool ReadDib(std::span<const uint8_t> dib, CursorFrame& frame, std::string* error) {
  if (dib.size() >= 8 && dib[0] == 0x89 && dib[1] == 'P') {
    return Fail(error, "PNG-compressed cursor images are not read");
  }
  ByteReader r(dib);
  uint32_t header = r.U32();
  int32_t width = r.I32();
  int32_t height2 = r.I32();
  r.U16();  // planes
  int bits = r.U16();
  uint32_t compression = r.U32();
  r.Skip(12);
  uint32_t colours_used = r.U32();
  if (!r.ok() || header < 40 || header > dib.size()) return Fail(error, "damaged image header");
  if (compression != 0 && !(compression == 3 && bits == 32)) {
    return Fail(error, "compressed cursor images are not read");
  }
  int height = std::abs(height2) / 2;
  if (width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide) {
    return Fail(error, "cursor image size out of range");
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) {
    return Fail(error, "unknown bit depth");
  }
  size_t palette_entries = 0;
  if (bits <= 8) {
    palette_entries = colours_used != 0 ? colours_used : (1u << bits);
    if (palette_entries > (1u << bits)) return Fail(error, "palette too large");
  }
  size_t palette_at = header;
  size_t colour_at = palette_at + palette_entries * 4;
  size_t colour_stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  size_t mask_stride = ((static_cast<size_t>(width) + 31) / 32) * 4;
  size_t mask_at = colour_at + colour_stride * height;
  if (mask_at > dib.size()) return Fail(error, "image rows run past the end");
  // Some writers leave the AND mask out of 32-bit images; alpha then says it all.
  bool has_mask = mask_at + mask_stride * height <= dib.size();
  if (!has_mask && bits != 32) return Fail(error, "the mask runs past the end");

  frame.width = width;
  frame.height = height;
  frame.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  bool bottom_up = height2 > 0;
  bool any_alpha = false;
  for (int y = 0; y < height; ++y) {
    int row = bottom_up ? height - 1 - y : y;
    const uint8_t* colours = dib.data() + colour_at + colour_stride * row;
    const uint8_t* mask = has_mask ? dib.data() + mask_at + mask_stride * row : nullptr;
    for (int x = 0; x < width; ++x) {
      uint8_t b = 0, g = 0, red = 0, a = 255;
      if (bits == 32) {
        b = colours[x * 4], g = colours[x * 4 + 1], red = colours[x * 4 + 2];
        a = colours[x * 4 + 3];
        any_alpha = any_alpha || a != 0;
      } else if (bits == 24) {
        b = colours[x * 3], g = colours[x * 3 + 1], red = colours[x * 3 + 2];
      } else {
        int per_byte = 8 / bits;
        int shift = (per_byte - 1 - x % per_byte) * bits;
        size_t index = (colours[x / per_byte] >> shift) & ((1 << bits) - 1);
        if (index >= palette_entries) return Fail(error, "colour index outside the palette");
        const uint8_t* p = dib.data() + palette_at + index * 4;
        b = p[0], g = p[1], red = p[2];
      }
      uint8_t* out = &frame.rgba[(static_cast<size_t>(y) * width + x) * 4];
      out[0] = red, out[1] = g, out[2] = b, out[3] = a;
      // AND bit set: the screen shows through (the inverting cases show through too).
      if (mask && bits != 32 && (mask[x / 8] >> (7 - x % 8)) & 1) out[3] = 0;
    }
  }
  // A 32-bit image without any alpha is opaque where its mask says so.
  if (bits == 32 && !any_alpha) {
    for (int y = 0; y < height; ++y) {
      int row = bottom_up ? height - 1 - y : y;
      const uint8_t* mask = has_mask ? dib.data() + mask_at + mask_stride * row : nullptr;
      for (int x = 0; x < width; ++x) {
        bool clear = mask && ((mask[x / 8] >> (7 - x % 8)) & 1);
        frame.rgba[(static_cast<size_t>(y) * width + x) * 4 + 3] = clear ? 0 : 255;
      }
    }
  }
  return true;
}

// An icon or cursor resource: its first image, with the cursor's hot spot (an icon's is its
// centre).
bool ReadIconResource(std::span<const uint8_t> data, CursorFrame& frame, std::string* error) {
  ByteReader r(data);
  uint16_t reserved = r.U16();
  uint16_t type = r.U16();
  uint16_t count = r.U16();
  if (!r.ok() || reserved != 0 || (type != 1 && type != 2) || count == 0) {
    return Fail(error, "a frame is not an icon or cursor resource");
  }
  r.Skip(4);  // width, height, colour count, reserved
  uint16_t hot_x = r.U16();
  uint16_t hot_y = r.U16();
  uint32_t size = r.U32();
  uint32_t offset = r.U32();
  if (!r.ok() || offset > data.size() || size > data.size() - offset) {
    return Fail(error, "a frame's image lies outside its chunk");
  }
  if (!ReadDib(data.subspan(offset, size), frame, error)) return false;
  if (type == 2) {
    frame.hot_x = std::min<int>(hot_x, frame.width - 1);
    frame.hot_y = std::min<int>(hot_y, frame.height - 1);
  } else {
    frame.hot_x = frame.width / 2;
    frame.hot_y = frame.height / 2;
  }
  return true;
}

std::vector<uint32_t> ReadTable(std::span<const uint8_t> data, const Chunk& c, uint32_t count) {
  std::vector<uint32_t> out;
  ByteReader r(data.subspan(c.body, c.size));
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t v = r.U32();
    if (!r.ok()) return {};
    out.push_back(v);
  }
  return out;
}

}  // namespace

std::optional<AnimatedCursor> ReadAnimatedCursor(std::span<const uint8_t> file,
                                                 std::string* error) {
  if (!IsId(file, 0, "RIFF") || !IsId(file, 8, "ACON")) {
    Fail(error, "not an animated cursor (RIFF ACON)");
    return std::nullopt;
  }
  ByteReader head(file.subspan(4, 4));
  size_t end = std::min<size_t>(file.size(), static_cast<size_t>(head.U32()) + 8);
  std::vector<Chunk> chunks;
  if (!ReadChunks(file, 12, end, chunks, error)) return std::nullopt;

  const Chunk* anih = nullptr;
  const Chunk* rate = nullptr;
  const Chunk* seq = nullptr;
  std::vector<Chunk> icons;
  for (const Chunk& c : chunks) {
    if (IsId(file, c.id, "anih")) anih = &c;
    if (IsId(file, c.id, "rate")) rate = &c;
    if (IsId(file, c.id, "seq ")) seq = &c;
    if (IsId(file, c.id, "LIST") && c.size >= 4 && IsId(file, c.body, "fram")) {
      std::vector<Chunk> list;
      if (!ReadChunks(file, c.body + 4, c.body + c.size, list, error)) return std::nullopt;
      for (const Chunk& k : list) {
        if (IsId(file, k.id, "icon")) icons.push_back(k);
      }
    }
  }
  if (!anih || anih->size < 36) {
    Fail(error, "no animation header");
    return std::nullopt;
  }
  ByteReader h(file.subspan(anih->body, anih->size));
  h.U32();  // header size
  uint32_t frame_count = h.U32();
  uint32_t step_count = h.U32();
  h.Skip(16);  // width, height, bit count, planes (the frames carry their own)
  uint32_t default_rate = h.U32();
  uint32_t flags = h.U32();
  if (!(flags & kIconFlag)) {
    Fail(error, "raw bitmap frames are not read");
    return std::nullopt;
  }
  if (frame_count == 0 || frame_count > kMaxFrames || icons.size() < frame_count) {
    Fail(error, "frame count does not match the frames");
    return std::nullopt;
  }
  bool sequenced = (flags & kSequenceFlag) && seq;
  if (!sequenced) step_count = frame_count;
  if (step_count == 0 || step_count > kMaxSteps) {
    Fail(error, "step count out of range");
    return std::nullopt;
  }

  AnimatedCursor cursor;
  for (uint32_t i = 0; i < frame_count; ++i) {
    CursorFrame frame;
    if (!ReadIconResource(file.subspan(icons[i].body, icons[i].size), frame, error)) {
      return std::nullopt;
    }
    cursor.frames.push_back(std::move(frame));
  }
  std::vector<uint32_t> order, rates;
  if (sequenced) {
    order = ReadTable(file, *seq, step_count);
    if (order.empty()) {
      Fail(error, "the sequence table is short");
      return std::nullopt;
    }
  }
  if (rate) {
    rates = ReadTable(file, *rate, step_count);
    if (rates.empty()) {
      Fail(error, "the rate table is short");
      return std::nullopt;
    }
  }
  for (uint32_t i = 0; i < step_count; ++i) {
    uint32_t frame = sequenced ? order[i] : i;
    if (frame >= frame_count) {
      Fail(error, "a step names a frame that does not exist");
      return std::nullopt;
    }
    uint32_t jiffies = rates.empty() ? default_rate : rates[i];
    jiffies = std::clamp<uint32_t>(jiffies, 1, 60 * 60);
    cursor.steps.push_back({static_cast<int>(frame), JiffiesToMs(jiffies)});
  }
  return cursor;
}

}  // namespace quill
