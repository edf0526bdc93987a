#include "graphics/transitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "graphics/fades.h"
#include "tests/graphics/probe_platform.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::Keep;
using test::Masked;
using test::Mix;
using test::Pattern;
using test::ProbePlatform;
using test::Solid;

// An engine over the probing platform, with no game: RunTransition needs only the pictures, the
// banks, the settings and the clock.
class TransitionRig {
 public:
  explicit TransitionRig(const std::string& scenario = "") {
    Scenario parsed = ParseScenario(scenario, dir_.path());
    EXPECT_TRUE(parsed.ok());
    platform_ = std::make_unique<ProbePlatform>(dir_.path(), parsed.events);
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
  }
  Engine& engine() { return *engine_; }
  ProbePlatform& platform() { return *platform_; }

  // The state UpdateScreen leaves: the old picture saved and on the display, the new one in the
  // screen buffer.
  void Pictures(const Picture& old_pic, const Picture& new_pic) {
    engine_->pictures().saved = old_pic;
    engine_->pictures().screen = new_pic;
    platform_->Present(old_pic);
  }
  void Run(int t) {
    engine_->transitions().RunTransition(t);
    platform_->FinishProbes();
  }
  const Picture& display() { return platform_->display(); }

 private:
  test::TempDir dir_;
  std::unique_ptr<ProbePlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

constexpr Bgr kOld{10, 20, 30};
constexpr Bgr kNew{200, 150, 100};
constexpr Bgr kBlack{0, 0, 0};

// --- The end of every type ---------------------------------------------------------------------

class TransitionEndTest : public ::testing::TestWithParam<int> {};

TEST_P(TransitionEndTest, EndsWithTheNewPictureAndTheFlagsCleared) {
  const int t = GetParam();
  TransitionRig rig;
  Picture old_pic = Pattern(1), new_pic = Pattern(2);
  rig.Pictures(old_pic, new_pic);
  rig.engine().banks().SetS(16, 2);
  rig.engine().banks().SetS(19, 7);
  rig.Run(t);
  Engine& e = rig.engine();
  EXPECT_TRUE(rig.display() == new_pic) << "type " << t << ": " << Keep(rig.display(), "end");
  EXPECT_FALSE(e.busy);
  EXPECT_FALSE(e.transition_running);
  EXPECT_EQ(e.banks().S(16), 0);  // the speed selector is reset after every transition
  EXPECT_EQ(e.banks().S(19), 0);
  // Only the in-place types leave the new picture in the saved screen.
  bool in_place = t == 15 || t == 16;
  EXPECT_EQ(e.pictures().saved == new_pic, in_place) << "type " << t;
  EXPECT_TRUE(e.pictures().screen == new_pic);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TransitionEndTest, ::testing::Range(1, kTransitionTypes));

// Type 0, numbers beyond 22: nothing is drawn. A negative number is type 1.
TEST(TransitionTest, TypeZeroAndUnknownTypesDrawNothing) {
  for (int t : {0, 23, 99}) {
    TransitionRig rig;
    rig.Pictures(Solid(kOld), Solid(kNew));
    rig.engine().banks().SetS(16, 5);
    rig.Run(t);
    EXPECT_EQ(At(rig.display(), 400, 300), kOld) << "type " << t;
    EXPECT_EQ(rig.platform().NowMs(), 0u);
    EXPECT_EQ(rig.engine().banks().S(16), 0);
    EXPECT_FALSE(rig.engine().busy);
  }
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.platform().ProbeAt(35);
  rig.Run(-3);
  EXPECT_EQ(At(rig.platform().Probe(35), 0, 0), Mix(48, kNew, kOld));  // type 1's level at 35 ms
}

TEST(TransitionTest, FullScreenLayoutKeepsTheNewPictureAsTheSavedScreen) {
  for (int layout : {0, 1}) {
    TransitionRig rig;
    rig.Pictures(Solid(kOld), Solid(kNew));
    rig.engine().banks().SetS(150, layout);
    rig.Run(1);
    EXPECT_EQ(At(rig.engine().pictures().saved, 5, 5), layout ? kNew : kOld);
  }
}

// A screen picture of another size (nothing should leave one, but the types write whole rows) is
// taken as its top-left part of a black screen.
TEST(TransitionTest, PicturesOfAnotherSizeAreTakenAsScreenSized) {
  for (int t : {5, 8, 13, 15, 17, 20, 22}) {
    TransitionRig rig;
    rig.Pictures(Solid(kOld), Solid(kNew));
    Picture small(10, 6);
    small.Fill(1, 2, 3);
    rig.engine().pictures().screen = small;
    rig.engine().pictures().saved = Picture(3, 900);
    rig.Run(t);
    Picture want = small;
    want.Resize(kScreenWidth, kScreenHeight);
    EXPECT_TRUE(rig.display() == want) << "type " << t;
  }
}

// --- Cuts ----------------------------------------------------------------------------------------

struct CutCase {
  int gmode;
  bool skip;
};

void PrintTo(const CutCase& c, std::ostream* os) {
  *os << "GMode " << c.gmode << ", skip " << c.skip;
}

class CutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutTest, GModeOrSkipModeMakeEveryTransitionACut) {
  for (int t : {0, 1, 5, 7, 17, 22}) {
    TransitionRig rig;
    rig.engine().settings().SetInt(SettingId::GMode, GetParam().gmode);
    rig.engine().skip_mode = GetParam().skip;
    Picture new_pic = Pattern(4);
    rig.Pictures(Pattern(3), new_pic);
    rig.Run(t);
    EXPECT_TRUE(rig.display() == new_pic) << "type " << t;
    EXPECT_EQ(rig.platform().NowMs(), 0u) << "type " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, CutTest, ::testing::Values(CutCase{1, false}, CutCase{0, true}));

// --- Levels and pieces at chosen times
// ------------------------------------------------------------

struct LevelCase {
  int type;
  int s016;
  uint32_t time;
  int level;  // the cross-fade level every pixel shows
};

void PrintTo(const LevelCase& c, std::ostream* os) {
  *os << "type " << c.type << ", S016 " << c.s016 << ", " << c.time << " ms";
}

class CrossFadeLevelTest : public ::testing::TestWithParam<LevelCase> {};

TEST_P(CrossFadeLevelTest, ShowsOneLevelOfTheStepSequence) {
  const LevelCase& c = GetParam();
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.engine().banks().SetS(16, c.s016);
  rig.platform().ProbeAt(c.time);
  rig.Run(c.type);
  const Picture& shot = rig.platform().Probe(c.time);
  EXPECT_TRUE(shot == Solid(Mix(c.level, kNew, kOld)))
      << "type " << c.type << " at " << c.time << ": " << At(shot, 0, 0) << " "
      << Keep(shot, "level");
}

INSTANTIATE_TEST_SUITE_P(
    Steps, CrossFadeLevelTest,
    ::testing::Values(LevelCase{1, 0, 0, 0}, LevelCase{1, 0, 35, 48}, LevelCase{1, 0, 159, 240},
                      LevelCase{2, 0, 50, 24},    // 8 per 15 ms
                      LevelCase{3, 0, 100, 48},   // S016 0: 4 per 8 ms
                      LevelCase{3, 4, 20, 32},    // S016 4: 16 per 8 ms
                      LevelCase{3, 13, 100, 12},  // S016 13: 1 per 8 ms
                      LevelCase{3, 13, 2047, 255},
                      LevelCase{20, 0, 20, 24}));  // a zoomed solid picture is the same colour

TEST(TransitionTest, SpeedSelectorAppliesToOneTransitionOnly) {
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.engine().banks().SetS(16, 13);
  rig.Run(3);
  // Levels 0 … 256 one by one: 256 steps of 8 ms, and the wait after the last level.
  EXPECT_EQ(rig.platform().NowMs(), 257u * 8u);
  EXPECT_EQ(rig.engine().banks().S(16), 0);
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.Run(3);
  EXPECT_EQ(rig.platform().NowMs(), 257u * 8u + 65u * 8u);  // levels 0, 4 … 256
}

// A pixel of the display at a time, as the old or the new picture at a source position (or, for
// type 15, the old byte moved 16 towards the new one).
struct PieceCase {
  int type;
  uint32_t time;
  int x, y;
  char source;  // 'O' old, 'N' new, 'C' converging
  int sx, sy;
};

void PrintTo(const PieceCase& c, std::ostream* os) {
  *os << "type " << c.type << ", " << c.time << " ms, (" << c.x << ", " << c.y << ")";
}

class PieceTest : public ::testing::TestWithParam<PieceCase> {};

TEST_P(PieceTest, CopiesThePiecesOfTheNewPictureInTheirOrder) {
  const PieceCase& c = GetParam();
  TransitionRig rig;
  Picture old_pic = Pattern(5), new_pic = Pattern(6);
  rig.Pictures(old_pic, new_pic);
  rig.platform().ProbeAt(c.time);
  rig.Run(c.type);
  Bgr got = At(rig.platform().Probe(c.time), c.x, c.y);
  Bgr want;
  if (c.source == 'C') {
    Bgr o = At(old_pic, c.x, c.y), n = At(new_pic, c.x, c.y);
    auto step = [](int from, int to) { return from + std::clamp(to - from, -16, 16); };
    want = {step(o.b, n.b), step(o.g, n.g), step(o.r, n.r)};
  } else {
    want = At(c.source == 'N' ? new_pic : old_pic, c.sx, c.sy);
  }
  EXPECT_EQ(got, want) << "type " << c.type << " at " << c.time << " ms, pixel (" << c.x << ", "
                       << c.y << ")";
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Geometry, PieceTest, ::testing::Values(
    // 6: 16-pixel stripes, stripe s growing from frame s (20 ms frames)
    PieceCase{6, 10, 0, 300, 'N', 0, 300}, PieceCase{6, 10, 1, 300, 'O', 1, 300},
    PieceCase{6, 310, 15, 0, 'N', 15, 0}, PieceCase{6, 310, 30, 0, 'N', 30, 0},
    PieceCase{6, 310, 31, 0, 'O', 31, 0}, PieceCase{6, 310, 240, 0, 'N', 240, 0},
    PieceCase{6, 310, 241, 0, 'O', 241, 0},
    // 7: the iris at radius 5 in its first frame
    PieceCase{7, 10, 405, 300, 'N', 405, 300}, PieceCase{7, 10, 406, 300, 'O', 406, 300},
    PieceCase{7, 10, 400, 305, 'N', 400, 305}, PieceCase{7, 10, 400, 306, 'O', 400, 306},
    PieceCase{7, 10, 404, 296, 'N', 404, 296}, PieceCase{7, 10, 405, 296, 'O', 405, 296},
    // 9: five even rows from the top and five odd rows from the bottom per frame
    PieceCase{9, 5, 0, 8, 'N', 0, 8}, PieceCase{9, 5, 0, 10, 'O', 0, 10},
    PieceCase{9, 5, 0, 1, 'O', 0, 1}, PieceCase{9, 5, 0, 591, 'N', 0, 591},
    PieceCase{9, 5, 0, 589, 'O', 0, 589},
    // 10: the same with columns
    PieceCase{10, 3, 8, 0, 'N', 8, 0}, PieceCase{10, 3, 9, 0, 'O', 9, 0},
    PieceCase{10, 3, 791, 0, 'N', 791, 0}, PieceCase{10, 3, 790, 0, 'O', 790, 0},
    // 11: the first square, 2 × 2 around (32, 32), in the second frame
    PieceCase{11, 30, 31, 31, 'N', 31, 31}, PieceCase{11, 30, 32, 32, 'N', 32, 32},
    PieceCase{11, 30, 33, 33, 'O', 33, 33}, PieceCase{11, 30, 30, 30, 'O', 30, 30},
    // 15: a band of rows converging, the first frame covers rows 0-3
    PieceCase{15, 10, 0, 0, 'C', 0, 0}, PieceCase{15, 10, 700, 3, 'C', 0, 0},
    PieceCase{15, 10, 0, 4, 'O', 0, 4},
    // 16: slanted strips after the first shown frame
    PieceCase{16, 10, 0, 0, 'N', 0, 0}, PieceCase{16, 10, 1, 0, 'N', 1, 0},
    PieceCase{16, 10, 2, 0, 'O', 2, 0}, PieceCase{16, 10, 0, 1, 'N', 0, 1},
    PieceCase{16, 10, 1, 1, 'O', 1, 1}, PieceCase{16, 10, 20, 0, 'N', 20, 0},
    PieceCase{16, 10, 21, 0, 'O', 21, 0}, PieceCase{16, 10, 19, 1, 'N', 19, 1},
    // 18: the halves of the new picture, 32 columns in, on both sides
    PieceCase{18, 4, 0, 0, 'N', 368, 0}, PieceCase{18, 4, 31, 7, 'N', 399, 7},
    PieceCase{18, 4, 32, 7, 'O', 32, 7}, PieceCase{18, 4, 768, 7, 'N', 400, 7},
    PieceCase{18, 4, 799, 7, 'N', 431, 7}, PieceCase{18, 4, 767, 7, 'O', 767, 7},
    // 19: the new picture pushing in 20 columns, the old one moved right
    PieceCase{19, 12, 0, 5, 'N', 780, 5}, PieceCase{19, 12, 19, 5, 'N', 799, 5},
    PieceCase{19, 12, 20, 5, 'O', 0, 5}, PieceCase{19, 12, 799, 5, 'O', 779, 5}));
// clang-format on

// Slide fades at v = 24: the 256 black pixels beside each picture fade too.
TEST(TransitionTest, SlideFadesMoveBothPicturesBesideBlack) {
  struct Case {
    int type;
    int x;
    Bgr want;
  };
  const Case cases[] = {
      {21, 0, Mix(24, kBlack, kOld)},   {21, 300, Mix(24, kNew, kOld)},
      {21, 790, Mix(24, kNew, kBlack)}, {22, 0, Mix(24, kNew, kBlack)},
      {22, 300, Mix(24, kNew, kOld)},   {22, 790, Mix(24, kBlack, kOld)},
  };
  for (const Case& c : cases) {
    TransitionRig rig;
    rig.Pictures(Solid(kOld), Solid(kNew));
    rig.platform().ProbeAt(20);
    rig.Run(c.type);
    EXPECT_EQ(At(rig.platform().Probe(20), c.x, 100), c.want) << "type " << c.type << " x " << c.x;
  }
}

TEST(TransitionTest, RuleWipeChangesBrightPatternAreasFirst) {
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  Picture& wipe = rig.engine().pictures().wipe;
  wipe.Fill(64, 64, 64);
  wipe.FillRect({0, 0, 400, 600}, 255, 255, 255);
  // First sweep: mask = max(0, W − v), v = 252, 248 … every 8 ms; then min(255, W + v), v = 0, 4 …
  for (uint32_t t : {324u, 508u, 588u}) rig.platform().ProbeAt(t);
  rig.Run(5);
  EXPECT_EQ(At(rig.platform().Probe(324), 100, 100), Masked(kOld, kNew, 255 - 92));
  EXPECT_EQ(At(rig.platform().Probe(324), 700, 100), Masked(kOld, kNew, 0));
  EXPECT_EQ(At(rig.platform().Probe(508), 100, 100), Masked(kOld, kNew, 255));
  EXPECT_EQ(At(rig.platform().Probe(508), 700, 100), Masked(kOld, kNew, 64));
  EXPECT_EQ(At(rig.platform().Probe(588), 700, 100), Masked(kOld, kNew, 64 + 40));
  EXPECT_EQ(rig.platform().NowMs(), 504u + 64u * 8u);
}

TEST(TransitionTest, SoftWipeLeadsWithPureNewPicture) {
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.platform().ProbeAt(284);  // v = 0: the ramp covers columns 0-287
  rig.Run(13);
  const Picture& shot = rig.platform().Probe(284);
  EXPECT_EQ(At(shot, 0, 50), kNew);  // a group of zero mask bytes keeps the new picture exactly
  // Column 32 has mask 0 too, but shares its group with column 33 (mask 1).
  EXPECT_EQ(At(shot, 32, 50), Masked(kNew, kOld, 0));
  EXPECT_EQ(At(shot, 100, 50), Masked(kNew, kOld, 68));
  EXPECT_EQ(At(shot, 287, 50), Masked(kNew, kOld, 255));
  EXPECT_EQ(At(shot, 288, 50), kOld);
}

TEST(TransitionTest, RandomTilesFadeInOneAfterAnother) {
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.platform().ProbeAt(164);  // step 20 of 8 ms
  rig.Run(8);
  const Picture& shot = rig.platform().Probe(164);
  std::map<int, int> tiles_at_weight;  // weight → tiles; -1 for a tile of no known level
  for (int n = 0; n < 100; ++n) {
    int x = (n % 10) * 80, y = (n / 10) * 60;
    Bgr c = At(shot, x, y);
    EXPECT_EQ(At(shot, x + 79, y + 59), c) << "tile " << n << " is not uniform";
    int weight = -1;
    for (int k = 0; k <= 16; ++k) {
      if (c == Mix(16 * k, kOld, kNew)) weight = 16 * k;
    }
    tiles_at_weight[weight] += 1;
  }
  // Tiles 0-4 of the order are done, 5-19 on their way (one per level), the rest still old.
  std::map<int, int> want{{0, 5}, {256, 80}};
  for (int k = 1; k < 16; ++k) want[16 * k] = 1;
  EXPECT_EQ(tiles_at_weight, want);
}

TEST(TransitionTest, DitheredFadeSpreadsEachLevelOverFourPhases) {
  TransitionRig rig;
  rig.Pictures(Solid(kOld), Solid(kNew));
  // S016 0: sixteen levels, each in four phases of 40 ms.
  for (uint32_t t : {20u, 60u, 180u}) rig.platform().ProbeAt(t);
  rig.Run(17);
  auto level = [](int m) {
    auto mix = [m](int o, int n) { return (o * (16 - m) + n * m) / 16; };
    return Bgr{mix(kOld.b, kNew.b), mix(kOld.g, kNew.g), mix(kOld.r, kNew.r)};
  };
  struct Expect {
    uint32_t time;
    Bgr even_even, odd_odd, even_odd, odd_even;  // row parity, pixel parity
  };
  const Expect expects[] = {
      {20, level(1), kOld, kOld, kOld},
      {60, level(1), level(1), kOld, kOld},
      {180, level(2), level(1), level(1), level(1)},
  };
  for (const Expect& x : expects) {
    const Picture& shot = rig.platform().Probe(x.time);
    EXPECT_EQ(At(shot, 10, 20), x.even_even) << x.time;
    EXPECT_EQ(At(shot, 11, 21), x.odd_odd) << x.time;
    EXPECT_EQ(At(shot, 11, 20), x.even_odd) << x.time;
    EXPECT_EQ(At(shot, 10, 21), x.odd_even) << x.time;
  }
  EXPECT_EQ(rig.platform().NowMs(), 16u * 4u * 40u);
}

TEST(TransitionTest, IrisCentredOnTheScreenLeavesTheCorners) {
  TransitionRig rig;
  Picture old_pic = Pattern(7), new_pic = Pattern(8);
  rig.Pictures(old_pic, new_pic);
  rig.engine().banks().SetS(20, 400);
  rig.engine().banks().SetS(21, 300);
  rig.Run(7);
  const Picture& d = rig.display();
  for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}}) {
    EXPECT_EQ(At(d, x, y), At(old_pic, x, y)) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{400, 0}, {0, 300}, {799, 300}, {400, 599}, {60, 60}}) {
    EXPECT_EQ(At(d, x, y), At(new_pic, x, y)) << x << "," << y;
  }
  EXPECT_EQ(rig.platform().NowMs(), 50u * 20u);  // radii 5 … 495, one per 20 ms frame
}

