// The yes/no band, the notice band and the return to the title.
#include "engine/confirmations.h"

#include <gtest/gtest.h>

#include "common/png_io.h"
#include "platform/headless/scenario.h"
#include "platform/keys.h"
#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

const std::string kQuestion = Utf8ToSjisLossy("タイトルへ戻りますか？");

constexpr uint8_t kB = 200, kG = 100, kR = 50;

uint8_t Scaled(uint8_t v, int factor) { return static_cast<uint8_t>((v * factor) >> 8); }

class ConfirmationsTest : public testing::Test {
 protected:
  Engine& Start() {
    f_.game().Script("STITLE", "!V010=V010+1\n");
    Engine& e = f_.StartMain("ab\n\\\ncd\n\\\n");
    for (int i = 0; i < 20 && e.wait_kind == 0; ++i) f_.Frame();
    e.screen().Fill(kB, kG, kR);
    e.platform().Present(e.screen());
    return e;
  }
  ScriptFixture f_;
};

TEST_F(ConfirmationsTest, BandDarkensTheStripAndShowsTheTexts) {
  Engine& e = Start();
  e.confirmations().ShowConfirm(kQuestion, kConfirmTitle);
  EXPECT_EQ(e.confirm_pending, kConfirmTitle);
  EXPECT_TRUE(e.menus_off);
  struct Row {
    int y;
    int factor;
  } rows[] = {{149, 256}, {150, 255}, {155, 195}, {165, 75}, {166, 63},
              {200, 63},  {237, 255}, {232, 195}, {238, 256}};
  const Picture& display = f_.platform().display();
  for (const Row& r : rows) {
    SCOPED_TRACE(r.y);
    uint8_t want = r.factor == 256 ? kB : Scaled(kB, r.factor);
    EXPECT_EQ(e.screen().Pixel(2, r.y)[0], want);
    EXPECT_EQ(display.Pixel(2, r.y)[0], want);
  }
  // The answers: grey "はい" and yellow "いいえ" (no blue) on the darkened band.
  bool grey = false, yellow = false;
  for (int y = 194; y < 224; ++y) {
    for (int x = 300; x < 340; ++x) {
      const uint8_t* p = e.screen().Pixel(x, y);
      grey |= p[0] == p[1] && p[1] == p[2] && p[0] > Scaled(kB, 63);
    }
    for (int x = 390; x < 450; ++x) {
      const uint8_t* p = e.screen().Pixel(x, y);
      yellow |= p[2] > 150 && p[1] > 150 && p[0] < 100;
    }
  }
  EXPECT_TRUE(grey);
  EXPECT_TRUE(yellow);
}

