#include "graphics/delta_kernels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "graphics/blend_kernels.h"

namespace quill {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(DeltaReference, RunsOneSumPerChannel) {
  // Two pixels and a cut third: 10 20 30 | 05 05 05 | FF F0.
  Bytes b{0x10, 0x20, 0x30, 0x05, 0x05, 0x05, 0xFF, 0xF0};
  reference::DeltaDecode(b.data(), b.size());
  EXPECT_EQ(b, (Bytes{0x10, 0x20, 0x30, 0x15, 0x25, 0x35, 0x14, 0x15}));
}

class DeltaKernel : public testing::TestWithParam<BlendIsa> {
 protected:
  void SetUp() override {
    saved_ = ActiveBlendIsa();
    if (!SetBlendIsa(GetParam())) GTEST_SKIP() << "the processor lacks this instruction set";
  }
  void TearDown() override { SetBlendIsa(saved_); }

 private:
  BlendIsa saved_ = BlendIsa::kScalar;
};

Bytes Random(std::mt19937& rng, size_t n) {
  Bytes b(n);
  for (auto& x : b) x = static_cast<uint8_t>(rng());
  return b;
}

// Every size up to several vectors (each tail length, each channel phase at the vector ends),
// then odd sizes of whole pictures; the bytes around the range must stay as they are.
TEST_P(DeltaKernel, MatchesTheReferenceOnRandomBytes) {
  std::mt19937 rng(7);
  std::vector<size_t> sizes;
  for (size_t n = 0; n <= 200; ++n) sizes.push_back(n);
  for (size_t n : {1023u, 4097u, 800u * 600u * 3u, 641u * 479u * 3u + 2u}) sizes.push_back(n);
  for (size_t n : sizes) {
    Bytes data = Random(rng, n + 64);
    Bytes expected = data;
    reference::DeltaDecode(expected.data() + 32, n);
    DeltaDecode(data.data() + 32, n);
    ASSERT_EQ(data, expected) << "size " << n;
  }
}

// Long runs of the same difference make every sum wrap many times over.
TEST_P(DeltaKernel, MatchesTheReferenceOnConstantDifferences) {
  for (uint8_t d : {uint8_t{1}, uint8_t{0x7F}, uint8_t{0xFF}}) {
    Bytes data(3 * 1000 + 1, d);
    data[1] = 0x80;
    Bytes expected = data;
    reference::DeltaDecode(expected.data(), expected.size());
    DeltaDecode(data.data(), data.size());
    ASSERT_EQ(data, expected) << "difference " << int{d};
  }
}

INSTANTIATE_TEST_SUITE_P(Isas, DeltaKernel, testing::Values(BlendIsa::kSse2, BlendIsa::kAvx2),
                         [](const testing::TestParamInfo<BlendIsa>& info) {
                           return info.param == BlendIsa::kAvx2 ? "Avx2" : "Sse2";
                         });

}  // namespace
}  // namespace quill
