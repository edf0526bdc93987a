#include "graphics/packed_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "common/byte_io.h"

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

// Writes dictionary tokens by the format's bit layout, flag bytes included.
class Tokens {
 public:
  Tokens& Literal(uint8_t b) {
    Flag(false);
    out_.push_back(b);
    return *this;
  }
  Tokens& LiteralRun(const Bytes& bytes) {  // 9..40 bytes
    Flag(true);
    out_.push_back(static_cast<uint8_t>(((bytes.size() - 9) << 2) | 3));
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  Tokens& Short(unsigned dist, unsigned len) {  // dist 1..32, len 2..4
    Flag(true);
    out_.push_back(static_cast<uint8_t>(((dist - 1) << 2) | (len - 2)));
    return *this;
  }
  Tokens& Medium(unsigned dist, unsigned len) {  // dist 1..1024, len 3..18
    Flag(true);
    out_.push_back(static_cast<uint8_t>(0x80 | ((dist - 1) >> 4)));
    out_.push_back(static_cast<uint8_t>((((dist - 1) & 15) << 4) | (len - 3)));
    return *this;
  }
  Tokens& Long(unsigned dist, uint8_t c) {  // dist 1..16384
    Flag(true);
    out_.push_back(static_cast<uint8_t>(0xC0 | ((dist - 1) >> 8)));
    out_.push_back(static_cast<uint8_t>((dist - 1) & 0xFF));
    out_.push_back(c);
    return *this;
  }
  const Bytes& bytes() const { return out_; }

 private:
  void Flag(bool set) {
    if (used_ == 8) {
      flag_ = out_.size();
      out_.push_back(0);
      used_ = 0;
    }
    if (set) out_[flag_] |= static_cast<uint8_t>(0x80 >> used_);
    ++used_;
  }
  Bytes out_;
  size_t flag_ = 0;
  int used_ = 8;
};

// The dictionary stage as the format states it, one byte at a time.
Bytes ReferenceDictionary(const Bytes& in, size_t target) {
  Bytes out;
  size_t ip = 0;
  while (out.size() < target && ip < in.size()) {
    uint8_t flags = in[ip++];
    for (int bit = 7; bit >= 0 && out.size() < target && ip < in.size(); --bit) {
      if (!((flags >> bit) & 1)) {
        out.push_back(in[ip++]);
        continue;
      }
      unsigned u = in[ip++];
      size_t dist, len;
      if ((u & 0x80) == 0 && (u & 3) == 3) {
        for (unsigned k = 0; k < (u >> 2) + 9 && out.size() < target; ++k) out.push_back(in[ip++]);
        continue;
      } else if ((u & 0x80) == 0) {
        dist = (u >> 2) + 1, len = (u & 3) + 2;
      } else if ((u & 0x40) == 0) {
        unsigned b = in[ip++];
        dist = (((u & 0x3F) << 4) | (b >> 4)) + 1, len = (b & 15) + 3;
      } else {
        unsigned b = in[ip++], c = in[ip++];
        dist = (((u & 0x3F) << 8) | b) + 1;
        len = c == 255 ? 4096 : c == 254 ? 1024 : c == 253 ? 256 : c + 3;
      }
      for (size_t k = 0; k < len && out.size() < target; ++k) out.push_back(out[out.size() - dist]);
    }
  }
  return out;
}

Bytes Dictionary(const Bytes& in, size_t target, std::string* error = nullptr) {
  Bytes out(target, 0xEE);
  std::string e;
  size_t n = DecodeDictionaryStage(in, out, &e);
  if (error) *error = e;
  out.resize(n);
  return out;
}

Bytes Repeat(const Bytes& unit, size_t times) {
  Bytes out;
  for (size_t i = 0; i < times; ++i) out.insert(out.end(), unit.begin(), unit.end());
  return out;
}

Bytes Counting(size_t n, uint8_t start = 1) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(start + i * 7);
  return out;
}

