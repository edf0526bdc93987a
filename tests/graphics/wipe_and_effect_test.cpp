#include "graphics/wipe_and_effect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/sjis.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "tests/graphics/game_rig.h"

namespace quill {
namespace {

using test::At;
using test::Bgr;
using test::GameRig;
using test::Mix;
using test::Packed;
using test::Pattern;
using test::ProbePlatform;
using test::ScriptBytes;
using test::Solid;

int32_t Rgb(int r, int g, int b) { return r | (g << 8) | (b << 16); }

struct StepsCase {
  const char* what;
  std::vector<std::string> lines;
  std::string name;
  std::vector<EffectStep> steps;
};

class EffectStepsTest : public ::testing::TestWithParam<StepsCase> {};

TEST_P(EffectStepsTest, ReadsTheSectionOfTheName) {
  const StepsCase& c = GetParam();
  std::vector<uint8_t> script = ScriptBytes(c.lines);
  EXPECT_EQ(ReadEffectSteps(script, c.name), c.steps) << c.what;
}

void PrintTo(const StepsCase& c, std::ostream* os) { *os << c.what; }

INSTANTIATE_TEST_SUITE_P(
    Sections, EffectStepsTest,
    ::testing::Values(
        StepsCase{"F fields: screen, colour, tint; colour digits 16 × value, G = 255",
                  {":FLASH", "F,40,FG80,30,fa0c8,50"},
                  "flash",
                  {{kEffectShowScreen, 40, 0, 0},
                   {kEffectFill, 30, Rgb(255, 128, 0), 0},
                   {kEffectTint, 50, Rgb(160, 0, 192), 128}}},
        StepsCase{"an F line ends at an empty field or one of another letter",
                  {":A", "F,10,X,20,F,30", ":B", "F,10,,20,F,30"},
                  "A",
                  {{kEffectShowScreen, 10, 0, 0}}},
        StepsCase{"N: negative and normal screens alternate",
                  {":NEG", "N,100,100,60"},
                  "NEG",
                  {{kEffectNegative, 100, 0, 0},
                   {kEffectShowScreen, 100, 0, 0},
                   {kEffectNegative, 60, 0, 0}}},
        StepsCase{"S: one period, then x and y offsets",
                  {":SHAKE", "S,25,10,-4,-10,4"},
                  "SHAKE",
                  {{kEffectMoveWindow, 25, 10, -4}, {kEffectMoveWindow, 25, -10, 4}}},
        StepsCase{"lines accumulate; empty and other lines are skipped; the next ':' ends it",
                  {"F,5", ":MIX", "", "; a comment", "N,7", "", "S,9,1,2", ":NEXT", "F,11"},
                  "mix",
                  {{kEffectNegative, 7, 0, 0}, {kEffectMoveWindow, 9, 1, 2}}},
        StepsCase{"the section runs to the end of the script",
                  {":LAST", "F,3"},
                  "LAST",
                  {{kEffectShowScreen, 3, 0, 0}}},
        StepsCase{"no section of that name", {":FLASH", "F,40"}, "FLASH2", {}},
        StepsCase{"a name only in a line's text is no section", {"F,1,:X", "F,2"}, "X", {}}));

TEST(EffectStepsTest, KeepsAtMost200Steps) {
  std::string s_line = "S,5";
  for (int i = 0; i < 99; ++i) s_line += ",1,1";
  std::vector<uint8_t> script = ScriptBytes({":BIG", s_line, s_line, s_line});
  std::vector<EffectStep> steps = ReadEffectSteps(script, "BIG");
  EXPECT_EQ(steps.size(), kMaxEffectSteps);
}

// --- Commands on a started game ------------------------------------------------------------------

TEST(WipeSetTest, LoadsThePatternAndRemembersTheName) {
  GameRig rig;
  Picture rule = Pattern(3);
  Picture small(40, 30);
  small.Fill(90, 90, 90);
  rig.game().Resource("mg_gra.qlm", "WIPE1", Packed(rule));
  rig.game().Resource("mg_gra.qlm", "WIPE2", Packed(small));
  Engine& e = rig.Start();

  WipeSet(e, "WIPE1");
  EXPECT_TRUE(e.pictures().wipe == rule);
  EXPECT_EQ(e.transitions().overlay_name(), "WIPE1");

  // A name no archive holds is remembered, and the pattern stays.
  WipeSet(e, "NOSUCH");
  EXPECT_TRUE(e.pictures().wipe == rule);
  EXPECT_EQ(e.transitions().overlay_name(), "NOSUCH");

  // A pattern smaller than the screen lies at the top left of a black screen.
  WipeSet(e, "WIPE2");
  ASSERT_EQ(e.pictures().wipe.width(), kScreenWidth);
  ASSERT_EQ(e.pictures().wipe.height(), kScreenHeight);
  EXPECT_EQ(At(e.pictures().wipe, 39, 29), (Bgr{90, 90, 90}));
  EXPECT_EQ(At(e.pictures().wipe, 40, 29), (Bgr{0, 0, 0}));
  EXPECT_EQ(At(e.pictures().wipe, 39, 30), (Bgr{0, 0, 0}));

  // The record holds 29 bytes.
  WipeSet(e, std::string(40, 'W'));
  EXPECT_EQ(e.transitions().overlay_name(), std::string(29, 'W'));
}

TEST(EffectCommandTest, NegativeThenNormalScreen) {
  GameRig rig;
  rig.game().Script("effect", ":NEGA\nN,100,100\n");
  Engine& e = rig.Start();
  const Bgr shown{10, 100, 250};
  e.pictures().screen = Solid(shown);
  uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {50u, 150u}) rig.platform().ProbeAt(t0 + dt);
  EffectCommand(e, "nega");
  rig.platform().FinishProbes();
  EXPECT_EQ(At(rig.platform().Probe(t0 + 50), 7, 7), (Bgr{245, 155, 5}));
  EXPECT_EQ(At(rig.platform().Probe(t0 + 150), 7, 7), shown);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 200);
  EXPECT_EQ(At(rig.platform().display(), 7, 7), shown);
}

