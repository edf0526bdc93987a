// The main window's close question, its end and its repaint.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "common/sjis.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

// Answers the OK/Cancel box with `answer` and records what was asked.
class AskingPlatform : public HeadlessPlatform {
 public:
  explicit AskingPlatform(std::filesystem::path game) : HeadlessPlatform(std::move(game), {}) {}
  bool AskOkCancel(std::string_view caption, std::string_view text) override {
    questions.push_back(SjisToUtf8Lossy(caption) + ": " + SjisToUtf8Lossy(text));
    script_enabled_while_asking = engine->script_enabled;
    return answer;
  }
  bool answer = false;
  Engine* engine = nullptr;
  bool script_enabled_while_asking = true;
  std::vector<std::string> questions;
};

class AppShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    test::FixtureGame game(dir_ / "game");
    game.Script("main", "one\n\\\ntwo\n\\\n").Write();
    engine_.reset();
    platform_ = std::make_unique<AskingPlatform>(game.folder());
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    platform_->engine = engine_.get();
    ASSERT_TRUE(engine_->FormCreate());
    engine_->AppIdle();
  }
  test::TempDir dir_;
  std::unique_ptr<AskingPlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

TEST_F(AppShellTest, TheCloseQuestionDecidesWhetherTheWindowCloses) {
  struct Case {
    const char* name;
    bool exit_requested, transition_running, busy, answer;
    bool closes, asks;
    int interrupt;  // transition_interrupt afterwards
  };
  const Case cases[] = {
      {"OK", false, false, false, true, true, true, 1},
      {"Cancel", false, false, false, false, false, true, 0},
      {"exit requested", true, false, false, false, true, false, 0},
      {"during a transition", false, true, false, true, false, false, 2},
      {"busy", false, false, true, true, false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Engine& e = *engine_;
    e.exit_requested = c.exit_requested;
    e.transition_running = c.transition_running;
    e.busy = c.busy;
    platform_->answer = c.answer;
    e.OnCloseRequest();
    EXPECT_EQ(e.closed(), c.closes);
    EXPECT_EQ(platform_->questions.size(), c.asks ? 1u : 0u);
    if (c.asks) {
      EXPECT_EQ(platform_->questions[0], "確認: ゲームを終了しますか？");
      EXPECT_FALSE(platform_->script_enabled_while_asking);
    }
    EXPECT_EQ(e.transition_interrupt, c.interrupt);
    EXPECT_TRUE(e.script_enabled);
  }
}

TEST_F(AppShellTest, AfterCancelTheScriptGoesOn) {
  Engine& e = *engine_;
  platform_->answer = false;
  e.OnCloseRequest();
  ASSERT_FALSE(e.closed());
  for (int i = 0; i < 20 && e.wait_kind == kWaitNone; ++i) e.AppIdle();
  // The first line was written and waits for a click.
  EXPECT_NE(e.wait_kind, kWaitNone);
  EXPECT_GT(e.main_script().read_position, 0u);
}

TEST_F(AppShellTest, PaintShowsTheSceneBufferOnlyInTheHideWindowView) {
  Engine& e = *engine_;
  e.pictures().scene.Fill(10, 20, 30);
  e.pictures().screen.Fill(40, 50, 60);
  struct Case {
    int screen_mode;
    uint8_t blue;
  };
  for (Case c : {Case{1, 10}, Case{0, 40}, Case{9, 40}}) {
    e.screen_mode = c.screen_mode;
    e.OnPaint();
    EXPECT_EQ(platform_->display().Pixel(400, 300)[0], c.blue) << "mode " << c.screen_mode;
  }
}

TEST_F(AppShellTest, ClosingLeavesFullScreen) {
  Engine& e = *engine_;
  e.screen_mode_switch().EnterFullScreen(1);
  ASSERT_EQ(platform_->GetDisplayMode(), DisplayMode::FullScreen);
  platform_->answer = true;
  e.OnCloseRequest();
  ASSERT_TRUE(e.closed());
  EXPECT_EQ(platform_->GetDisplayMode(), DisplayMode::Window);
  EXPECT_FALSE(e.screen_mode_switch().full_screen_active());
}

}  // namespace
}  // namespace quill
