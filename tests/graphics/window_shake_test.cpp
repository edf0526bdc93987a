#include "graphics/window_shake.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::GameRig;
using Move = test::ProbePlatform::WindowMove;

struct ArgumentCase {
  std::string line;
  int type, amplitude, period;
};

TEST(ShakeArgumentsTest, DefaultsAndTheByteLimits) {
  const std::string pad(40, ' ');
  const ArgumentCase cases[] = {
      {"*shake 1", 1, 20, 50},
      {"*shake 0,8", 0, 8, 50},
      {"*shake 2,6,30", 2, 6, 30},
      // The amplitude's comma must lie within the first 49 bytes, the period's within 50.
      {"*shake 0" + pad + ",7,9", 0, 7, 50},    // commas at bytes 48 and 50: no period
      {"*shake 0" + pad + " ,7,9", 0, 20, 50},  // first comma at byte 49
      {"*shake 0" + std::string(39, ' ') + ",7,9", 0, 7, 9},  // commas at 47 and 49
  };
  for (const ArgumentCase& c : cases) {
    ShakeArguments a = ReadShakeArguments(c.line);
    EXPECT_EQ(a.type, c.type) << c.line;
    EXPECT_EQ(a.amplitude, c.amplitude) << c.line;
    EXPECT_EQ(a.period, c.period) << c.line;
  }
}

TEST(ShakeCommandTest, HorizontalShakeShrinksAlternatingSidesAndComesBack) {
  GameRig rig;
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  const uint32_t t0 = rig.platform().NowMs();
  ShakeCommand(e, "*shake 1");
  std::vector<Move> expected;
  for (int d = 20, k = 0; d > 0; d -= 2, ++k) {
    expected.push_back({t0 + 50u * k, (d & 2) ? d : -d, 0});
  }
  expected.push_back({t0 + 500, 0, 0});
  EXPECT_EQ(rig.platform().window_moves, expected);
  EXPECT_EQ(expected.front().dx, -20);  // left first
  EXPECT_EQ(expected[9].dx, 2);         // right last
}

TEST(ShakeCommandTest, VerticalShakeSidesFollowBitOneAndShotsAreOffset) {
  GameRig rig;
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  const uint32_t t0 = rig.platform().NowMs();
  ShakeCommand(e, "*shake 0,6,40");
  EXPECT_EQ(rig.platform().window_moves,
            (std::vector<Move>{{t0, 0, 6}, {t0 + 40, 0, -4}, {t0 + 80, 0, 2}, {t0 + 120, 0, 0}}));
  // A shot during a shake shows the picture moved, black where it uncovers.
  Picture shown = test::Pattern(4);
  rig.platform().Present(shown);
  rig.platform().SetShakeOffset(0, -6);
  Picture shot = rig.platform().ShotPicture();
  EXPECT_EQ(test::At(shot, 10, 0), test::At(shown, 10, 6));
  EXPECT_EQ(test::At(shot, 10, 599), (test::Bgr{0, 0, 0}));
}

TEST(ShakeCommandTest, RandomShakeMovesDiagonallyOrStraightByTheAmplitude) {
  GameRig rig;
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  ShakeCommand(e, "*shake 2,10,20");
  const auto& moves = rig.platform().window_moves;
  ASSERT_EQ(moves.size(), 6u);
  for (size_t k = 0; k + 1 < moves.size(); ++k) {
    int d = 10 - 2 * static_cast<int>(k);
    EXPECT_TRUE(std::abs(moves[k].dx) == d || moves[k].dx == 0) << k;
    EXPECT_TRUE(std::abs(moves[k].dy) == d || moves[k].dy == 0) << k;
    EXPECT_FALSE(moves[k].dx == 0 && moves[k].dy == 0) << k;
  }
  EXPECT_EQ(moves.back(), (Move{moves.back().time, 0, 0}));
}

TEST(ShakeCommandTest, OtherTypesMoveNothingButTakeTheirTime) {
  GameRig rig;
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  const uint32_t t0 = rig.platform().NowMs();
  ShakeCommand(e, "*shake 5,4,30");
  for (const Move& m : rig.platform().window_moves) EXPECT_EQ(m.dx | m.dy, 0);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 60);
}

}  // namespace
}  // namespace quill
