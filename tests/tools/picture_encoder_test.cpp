#include "tools/picture_encoder.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "graphics/packed_picture.h"

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Content { kNoise, kFlat, kGradient, kMixed };

Picture Make(int w, int h, Content content, uint32_t seed) {
  std::mt19937 rng(seed);
  Picture p(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint8_t* px = p.Pixel(x, y);
      Content c = content;
      if (c == Content::kMixed)
        c = x < w / 3 ? Content::kFlat : y < h / 2 ? Content::kGradient : Content::kNoise;
      switch (c) {
        case Content::kNoise:
          px[0] = static_cast<uint8_t>(rng()), px[1] = static_cast<uint8_t>(rng()),
          px[2] = static_cast<uint8_t>(rng());
          break;
        case Content::kFlat:
          px[0] = 40, px[1] = 90, px[2] = 200;
          break;
        default:
          px[0] = static_cast<uint8_t>(x * 3), px[1] = static_cast<uint8_t>(y * 5),
          px[2] = static_cast<uint8_t>((x + y) / 2);
      }
    }
  }
  return p;
}

Picture Decode(const Bytes& member) {
  Picture out;
  PictureDecodeResult r = DecodePackedPicture(member, out);
  EXPECT_TRUE(r.ok) << r.error;
  return out;
}

TEST(EncodePackedPicture, RoundTripsEveryFlagCombinationAndParse) {
  const std::pair<int, int> sizes[] = {{1, 1}, {2, 3}, {17, 9}, {64, 33}, {101, 7}, {0, 0}, {5, 0}};
  const Content contents[] = {Content::kNoise, Content::kFlat, Content::kGradient, Content::kMixed};
  uint32_t seed = 1;
  for (auto [w, h] : sizes) {
    for (Content content : contents) {
      const Picture picture = Make(w, h, content, seed++);
      for (int flags = 0; flags < 8; ++flags) {
        PackedPictureOptions options{(flags & 1) != 0, (flags & 2) != 0, (flags & 4) != 0};
        auto member = EncodePackedPicture(picture, options);
        ASSERT_TRUE(member);
        auto header = ReadPackedHeader(*member);
        ASSERT_TRUE(header);
        EXPECT_EQ(header->run_length(), options.rle);
        EXPECT_EQ(header->delta(), options.delta);
        EXPECT_EQ(header->compressed_size, member->size() - kPackedHeaderSize);
        EXPECT_EQ(Decode(*member), picture)
            << w << " x " << h << " content " << int(content) << " flags " << flags;
      }
    }
  }
}

// Token kinds of a dictionary stream, read by the format's layout.
std::set<std::string> DictionaryTokenKinds(const Bytes& in, size_t target) {
  std::set<std::string> kinds;
  size_t ip = 0, produced = 0;
  while (produced < target && ip < in.size()) {
    uint8_t flags = in[ip++];
    for (int bit = 7; bit >= 0 && produced < target; --bit) {
      if (!((flags >> bit) & 1)) {
        kinds.insert("literal");
        ++ip, ++produced;
        continue;
      }
      unsigned u = in[ip++];
      if (!(u & 0x80) && (u & 3) == 3) {
        kinds.insert("literal run");
        ip += (u >> 2) + 9, produced += (u >> 2) + 9;
      } else if (!(u & 0x80)) {
        kinds.insert("short");
        produced += (u & 3) + 2;
      } else if (!(u & 0x40)) {
        kinds.insert("medium");
        produced += (in[ip++] & 15) + 3;
      } else {
        unsigned c = in[ip + 1];
        ip += 2;
        kinds.insert(c >= 253 ? "long " + std::to_string(c) : "long");
        produced += c == 255 ? 4096 : c == 254 ? 1024 : c == 253 ? 256 : c + 3;
      }
    }
  }
  return kinds;
}