Bytes Member(uint8_t flags, uint16_t width, uint16_t height, const Bytes& stream,
             uint32_t intermediate = 0, uint8_t bpp = 3) {
  ByteWriter w;
  w.U16(0xA55A);  // not interpreted
  w.U8(flags);
  w.U8(bpp);
  w.U32(static_cast<uint32_t>(stream.size()));
  w.U32(intermediate);
  w.U16(width);
  w.U16(height);
  w.Bytes(stream);
  return w.Take();
}

// Every byte of the stream as a literal.
Bytes AllLiterals(const Bytes& data) {
  Tokens t;
  for (uint8_t b : data) t.Literal(b);
  return t.bytes();
}

TEST(DictionaryStage, TokensOfEveryKind) {
  const Bytes ten = Counting(10);
  struct Case {
    const char* what;
    Bytes stream;
    Bytes expected;
  };
  Bytes after_ten_medium = ten;
  for (int i = 0; i < 18; ++i)
    after_ten_medium.push_back(after_ten_medium[after_ten_medium.size() - 10]);
  const Case cases[] = {
      {"short match of distance 1 after one literal", Tokens().Literal(7).Short(1, 4).bytes(),
       Bytes(5, 7)},
      {"short match longer than its distance repeats",
       Tokens().Literal(1).Literal(2).Short(2, 4).bytes(),
       {1, 2, 1, 2, 1, 2}},
      {"short match of distance 32, length 2",
       Tokens().LiteralRun(Counting(32)).Short(32, 2).bytes(),
       [] {
         Bytes b = Counting(32);
         b.push_back(b[0]);
         b.push_back(b[1]);
         return b;
       }()},
      {"literal run of 9", Tokens().LiteralRun(Counting(9)).bytes(), Counting(9)},
      {"literal run of 40", Tokens().LiteralRun(Counting(40)).bytes(), Counting(40)},
      {"medium match of length 18", Tokens().LiteralRun(ten).Medium(10, 18).bytes(),
       after_ten_medium},
      {"long match c = 253 copies 256", Tokens().Literal(9).Long(1, 253).bytes(), Bytes(257, 9)},
      {"long match c = 254 copies 1024", Tokens().Literal(9).Long(1, 254).bytes(), Bytes(1025, 9)},
      {"long match c = 255 copies 4096", Tokens().Literal(9).Long(1, 255).bytes(), Bytes(4097, 9)},
      {"long match c = 0 copies 3", Tokens().Literal(9).Long(1, 0).bytes(), Bytes(4, 9)},
      {"long match c = 252 copies 255", Tokens().Literal(9).Long(1, 252).bytes(), Bytes(256, 9)},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(Dictionary(c.stream, c.expected.size(), &error), c.expected) << c.what;
    EXPECT_EQ(error, "") << c.what;
  }
}

TEST(DictionaryStage, FarDistancesUseTheHighBits) {
  // 1100 distinct-ish bytes, then matches that can only be right if every distance bit counts.
  Bytes prefix = Counting(1100, 3);
  for (size_t i = 0; i < prefix.size(); ++i) prefix[i] ^= static_cast<uint8_t>(i >> 8);
  Tokens t;
  for (size_t i = 0; i < prefix.size(); i += 25) {
    t.LiteralRun(Bytes(prefix.begin() + i, prefix.begin() + i + 25));
  }
  t.Medium(1024, 5).Long(1100, 10).Long(16, 0);
  Bytes expected = ReferenceDictionary(t.bytes(), prefix.size() + 5 + 13 + 3);
  ASSERT_EQ(expected.size(), prefix.size() + 21);
  EXPECT_EQ(expected[1100], prefix[1100 - 1024]);
  EXPECT_EQ(Dictionary(t.bytes(), expected.size()), expected);
}

TEST(DictionaryStage, StopsAtTheTargetLength) {
  // A match and a literal run cut by the end; the rest of the stream is never read.
  EXPECT_EQ(Dictionary(Tokens().Literal(4).Long(1, 255).Literal(1).bytes(), 10), Bytes(10, 4));
  EXPECT_EQ(Dictionary(Tokens().LiteralRun(Counting(20)).bytes(), 12), Counting(12));
  std::string error;
  EXPECT_EQ(Dictionary(Tokens().Literal(4).bytes(), 0, &error), Bytes());
  EXPECT_EQ(error, "");
}