// --- Interruptions ------------------------------------------------------------------------------

class InterruptTest : public ::testing::TestWithParam<int> {};

TEST_P(InterruptTest, AClickEndsTheTransitionWithTheNewPicture) {
  const int t = GetParam();
  uint32_t full_run;
  {
    TransitionRig rig;
    rig.Pictures(Pattern(9), Pattern(10));
    rig.Run(t);
    full_run = rig.platform().NowMs();
  }
  TransitionRig rig("30 click 400 300\n");
  Picture new_pic = Pattern(10);
  rig.Pictures(Pattern(9), new_pic);
  rig.Run(t);
  Engine& e = rig.engine();
  EXPECT_TRUE(rig.display() == new_pic) << "type " << t << ": " << Keep(rig.display(), "click");
  EXPECT_LT(rig.platform().NowMs(), std::min(full_run, 30u + 300u)) << "type " << t;
  // gra reads the interruption afterwards; the dithered fade alone does not mark S019.
  EXPECT_EQ(e.transition_interrupt, 1);
  EXPECT_EQ(e.banks().S(19), t == 17 ? 0 : 1) << "type " << t;
  EXPECT_FALSE(e.transition_running);
  EXPECT_FALSE(e.busy);
}

INSTANTIATE_TEST_SUITE_P(TimedTypes, InterruptTest,
                         ::testing::Values(1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,
                                           18, 19, 20, 21, 22));

