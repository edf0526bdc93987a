#include "engine/one_shot_effects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command_table.h"
#include "engine/end_credits.h"
#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Pattern;
using test::Solid;
using Move = test::ProbePlatform::WindowMove;

constexpr Bgr kWhite{255, 255, 255};
constexpr Bgr kBlack{0, 0, 0};

TEST(SpecialEffectTest, WhiteFlashSevenTimesAndThePictureComesBack) {
  GameRig rig;
  Engine& e = rig.Start();
  const Bgr shown{30, 90, 150};
  e.screen() = Solid(shown);
  const uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {5u, 25u, 245u, 265u}) rig.platform().ProbeAt(t0 + dt);
  SpecialEffect(e, "0");
  rig.platform().FinishProbes();
  EXPECT_EQ(At(rig.platform().Probe(t0 + 5), 400, 300), kWhite);
  EXPECT_EQ(At(rig.platform().Probe(t0 + 25), 400, 300), shown);
  EXPECT_EQ(At(rig.platform().Probe(t0 + 245), 400, 300), kWhite);  // the seventh flash
  EXPECT_EQ(At(rig.platform().Probe(t0 + 265), 400, 300), shown);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 280);
  EXPECT_TRUE(rig.platform().display() == e.screen());
}

TEST(SpecialEffectTest, WindowJoltTenStepsOfTwentyPixelsUpFirst) {
  GameRig rig;
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  const uint32_t t0 = rig.platform().NowMs();
  SpecialEffect(e, "1");
  std::vector<Move> expected;
  for (int k = 0; k < 10; ++k) expected.push_back({t0 + 50u * k, 0, k % 2 == 0 ? -20 : 20});
  expected.push_back({t0 + 500, 0, 0});
  EXPECT_EQ(rig.platform().window_moves, expected);
}

struct BandsCase {
  const char* argument;
  int dark_above, dark_from;  // rows [0, dark_above) and [dark_from, 600) are scaled
  int level;
};

TEST(SpecialEffectTest, DarkenedBandsScaleTheRowsOutsideTheBandUntilTheNextUpdate) {
  const BandsCase cases[] = {
      {"2,150,450,0", 150, 450, 0},   {"2,0,600,8", 0, 600, 8}, {"2,120,480,6", 120, 480, 6},
      {"2,-40,900,3", 0, 600, 3},      // TOP and BOTTOM are kept to the picture
      {"2,300,100,20", 300, 100, 20},  // overlapping rows are scaled twice; the low byte is kept
  };
  for (const BandsCase& c : cases) {
    GameRig rig;
    Engine& e = rig.Start();
    Picture before = Pattern(7);
    e.screen() = before;
    e.pictures().scene = before;
    SpecialEffect(e, c.argument);
    for (int y : {0, 99, 100, 119, 120, 149, 150, 299, 300, 449, 450, 479, 480, 599}) {
      const int times = (y < c.dark_above ? 1 : 0) + (y >= c.dark_from ? 1 : 0);
      for (int x : {0, 333, 799}) {
        const uint8_t* p = before.Pixel(x, y);
        Bgr expected{p[0], p[1], p[2]};
        for (int k = 0; k < times; ++k) {
          expected = {(expected.b * c.level >> 4) & 255, (expected.g * c.level >> 4) & 255,
                      (expected.r * c.level >> 4) & 255};
        }
        ASSERT_EQ(At(e.screen(), x, y), expected) << c.argument << " at " << x << "," << y;
        ASSERT_EQ(At(rig.platform().display(), x, y), expected) << c.argument;
      }
    }
    EXPECT_TRUE(e.pictures().scene == before) << c.argument;
  }
}

TEST(SpecialEffectTest, SkipModeWithEfxCutRunsNoEffect) {
  GameRig rig;
  Engine& e = rig.Start();
  e.skip_mode = true;
  e.efx_cut = true;
  rig.platform().Present(Solid({1, 2, 3}));
  const uint32_t t0 = rig.platform().NowMs();
  EXPECT_EQ(e.DispatchCommand(kCmdSpecial, "*special 0"), 1);
  EXPECT_EQ(e.DispatchCommand(kCmdShake, "*shake 0"), 1);
  EXPECT_EQ(rig.platform().NowMs(), t0);
  EXPECT_EQ(At(rig.platform().display(), 0, 0), (Bgr{1, 2, 3}));
  // Without EFX_CUT the effect runs in skip mode too.
  e.efx_cut = false;
  e.DispatchCommand(kCmdSpecial, "*special 0");
  EXPECT_EQ(rig.platform().NowMs(), t0 + 280);
}