TEST(DictionaryStage, WideCopiesMatchTheByteWiseDefinition) {
  // Random token streams over every distance class and length, checked against the reference;
  // short streams run the checked path only, long ones mostly the unchecked body.
  std::mt19937 rng(12345);
  for (int round = 0; round < 120; ++round) {
    Tokens t;
    size_t produced = 0;
    const int tokens = round % 2 ? 60 : 1500;
    for (int k = 0; k < 40; ++k) t.Literal(static_cast<uint8_t>(rng())), ++produced;
    for (int k = 0; k < tokens; ++k) {
      unsigned kind = rng() % 6;
      if (kind == 5) {
        t.Literal(static_cast<uint8_t>(rng()));
        ++produced;
      } else if (kind == 0) {
        Bytes run(9 + rng() % 32);
        for (auto& b : run) b = static_cast<uint8_t>(rng());
        t.LiteralRun(run);
        produced += run.size();
      } else if (kind == 1) {
        unsigned dist = 1 + rng() % 32, len = 2 + rng() % 3;
        t.Short(dist, len);
        produced += len;
      } else if (kind == 2) {
        unsigned dist = 1 + rng() % std::min<size_t>(1024, produced), len = 3 + rng() % 16;
        t.Medium(dist, len);
        produced += len;
      } else {
        unsigned dist = 1 + rng() % std::min<size_t>(16384, produced);
        if (rng() % 3 == 0) dist = 1 + rng() % 9;  // short distances inside long runs
        uint8_t c = static_cast<uint8_t>(rng() % 256);
        t.Long(dist, c);
        produced += c == 255 ? 4096 : c == 254 ? 1024 : c == 253 ? 256 : c + 3;
      }
    }
    Bytes expected = ReferenceDictionary(t.bytes(), produced);
    ASSERT_EQ(expected.size(), produced);
    ASSERT_EQ(Dictionary(t.bytes(), produced), expected) << "round " << round;
  }
}

Bytes RunLength(const Bytes& in, size_t target, std::string* error = nullptr) {
  Bytes out(target, 0xEE);
  std::string e;
  size_t n = DecodeRunLengthStage(in, out, &e);
  if (error) *error = e;
  out.resize(n);
  return out;
}

TEST(RunLengthStage, TokensOfEveryUnitSize) {
  struct Case {
    const char* what;
    Bytes stream;
    Bytes expected;
  };
  const Case cases[] = {
      {"C0 03 repeats a 3-byte unit four times",
       {0xC0, 0x03, 0x10, 0x20, 0x30},
       Repeat({0x10, 0x20, 0x30}, 4)},
      {"80-9F: 1-byte units", {0x80, 0x04, 0xAB}, Bytes(5, 0xAB)},
      {"9F FF: 8192 1-byte units", {0x9F, 0xFF, 0x01}, Bytes(8192, 0x01)},
      {"A0-BF: 2-byte units", {0xA1, 0x00, 0x01, 0x02}, Repeat({0x01, 0x02}, 257)},
      {"C0-DF: 3-byte units", {0xDF, 0xFF, 0x05, 0x06, 0x07}, Repeat({5, 6, 7}, 8192)},
      {"E0-FF: 4-byte units", {0xE0, 0x02, 1, 2, 3, 4}, Repeat({1, 2, 3, 4}, 3)},
      {"literal tokens of 1 and 128",
       [] {
         Bytes s{0x00, 0x42, 0x7F};
         Bytes lit = Counting(128);
         s.insert(s.end(), lit.begin(), lit.end());
         return s;
       }(),
       [] {
         Bytes e{0x42};
         Bytes lit = Counting(128);
         e.insert(e.end(), lit.begin(), lit.end());
         return e;
       }()},
      {"runs and literals mixed",
       {0x01, 9, 8, 0x80, 0x01, 7, 0xA0, 0x00, 5, 6},
       {9, 8, 7, 7, 5, 6}},
  };
  for (const Case& c : cases) {
    std::string error;
    EXPECT_EQ(RunLength(c.stream, c.expected.size(), &error), c.expected) << c.what;
    EXPECT_EQ(error, "") << c.what;
  }
}