TEST(TransitionTest, ACloseRequestEndsTheTransitionAndWaitsForGra) {
  TransitionRig rig("40 close\n");
  Picture new_pic = Pattern(12);
  rig.Pictures(Pattern(11), new_pic);
  rig.Run(8);
  EXPECT_TRUE(rig.display() == new_pic);
  EXPECT_EQ(rig.engine().transition_interrupt, 2);
  EXPECT_EQ(rig.engine().banks().S(19), 1);
  EXPECT_FALSE(rig.engine().closed());
}

TEST(TransitionTest, AClickBeforeTheTransitionDoesNotCutIt) {
  TransitionRig rig("0 click 400 300\n");
  rig.platform().PumpMessages();  // delivered while no transition runs
  rig.Pictures(Solid(kOld), Solid(kNew));
  rig.platform().ProbeAt(35);
  rig.Run(1);
  EXPECT_EQ(At(rig.platform().Probe(35), 0, 0), Mix(48, kNew, kOld));
  EXPECT_EQ(rig.engine().banks().S(19), 0);
}

// --- Fades outside a transition
// --------------------------------------------------------------------

TEST(FadesTest, FadeByKindPicksStepAndPeriod) {
  struct Case {
    int kind;
    uint32_t time;
    int level;
  };
  const Case cases[] = {{1, 85, 48}, {3, 120, 10}, {4, 120, 4}, {0, 85, 24}, {7, 85, 24}};
  for (const Case& c : cases) {
    TransitionRig rig;
    rig.Pictures(Solid(kOld), Solid(kNew));
    rig.platform().ProbeAt(c.time);
    FadeByKind(rig.engine(), c.kind);
    rig.platform().FinishProbes();
    EXPECT_EQ(At(rig.platform().Probe(c.time), 3, 3), Mix(c.level, kNew, kOld)) << c.kind;
    EXPECT_EQ(At(rig.display(), 3, 3), kNew);
    EXPECT_FALSE(rig.engine().busy);
    EXPECT_FALSE(rig.engine().transition_running);
  }
}

TEST(FadesTest, SepiaFlashbackFadesFromTheShownScreenToTheSepiaScene) {
  TransitionRig rig;
  Engine& e = rig.engine();
  const Bgr scene{30, 90, 180};  // grey level (30 + 90 + 180) / 3 = 100
  e.pictures().scene = Solid(scene);
  rig.Pictures(Solid(kBlack), Solid(kOld));  // the saved screen is stale; kOld is shown
  rig.platform().ProbeAt(10);
  rig.platform().ProbeAt(100);
  SepiaFlashback(e);
  rig.platform().FinishProbes();
  const Bgr sepia{25, 75, 100};
  EXPECT_EQ(At(e.pictures().scene, 0, 0), sepia);
  EXPECT_EQ(At(e.pictures().screen, 0, 0), sepia);
  EXPECT_EQ(At(rig.platform().Probe(10), 0, 0), Mix(48, sepia, kOld));
  EXPECT_EQ(At(rig.platform().Probe(100), 0, 0), Mix(48 + 5 * 8, sepia, kOld));
  EXPECT_EQ(At(rig.display(), 0, 0), sepia);
  EXPECT_FALSE(e.busy);
}

}  // namespace
}  // namespace quill