TEST(EffectCommandTest, ColourFlashesAndTints) {
  GameRig rig;
  // Blue for 30 ms, a white tint at level 4 × 16 for 40 ms, then the screen for 20 ms.
  rig.game().Script("effect", ":OTHER\nF,500\n:FLASH\nF00G,30,FGGG4,40,F,20\n");
  Engine& e = rig.Start();
  const Bgr shown{40, 80, 120};
  e.pictures().screen = Solid(shown);
  uint32_t t0 = rig.platform().NowMs();
  for (uint32_t dt : {10u, 50u, 80u}) rig.platform().ProbeAt(t0 + dt);
  EffectCommand(e, "FLASH");
  rig.platform().FinishProbes();
  const Bgr white{255, 255, 255};
  EXPECT_EQ(At(rig.platform().Probe(t0 + 10), 0, 0), (Bgr{255, 0, 0}));
  EXPECT_EQ(At(rig.platform().Probe(t0 + 50), 0, 0), Mix(64, white, shown));
  EXPECT_EQ(At(rig.platform().Probe(t0 + 80), 0, 0), shown);
  EXPECT_EQ(rig.platform().NowMs(), t0 + 90);
}

TEST(EffectCommandTest, WindowMovesAndComesBack) {
  GameRig rig;
  rig.game().Script("effect", ":JOLT\nS,25,10,-4,-10,4\n");
  Engine& e = rig.Start();
  rig.platform().window_moves.clear();
  uint32_t t0 = rig.platform().NowMs();
  EffectCommand(e, "JOLT");
  using Move = ProbePlatform::WindowMove;
  EXPECT_EQ(rig.platform().window_moves,
            (std::vector<Move>{{t0, 10, -4}, {t0 + 25, -10, 4}, {t0 + 50, 0, 0}}));
}

TEST(EffectCommandTest, AMissingSectionOrScriptDoesNothing) {
  for (bool with_script : {true, false}) {
    GameRig rig;
    if (with_script) rig.game().Script("effect", ":FLASH\nFGGG,30\n");
    Engine& e = rig.Start();
    e.pictures().screen = Solid({1, 2, 3});
    rig.platform().Present(Solid({9, 9, 9}));
    uint32_t t0 = rig.platform().NowMs();
    EffectCommand(e, "NONE");
    EXPECT_EQ(rig.platform().NowMs(), t0);
    EXPECT_EQ(At(rig.platform().display(), 0, 0), (Bgr{9, 9, 9}));
  }
}

}  // namespace
}  // namespace quill