TEST(RunLengthStage, RunsPassingTheEndKeepWholeUnits) {
  // 10 bytes: a 4-byte run of 3 units keeps 2 (8 bytes); a 3-byte unit no longer fits, so it
  // writes nothing; a literal finishes the picture.
  Bytes stream{0xE0, 0x02, 1, 2, 3, 4, 0xC0, 0x05, 7, 7, 7, 0x01, 0xAA, 0xBB};
  std::string error;
  EXPECT_EQ(RunLength(stream, 10, &error), (Bytes{1, 2, 3, 4, 1, 2, 3, 4, 0xAA, 0xBB}));
  EXPECT_EQ(error, "");
  // The same run at the very end is cut to the units that fit.
  EXPECT_EQ(RunLength({0xC0, 0x09, 1, 2, 3}, 7), (Bytes{1, 2, 3, 1, 2, 3}));
}

// The run-length stage as the format states it.
Bytes ReferenceRunLength(const Bytes& in, size_t target) {
  Bytes out;
  size_t ip = 0;
  while (out.size() < target && ip < in.size()) {
    unsigned t = in[ip++];
    if (t < 0x80) {
      for (unsigned k = 0; k < (t & 0x7F) + 1 && out.size() < target && ip < in.size(); ++k) {
        out.push_back(in[ip++]);
      }
      continue;
    }
    size_t unit = ((t >> 5) & 3) + 1;
    if (ip + 1 + unit > in.size()) break;
    size_t count = ((size_t{t & 0x1Fu} << 8) | in[ip++]) + 1;
    for (size_t c = 0; c < count && out.size() + unit <= target; ++c) {
      out.insert(out.end(), in.begin() + ip, in.begin() + ip + unit);
    }
    ip += unit;
  }
  return out;
}

TEST(RunLengthStage, LongStreamsMatchTheDefinitionAndSurviveDamage) {
  // Long enough for the unchecked body of the stage.
  std::mt19937 rng(2);
  for (int round = 0; round < 40; ++round) {
    Bytes stream;
    size_t produced = 0;
    for (int k = 0; k < 3000; ++k) {
      if (rng() % 2) {
        unsigned n = 1 + rng() % 128;
        stream.push_back(static_cast<uint8_t>(n - 1));
        for (unsigned i = 0; i < n; ++i) stream.push_back(static_cast<uint8_t>(rng()));
        produced += n;
      } else {
        unsigned unit = 1 + rng() % 4, count = 1 + rng() % (rng() % 8 ? 64 : 8192);
        stream.push_back(static_cast<uint8_t>(0x80 | ((unit - 1) << 5) | ((count - 1) >> 8)));
        stream.push_back(static_cast<uint8_t>((count - 1) & 0xFF));
        for (unsigned i = 0; i < unit; ++i) stream.push_back(static_cast<uint8_t>(rng()));
        produced += unit * count;
      }
    }
    if (round % 2) {
      // Damage: flipped bytes change token kinds and lengths; the output size stays.
      for (int f = 0; f < 20; ++f) stream[rng() % stream.size()] = static_cast<uint8_t>(rng());
      stream.resize(stream.size() - rng() % 1000);
    }
    Bytes expected = ReferenceRunLength(stream, produced);
    Bytes out(produced);
    std::string error;
    size_t n = DecodeRunLengthStage(stream, out, &error);
    ASSERT_EQ(n, expected.size()) << "round " << round;
    out.resize(n);
    ASSERT_EQ(out, expected) << "round " << round;
    EXPECT_EQ(error.empty(), n == produced) << "round " << round;
  }
}

TEST(DeltaStage, AddsTheSameChannelOfThePixelBefore) {
  Bytes b{0x10, 0x20, 0x30, 0x05, 0x05, 0x05};
  DecodeDeltaStage(b);
  EXPECT_EQ(b, (Bytes{0x10, 0x20, 0x30, 0x15, 0x25, 0x35}));
  // Sums wrap at 256 and carry across rows; each channel has its own running byte.
  Bytes w{0xF0, 0x01, 0x00, 0x20, 0x01, 0xFF, 0x01, 0x01, 0x02};
  DecodeDeltaStage(w);
  EXPECT_EQ(w, (Bytes{0xF0, 0x01, 0x00, 0x10, 0x02, 0xFF, 0x11, 0x03, 0x01}));
}

