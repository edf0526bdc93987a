#include "graphics/scene_filters.h"

#include <gtest/gtest.h>

#include <random>

#include "graphics/blend_kernels.h"

namespace quill {
namespace {

Picture RandomPicture(int w, int h, uint32_t seed) {
  Picture p(w, h);
  std::mt19937 rng(seed);
  for (uint8_t& b : p.bytes()) b = static_cast<uint8_t>(rng());
  return p;
}

TEST(SceneFilter, ScaleIsSixteenthsKeepingTheLowByte) {
  struct Case {
    int scale;
    uint8_t in, out;
  } cases[] = {
      {8, 200, 100},                  // halves
      {8, 255, 127}, {16, 77, 77},    // unchanged
      {0, 255, 0},   {20, 200, 250},  // brightens while it fits a byte
      {20, 255, 62},                  // 318 keeps its low 8 bits
      {-16, 1, 255},                  // -1 as a byte
  };
  for (const Case& c : cases) {
    Picture scene(800, 600);
    scene.Fill(c.in, c.in, c.in);
    ApplySceneFilter(scene, kSceneFilterScale, c.scale);
    for (int y : {0, 599}) {
      for (int x : {0, 799}) {
        EXPECT_EQ(scene.Pixel(x, y)[0], c.out) << "scale " << c.scale << " of " << int(c.in);
        EXPECT_EQ(scene.Pixel(x, y)[2], c.out) << "scale " << c.scale << " of " << int(c.in);
      }
    }
  }
}

// The kernel path and the plain per-byte rule give the same bytes, on every instruction set.
TEST(SceneFilter, ScaleMatchesThePerByteRuleOnRandomScenes) {
  const BlendIsa before = ActiveBlendIsa();
  for (BlendIsa isa : {BlendIsa::kScalar, BlendIsa::kSse2, BlendIsa::kAvx2}) {
    if (!SetBlendIsa(isa)) continue;
    for (int scale : {0, 3, 8, 13, 16}) {
      Picture scene = RandomPicture(800, 600, 7 + scale);
      Picture expected = scene;
      for (uint8_t& b : expected.bytes()) b = static_cast<uint8_t>((b * scale) >> 4);
      ApplySceneFilter(scene, kSceneFilterScale, scale);
      EXPECT_EQ(scene, expected) << "scale " << scale << " isa " << int(isa);
    }
  }
  SetBlendIsa(before);
}

TEST(SceneFilter, SepiaAndGreyFromTheChannelMean) {
  Picture scene(2, 1);
  uint8_t* p = scene.Pixel(0, 0);
  p[0] = 10, p[1] = 100, p[2] = 250;  // mean 120
  uint8_t* q = scene.Pixel(1, 0);
  q[0] = 255, q[1] = 255, q[2] = 254;  // mean 254 (division truncates)

  Picture sepia = scene;
  ApplySceneFilter(sepia, kSceneFilterSepia, 16);
  EXPECT_EQ(sepia.Pixel(0, 0)[0], 30);  // 120 >> 2
  EXPECT_EQ(sepia.Pixel(0, 0)[1], 90);  // 360 >> 2
  EXPECT_EQ(sepia.Pixel(0, 0)[2], 120);
  EXPECT_EQ(sepia.Pixel(1, 0)[0], 63);
  EXPECT_EQ(sepia.Pixel(1, 0)[1], 190);  // 762 >> 2
  EXPECT_EQ(sepia.Pixel(1, 0)[2], 254);

  Picture grey = scene;
  ApplySceneFilter(grey, kSceneFilterGrey, 16);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grey.Pixel(0, 0)[c], 120);
    EXPECT_EQ(grey.Pixel(1, 0)[c], 254);
  }
}

TEST(SceneFilter, TurnExchangesRowsAndReversesPixels) {
  Picture scene = RandomPicture(800, 600, 3);
  Picture turned = scene;
  ApplySceneFilter(turned, kSceneFilterTurn, 16);
  for (auto [x, y] : {std::pair{0, 0}, {799, 599}, {1, 0}, {400, 300}, {123, 456}}) {
    for (int c = 0; c < 3; ++c) {
      ASSERT_EQ(turned.Pixel(x, y)[c], scene.Pixel(799 - x, 599 - y)[c]) << x << "," << y;
    }
  }
  ApplySceneFilter(turned, kSceneFilterTurn, 16);
  EXPECT_EQ(turned, scene);
}

TEST(SceneFilter, OtherValuesLeaveTheScene) {
  const Picture scene = RandomPicture(800, 600, 5);
  for (int kind : {0, 5, -1, 100}) {
    Picture s = scene;
    ApplySceneFilter(s, kind, 8);
    EXPECT_EQ(s, scene) << kind;
  }
}

}  // namespace
}  // namespace quill
