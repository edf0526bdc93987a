#include "tools/cursor_encoder.h"

#include <algorithm>
#include <string_view>

#include "common/byte_io.h"

namespace quill {
namespace {

void Id(ByteWriter& w, std::string_view id) {
  for (char c : id) w.U8(static_cast<uint8_t>(c));
}

void Chunk(ByteWriter& w, std::string_view id, const std::vector<uint8_t>& body) {
  Id(w, id);
  w.U32(static_cast<uint32_t>(body.size()));
  w.Bytes(body);
  if (body.size() & 1) w.U8(0);
}

std::vector<uint8_t> CursorResource(const CursorFrame& f) {
  ByteWriter dib;
  dib.U32(40);
  dib.I32(f.width);
  dib.I32(f.height * 2);
  dib.U16(1);
  dib.U16(32);
  for (int i = 0; i < 6; ++i) dib.U32(0);
  for (int y = f.height - 1; y >= 0; --y) {
    for (int x = 0; x < f.width; ++x) {
      const uint8_t* p = &f.rgba[(static_cast<size_t>(y) * f.width + x) * 4];
      dib.U8(p[2]), dib.U8(p[1]), dib.U8(p[0]), dib.U8(p[3]);
    }
  }
  size_t mask_stride = ((static_cast<size_t>(f.width) + 31) / 32) * 4;
  for (int y = f.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(mask_stride, 0);
    for (int x = 0; x < f.width; ++x) {
      if (f.rgba[(static_cast<size_t>(y) * f.width + x) * 4 + 3] < 128) {
        row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
      }
    }
    dib.Bytes(row);
  }
  ByteWriter res;
  res.U16(0);
  res.U16(2);  // a cursor
  res.U16(1);
  res.U8(static_cast<uint8_t>(f.width >= 256 ? 0 : f.width));
  res.U8(static_cast<uint8_t>(f.height >= 256 ? 0 : f.height));
  res.U8(0);
  res.U8(0);
  res.U16(static_cast<uint16_t>(f.hot_x));
  res.U16(static_cast<uint16_t>(f.hot_y));
  res.U32(static_cast<uint32_t>(dib.size()));
  res.U32(22);
  res.Bytes(dib.bytes());
  return res.Take();
}

}  // namespace

std::vector<uint8_t> EncodeAnimatedCursor(const AnimatedCursor& cursor) {
  ByteWriter anih;
  anih.U32(36);
  anih.U32(static_cast<uint32_t>(cursor.frames.size()));
  anih.U32(static_cast<uint32_t>(cursor.steps.size()));
  anih.U32(0), anih.U32(0), anih.U32(0), anih.U32(0);
  anih.U32(1);
  anih.U32(3);  // icon frames, sequenced
  ByteWriter rate, seq;
  for (const AnimatedCursor::Step& s : cursor.steps) {
    rate.U32(std::max<uint32_t>(1, s.duration_ms * 60 / 1000));
    seq.U32(static_cast<uint32_t>(s.frame));
  }
  ByteWriter frames;
  Id(frames, "fram");
  for (const CursorFrame& f : cursor.frames) Chunk(frames, "icon", CursorResource(f));

  ByteWriter body;
  Id(body, "ACON");
  Chunk(body, "anih", anih.bytes());
  Chunk(body, "rate", rate.bytes());
  Chunk(body, "seq ", seq.bytes());
  Chunk(body, "LIST", frames.bytes());
  ByteWriter file;
  Id(file, "RIFF");
  file.U32(static_cast<uint32_t>(body.size()));
  file.Bytes(body.bytes());
  return file.Take();
}

}  // namespace quill