TEST(DecodePackedPicture, StagesByFlags) {
  // A 2 x 2 picture: pixels p0 p1 / p2 p3.
  const Bytes pixels{1, 2, 3, 1, 2, 3, 9, 8, 7, 10, 10, 10};
  Bytes deltas = pixels;
  for (size_t i = deltas.size(); i-- > 3;)
    deltas[i] = static_cast<uint8_t>(deltas[i] - deltas[i - 3]);
  const Bytes rle_of_pixels{0xC0, 0x01, 1, 2, 3, 0x05, 9, 8, 7, 10, 10, 10};
  // d0 literally, d1 (all zero) as a 1-byte run of 3, then d2 d3 literally.
  Bytes rle_of_deltas{0x02, deltas[0], deltas[1], deltas[2], 0x80, 0x02, 0x00, 0x05};
  rle_of_deltas.insert(rle_of_deltas.end(), deltas.begin() + 6, deltas.end());
  struct Case {
    uint8_t flags;
    Bytes stage_input;
  };
  const Case cases[] = {
      {0x00, pixels},        {0x3F, pixels},  // bits other than 40 and 80 are ignored
      {0x40, rle_of_pixels}, {0x80, deltas}, {0xC0, rle_of_deltas},
  };
  for (const Case& c : cases) {
    Bytes member = Member(c.flags, 2, 2, AllLiterals(c.stage_input),
                          static_cast<uint32_t>(c.stage_input.size()));
    Picture target(800, 600);
    PictureDecodeResult r = DecodePackedPicture(member, target);
    EXPECT_TRUE(r.ok) << int{c.flags} << ": " << r.error;
    EXPECT_EQ(target.width(), 2);
    EXPECT_EQ(target.height(), 2);
    EXPECT_EQ(target.bytes(), pixels) << "flags " << int{c.flags};
  }
}

TEST(DecodePackedPicture, RowsArePlacedTopFirst) {
  // 3 x 2: the first 9 bytes are the top row.
  Bytes raw = Counting(18);
  Picture target;
  ASSERT_TRUE(DecodePackedPicture(Member(0, 3, 2, AllLiterals(raw)), target).ok);
  EXPECT_EQ(target.Pixel(0, 0)[0], raw[0]);
  EXPECT_EQ(target.Pixel(2, 1)[2], raw[17]);
  EXPECT_EQ(target.Pixel(0, 1)[0], raw[9]);
}

TEST(DecodePackedPicture, ImpossibleHeadersLeaveTheTargetAlone) {
  const Bytes pixels = Counting(12);
  const Bytes good = Member(0, 2, 2, AllLiterals(pixels));
  struct Case {
    const char* what;
    Bytes member;
  };
  const Case cases[] = {
      {"empty", {}},
      {"header cut short", Bytes(good.begin(), good.begin() + 15)},
      {"four bytes per pixel", Member(0, 2, 2, AllLiterals(pixels), 0, 4)},
      {"zero bytes per pixel", Member(0, 2, 2, AllLiterals(pixels), 0, 0)},
      {"far more pixels than the stream can give", Member(0, 4000, 4000, AllLiterals(pixels))},
      {"intermediate size no stream can give", Member(0x40, 2, 2, AllLiterals(pixels), 0x7FFFFFFF)},
      {"picture far larger than its intermediate data", Member(0x40, 4000, 4000, Bytes(20, 0), 4)},
      {"intermediate data too large to allocate",
       [] {
         Bytes m = Member(0x40, 16, 16, {}, 300u << 20);
         m[4] = m[5] = m[6] = m[7] = 0xFF;
         return m;
       }()},
      {"picture too large to allocate",
       [] {
         Bytes m = Member(0, 65535, 65535, {});
         m[4] = m[5] = m[6] = m[7] = 0xFF;  // L claims 4 GiB that are not there
         return m;
       }()},
  };
  for (const Case& c : cases) {
    Picture target(5, 4);
    target.Fill(0x55, 0x66, 0x77);
    const Picture before = target;
    PictureDecodeResult r = DecodePackedPicture(c.member, target);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_FALSE(r.target_written) << c.what;
    EXPECT_NE(r.error, "") << c.what;
    EXPECT_EQ(target, before) << c.what;
  }
}