TEST(EncodeDictionaryStage, UsesEveryTokenKindTheDataAllows) {
  std::mt19937 rng(4);
  Bytes data;
  auto noise = [&](size_t n) {
    for (size_t i = 0; i < n; ++i) data.push_back(static_cast<uint8_t>(rng()));
  };
  noise(3000);
  data.insert(data.end(), 4096 + 1024 + 256 + 100, 0x33);  // long runs of every fixed length
  noise(100);
  const Bytes echo(data.begin() + 2000, data.begin() + 2010);  // a 10-byte repeat 8000 back:
  data.insert(data.end(), echo.begin(), echo.end());           // only a long token reaches it
  noise(50);
  const Bytes near(data.end() - 600, data.end() - 590);  // 10 bytes from 600 back: medium
  data.insert(data.end(), near.begin(), near.end());
  noise(50);
  for (int i = 0; i < 20; ++i) data.insert(data.end(), {1, 2, static_cast<uint8_t>(rng()), 9});
  Bytes packed = EncodeDictionaryStage(data);
  EXPECT_LT(packed.size(), data.size() / 2);
  EXPECT_EQ(DictionaryTokenKinds(packed, data.size()),
            (std::set<std::string>{"literal", "literal run", "short", "medium", "long", "long 253",
                                   "long 254", "long 255"}));
  Bytes out(data.size());
  std::string error;
  ASSERT_EQ(DecodeDictionaryStage(packed, out, &error), data.size()) << error;
  EXPECT_EQ(out, data);
}

TEST(EncodeRunLengthStage, UsesEveryUnitSize) {
  Bytes data{7, 1, 9};
  data.insert(data.end(), 50, 0xAA);
  for (int i = 0; i < 10; ++i) data.insert(data.end(), {1, 2});
  for (int i = 0; i < 10; ++i) data.insert(data.end(), {3, 4, 5});
  for (int i = 0; i < 10; ++i) data.insert(data.end(), {6, 7, 8, 9});
  for (int i = 0; i < 300; ++i) data.push_back(static_cast<uint8_t>(i * 37 + (i >> 3)));
  Bytes packed = EncodeRunLengthStage(data);
  std::map<int, int> units;  // unit size -> tokens; 0: literal tokens
  for (size_t ip = 0; ip < packed.size();) {
    unsigned t = packed[ip];
    int unit = t < 0x80 ? 0 : ((t >> 5) & 3) + 1;
    ++units[unit];
    ip += unit == 0 ? (t & 0x7F) + 2 : 2 + unit;
  }
  EXPECT_EQ(units, (std::map<int, int>{{0, 4}, {1, 1}, {2, 1}, {3, 1}, {4, 1}}));
  Bytes out(data.size());
  std::string error;
  ASSERT_EQ(DecodeRunLengthStage(packed, out, &error), data.size()) << error;
  EXPECT_EQ(out, data);
}

TEST(EncodeRunLengthStage, SplitsRunsLongerThanOneToken) {
  // 40000 equal bytes: more than 8192 units of any size, so two tokens at least.
  const Bytes data(40000, 0x11);
  Bytes packed = EncodeRunLengthStage(data);
  EXPECT_LE(packed.size(), 12u);
  EXPECT_GT(packed.size(), 6u);
  Bytes out(data.size());
  ASSERT_EQ(DecodeRunLengthStage(packed, out, nullptr), data.size());
  EXPECT_EQ(out, data);
}

TEST(EncodePackedPicture, CompressesRealContent) {
  const Picture flat = Make(800, 600, Content::kFlat, 1);
  auto packed = EncodePackedPicture(flat, {});
  ASSERT_TRUE(packed);
  EXPECT_LT(packed->size(), flat.bytes().size() / 100);
  const Picture gradient = Make(800, 600, Content::kGradient, 1);
  auto smallest = EncodePackedPictureSmallest(gradient);
  ASSERT_TRUE(smallest);
  EXPECT_LT(smallest->size(), gradient.bytes().size() / 4);
  for (int flags = 0; flags < 4; ++flags) {
    auto one = EncodePackedPicture(gradient, {(flags & 1) != 0, (flags & 2) != 0});
    EXPECT_LE(smallest->size(), one->size());
  }
  EXPECT_EQ(Decode(*smallest), gradient);
}

TEST(EncodePackedPicture, RefusesSizesTheHeaderCannotHold) {
  std::string error;
  EXPECT_FALSE(EncodePackedPicture(Picture(65536, 1), {}, &error));
  EXPECT_NE(error.find("65536"), std::string::npos) << error;
}

}  // namespace
}  // namespace quill