TEST(CompletionRateTest, CountsTheSevenRangesOnly) {
  struct Case {
    const char* what;
    std::vector<int> flags;
    int rate;
  };
  std::vector<int> all;
  for (auto [first, last] :
       {std::pair{1, 38}, {101, 131}, {201, 250}, {301, 337}, {401, 444}, {501, 521}, {601, 607}}) {
    for (int n = first; n <= last; ++n) all.push_back(n);
  }
  ASSERT_EQ(all.size(), 228u);
  std::vector<int> but_one(all.begin() + 1, all.end());
  const Case cases[] = {
      {"none", {}, 0},
      {"outside the ranges", {0, 39, 100, 132, 251, 338, 445, 522, 608, 999}, 0},
      {"227 of 228", but_one, 99},
      {"all", all, 100},
      {"57 of 228", std::vector<int>(all.begin(), all.begin() + 57), 25},
  };
  for (const Case& c : cases) {
    ValueBanks banks;
    for (int n : c.flags) banks.E.Set(n, true);
    EXPECT_EQ(CompletionRate(banks), c.rate) << c.what;
  }
}

TEST(EndCreditsScriptTest, LayoutAndMalformedScripts) {
  std::optional<EndCreditsScript> ok =
      ReadEndCredits(test::ScriptBytes({"25 ms", "song,0", "staff,7", "*", "A", "", "B", "*end"}));
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->step_ms, 25);
  EXPECT_EQ(ok->second_entry, 7);
  EXPECT_EQ(ok->lines, (std::vector<std::string>{"A", "", "B"}));
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"20", "a,1", "b,2"},                                   // no end of the first section
      {"20", "a,1", "b,2", "*", "A"},                         // no end of the credits
      {"20", "a,1", "*", "A", "*"},                           // one entry only
      {"20", "a,1", "b,2", "*", std::string(100, 'x'), "*"},  // a line of 100 bytes
  };
  for (const auto& lines : bad)
    EXPECT_FALSE(ReadEndCredits(test::ScriptBytes(lines))) << lines.size();
}

bool AnyWhite(const Picture& p, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      if (At(p, x, y) == kWhite) return true;
    }
  }
  return false;
}

TEST(EndCreditsTest, TenLinesRollFor460StepsAndEndBlackBesideTheBackground) {
  GameRig rig;
  std::string script = "20\nsong,0\nstaff,1\n*\n";
  for (int i = 0; i < 10; ++i) script += "ＡＢＣＤＥＦＧＨＩＪ\n";
  script += "*\n";
  rig.game().Script("endroll", script);
  Engine& e = rig.Start("3000 click 100 100\n");
  const Bgr back{10, 100, 60};
  e.pictures().background = Solid(back);
  const uint32_t t0 = rig.platform().NowMs();
  // Step 30 (y = 60): the first line's top is at panel row 540, below the fade.
  rig.platform().ProbeAt(t0 + 30 * 20 + 5);
  SpecialEffect(e, "5");
  rig.platform().FinishProbes();
  EXPECT_EQ(rig.platform().NowMs(), t0 + 460 * 20);  // a click does not end it
  const Picture& early = rig.platform().Probe(t0 + 605);
  EXPECT_TRUE(AnyWhite(early, 544, 540, 800, 576)) << test::Keep(early, "credits-early");
  EXPECT_FALSE(AnyWhite(early, 544, 0, 800, 530));
  EXPECT_EQ(At(early, 10, 10), back);
  // At its last row the panel shows what lies past the credits picture: black.
  const Picture& last = rig.platform().display();
  EXPECT_FALSE(AnyWhite(last, 544, 0, 800, 600)) << test::Keep(last, "credits-last");
  EXPECT_EQ(At(last, 700, 300), kBlack);
}

TEST(EndCreditsTest, AMissingScriptEndsAtOnce) {
  GameRig rig;
  Engine& e = rig.Start();
  const uint32_t t0 = rig.platform().NowMs();
  SpecialEffect(e, "5");
  EXPECT_EQ(rig.platform().NowMs(), t0);
}

}  // namespace
}  // namespace quill