TEST(DecodePackedPicture, DamagedStreamsKeepTheDecodedPartAndBlackenTheRest) {
  // A 4 x 1 picture (12 bytes).
  const Bytes pixels{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  Bytes cut = AllLiterals(pixels);
  cut.resize(cut.size() - 3);  // the last three literals go
  Bytes dict_cut_rle = AllLiterals({0x0B, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120});
  dict_cut_rle.resize(dict_cut_rle.size() - 2);
  struct Case {
    const char* what;
    Bytes member;
    size_t good_bytes;  // how many leading bytes of `pixels` must survive
  };
  auto with_l = [](Bytes m, uint32_t l) {
    m[4] = static_cast<uint8_t>(l), m[5] = static_cast<uint8_t>(l >> 8);
    return m;
  };
  const Case cases[] = {
      {"stream ends early", Member(0, 4, 1, cut), 9},
      {"L promises more than the member holds",
       with_l(Member(0, 4, 1, Bytes(cut.begin(), cut.begin() + 8)),
              static_cast<uint32_t>(cut.size())),
       7},
      {"first token is a match", Member(0, 4, 1, Tokens().Short(1, 4).bytes()), 0},
      {"match reaching before the start",
       Member(0, 4, 1, Tokens().Literal(10).Literal(20).Literal(30).Medium(4, 9).bytes()), 3},
      {"long match reaching before the start",
       Member(0, 4, 1, Tokens().Literal(10).Long(2, 5).bytes()), 1},
      {"literal run cut short", Member(0, 4, 1, Bytes{0x80, 0x0B, 10, 20, 30, 40, 50}), 5},
      {"medium token without its second byte", Member(0, 4, 1, Bytes{0x40, 10, 0x80}), 1},
      {"long token without its third byte", Member(0, 4, 1, Bytes{0x40, 10, 0xC0, 0x00}), 1},
      {"run-length stage ends early",
       Member(0x40, 4, 1, AllLiterals({0x05, 10, 20, 30, 40, 50, 60}), 7), 6},
      {"run token without its value",
       Member(0x40, 4, 1, AllLiterals({0x00, 10, 0xC0, 0x01, 20}), 5), 1},
      {"dictionary stage ends before the intermediate size", Member(0x40, 4, 1, dict_cut_rle, 13),
       10},
  };
  for (const Case& c : cases) {
    Picture target(4, 1);
    target.Fill(0x55, 0x66, 0x77);
    PictureDecodeResult r = DecodePackedPicture(c.member, target);
    EXPECT_FALSE(r.ok) << c.what;
    EXPECT_TRUE(r.target_written) << c.what;
    EXPECT_NE(r.error, "") << c.what;
    ASSERT_EQ(target.width(), 4) << c.what;
    ASSERT_EQ(target.height(), 1) << c.what;
    Bytes expected(pixels.begin(), pixels.begin() + c.good_bytes);
    expected.resize(pixels.size(), 0);
    EXPECT_EQ(target.bytes(), expected) << c.what;
  }
}

TEST(DecodePackedPicture, DamagedDeltaPictureBlackensOnlyWhatWasLost) {
  // Deltas 10 20 30, 1 1 1 are kept and summed; the lost pixel stays black instead of
  // continuing the running sums.
  Bytes stream = AllLiterals({10, 20, 30, 1, 1, 1});
  Picture target;
  PictureDecodeResult r = DecodePackedPicture(Member(0x80, 3, 1, stream), target);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(target.bytes(), (Bytes{10, 20, 30, 11, 21, 31, 0, 0, 0}));
}

TEST(DecodePackedPicture, EmptyPicture) {
  Picture target(3, 3);
  PictureDecodeResult r = DecodePackedPicture(Member(0, 0, 7, {}), target);
  EXPECT_TRUE(r.ok) << r.error;
  EXPECT_EQ(target.width(), 0);
  EXPECT_EQ(target.height(), 7);
}

TEST(DecodePackedPicture, RandomDamageNeverEscapesItsBuffers) {
  // Truncations and flipped bytes of valid members of every stage combination. The check that
  // matters runs under the sanitizers; here every outcome must also be one of the defined ones.
  std::mt19937 rng(777);
  for (int round = 0; round < 3000; ++round) {
    const uint8_t flags = static_cast<uint8_t>((rng() % 4) << 6);
    const uint16_t w = static_cast<uint16_t>(1 + rng() % 9),
                   h = static_cast<uint16_t>(1 + rng() % 9);
    Bytes stage(size_t{w} * h * 3);
    for (auto& b : stage) b = static_cast<uint8_t>(rng() % 4);
    if (flags & 0x40) {
      Bytes rle;
      for (size_t i = 0; i < stage.size(); i += 3) {
        rle.push_back(0xC0), rle.push_back(0x00);
        rle.insert(rle.end(), stage.begin() + i, stage.begin() + i + 3);
      }
      stage = rle;
    }
    Tokens t;
    for (size_t i = 0; i < stage.size(); ++i) {
      if (i >= 3 && rng() % 2) {
        t.Short(1 + rng() % std::min<size_t>(i, 32), 2);
        ++i;
      } else {
        t.Literal(stage[i]);
      }
    }
    Bytes member = Member(flags, w, h, t.bytes(), static_cast<uint32_t>(stage.size()));
    int flips = rng() % 4;
    for (int f = 0; f < flips; ++f) member[rng() % member.size()] = static_cast<uint8_t>(rng());
    if (rng() % 2) member.resize(rng() % (member.size() + 1));
    Picture target(2, 2);
    target.Fill(1, 2, 3);
    const Picture before = target;
    PictureDecodeResult r = DecodePackedPicture(member, target);
    if (!r.ok) {
      EXPECT_NE(r.error, "");
    }
    if (r.target_written) {
      auto header = ReadPackedHeader(member);
      ASSERT_TRUE(header);
      EXPECT_EQ(target.width(), header->width);
      EXPECT_EQ(target.height(), header->height);
    } else {
      EXPECT_FALSE(r.ok);
      EXPECT_EQ(target, before);
    }
  }
}

TEST(DecodePackedPicture, RandomDamageInLongStreams) {
  // Long enough for the unchecked body of the decoder: damage there must be caught as well.
  std::mt19937 rng(99);
  Tokens t;
  size_t produced = 0;
  for (int k = 0; k < 64; ++k) t.Literal(static_cast<uint8_t>(rng())), ++produced;
  while (produced < 120000) {
    if (rng() % 3 == 0) {
      uint8_t c = static_cast<uint8_t>(rng() % 250);
      t.Long(1 + rng() % std::min<size_t>(produced, 16384), c);
      produced += c + 3;
    } else {
      unsigned len = 3 + rng() % 16;
      t.Medium(1 + rng() % std::min<size_t>(produced, 1024), len);
      produced += len;
    }
  }
  Bytes stream = t.bytes();
  const uint16_t w = 200, h = static_cast<uint16_t>(produced / 600);
  const Bytes valid = Member(0, w, h, stream);
  {
    Picture target;
    ASSERT_TRUE(DecodePackedPicture(valid, target).ok);
    Bytes expected = ReferenceDictionary(stream, size_t{w} * h * 3);
    EXPECT_EQ(target.bytes(), expected);
  }
  for (int round = 0; round < 300; ++round) {
    Bytes member = valid;
    int flips = 1 + rng() % 4;
    for (int f = 0; f < flips; ++f) {
      member[16 + rng() % (member.size() - 16)] = static_cast<uint8_t>(rng());
    }
    if (rng() % 2) member.resize(16 + rng() % (member.size() - 16));
    Picture target;
    PictureDecodeResult r = DecodePackedPicture(member, target);
    EXPECT_TRUE(r.target_written);
    EXPECT_EQ(target.width(), w);
    EXPECT_EQ(target.height(), h);
    if (!r.ok) {
      EXPECT_NE(r.error, "");
    }
  }
}

}  // namespace
}  // namespace quill