TEST_F(ConfirmationsTest, OnlyALeftClickOnAHighlightedYesActs) {
  struct Case {
    const char* what;
    std::vector<std::pair<int, int>> moves;
    MouseButton button;
    int x, y;
    bool acts;
  } cases[] = {
      {"yes without a hover", {}, MouseButton::Left, 320, 200, false},
      {"right click on a highlighted yes", {{320, 200}}, MouseButton::Right, 320, 200, false},
      {"highlighted, then moved away",
       {{320, 200}, {500, 400}},
       MouseButton::Left,
       320,
       200,
       false},
      {"left click on a highlighted yes", {{320, 200}}, MouseButton::Left, 320, 200, true},
      {"the corner of yes", {{369, 223}}, MouseButton::Left, 369, 223, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptFixture f;
    f.game().Script("STITLE", "!V010=1\n");
    Engine& e = f.StartMain("ab\n\\\n");
    for (int i = 0; i < 20 && e.wait_kind == 0; ++i) f.Frame();
    Picture before = e.screen();
    e.subsystems().ShowConfirm(kQuestion, kConfirmTitle);
    for (auto [x, y] : c.moves) e.PBMouseMove(x, y);
    e.PBMouseDown(c.button, c.x, c.y);
    EXPECT_EQ(e.confirm_pending, 0);
    EXPECT_FALSE(e.menus_off);
    EXPECT_EQ(e.current_script_name(), c.acts ? "STITLE" : "main");
    EXPECT_EQ(e.wait_kind, c.acts ? 0 : 1);  // the answering click turns no page
    if (!c.acts) {
      EXPECT_TRUE(e.screen() == before);
    }
  }
}

TEST_F(ConfirmationsTest, ASecondQuestionStillRestoresTheUntouchedScreen) {
  Engine& e = Start();
  Picture before = e.screen();
  e.confirmations().ShowConfirm(kQuestion, kConfirmTitle);
  e.confirmations().ShowConfirm(Utf8ToSjisLossy("クイックロードしますか？"), kConfirmQuickLoad);
  EXPECT_EQ(e.confirm_pending, kConfirmQuickLoad);
  EXPECT_EQ(e.screen().Pixel(2, 200)[0], Scaled(kB, 63));  // darkened once, not twice
  e.PBMouseDown(MouseButton::Left, 10, 10);
  EXPECT_TRUE(e.screen() == before);
}

TEST_F(ConfirmationsTest, HoverRecoloursTheAnswersOnTheDisplayOnly) {
  Engine& e = Start();
  e.confirmations().ShowConfirm(kQuestion, kConfirmTitle);
  Picture band_in_screen = e.screen();
  e.PBMouseMove(320, 200);
  EXPECT_TRUE(e.confirmations().yes_highlighted());
  EXPECT_TRUE(e.screen() == band_in_screen);
  bool yellow_yes = false;
  for (int y = 194; y < 224; ++y) {
    for (int x = 300; x < 340; ++x) {
      const uint8_t* p = f_.platform().display().Pixel(x, y);
      yellow_yes |= p[2] > 150 && p[1] > 150 && p[0] < 100;
    }
  }
  EXPECT_TRUE(yellow_yes);
  e.PBMouseMove(300, 224);  // just below
  EXPECT_FALSE(e.confirmations().yes_highlighted());
}

TEST_F(ConfirmationsTest, InputAndTheScriptWaitWhileTheBandIsUp) {
  Engine& e = Start();
  e.settings().SetInt(SettingId::WHEEL_MODE, 1);
  e.wait_kind = 0;  // the script could go on
  int chars = e.page_grid().page_chars;
  e.confirmations().ShowConfirm(kQuestion, kConfirmQuickLoad);
  e.FormKeyDown(kKeyControl);
  e.FormKeyDown(kKeyF1 + 4);  // F5: skip
  e.OnChar("z");              // a click by key
  e.FormMouseWheel(1);
  f_.Frames(10);
  EXPECT_FALSE(e.skip_mode);
  EXPECT_EQ(e.banks().S(65), 0);
  EXPECT_EQ(e.confirm_pending, kConfirmQuickLoad);
  EXPECT_EQ(e.page_grid().page_chars, chars);
  EXPECT_EQ(f_.Log(), (std::vector<std::string>{"ab", ""}));
}

TEST(ReturnToTitleTest, FromACalledScript) {
  ScriptFixture f;
  f.game().Script("sub", "ef\n\\\n").Script("STITLE", "!V010=V010+1\n");
  Engine& e = f.StartMain("*call sub\n");
  for (int i = 0; i < 20 && e.wait_kind == 0; ++i) f.Frame();
  ASSERT_EQ(e.call_stack().depth(), 1);
  ASSERT_EQ(e.current_script_name(), "sub");
  e.banks().SetS(153, 7);
  e.banks().SetS(4, 3);
  e.choice_mode = 1;
  e.confirm_pending = kConfirmTitle;

  e.confirmations().ReturnToTitle();
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_EQ(e.current_script_name(), "STITLE");
  EXPECT_EQ(e.loaded_script_name(), "STITLE");
  EXPECT_EQ(e.confirm_pending, 0);
  EXPECT_EQ(e.wait_kind, 0);
  EXPECT_EQ(e.choice_mode, 0);
  EXPECT_FALSE(e.window_open);
  EXPECT_EQ(e.banks().S(4), 0);
  EXPECT_EQ(e.banks().S(151), 1);
  EXPECT_EQ(e.banks().S(152), 7);
  f.Frame();
  EXPECT_EQ(e.banks().V(10), 1);  // the title script from its first line
}

TEST(NoticeTest, FadesInStaysAndFadesOutLeavingTheDisplayAsItWas) {
  TempDir dir;
  FixtureGame game(dir / "game");
  game.Script("main", "!V001=1\n");
  game.Write();
  // The notice starts at 20 ms (after the first two frames); the shot falls in its fade-out.
  Scenario sc = ParseScenario("1000 shot mid.png\n", dir.path());
  ASSERT_TRUE(sc.errors.empty());
  HeadlessPlatform platform(game.folder(), sc.events);
  Engine e(platform, {});
  ASSERT_TRUE(e.FormCreate());
  e.AppIdle();
  e.screen().Fill(kB, kG, kR);
  platform.Present(e.screen());
  Picture before = platform.display();

  uint32_t t0 = platform.NowMs();
  e.confirmations().ShowNotice(Utf8ToSjisLossy("セーブしました"), 500);
  // 16 steps of 20 ms in, the stay, 16 steps out.
  EXPECT_EQ(platform.NowMs() - t0, 320u + 500u + 320u);
  EXPECT_TRUE(platform.display() == before);
  EXPECT_FALSE(e.menus_off);
  EXPECT_TRUE(e.screen() == before);  // only the display took part

  std::optional<Picture> mid = ReadPng(dir / "mid.png");
  ASSERT_TRUE(mid);
  // Blue of the band's middle rows: 160/256 of the colour (blue 128) over the screen, faded.
  uint8_t band = static_cast<uint8_t>((160 * 128 + 96 * kB) >> 8);
  uint8_t b = mid->Pixel(2, 214 + 20)[0];
  EXPECT_GE(b, band);
  EXPECT_LT(b, kB);
  EXPECT_EQ(mid->Pixel(2, 213)[0], kB);  // outside the band
  EXPECT_EQ(mid->Pixel(2, 266)[0], kB);
}

}  // namespace
}  // namespace quill::test
