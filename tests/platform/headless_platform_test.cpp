#include "platform/headless/headless_platform.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/file_util.h"
#include "common/png_io.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

// Records what the platform delivers, with the virtual time of each delivery.
class Recorder : public PlatformEvents {
 public:
  explicit Recorder(Platform& p) : platform(p) {}
  void OnMouseDown(MouseButton b, int x, int y) override { Log("down", int(b), x, y); }
  void OnMouseUp(MouseButton b, int x, int y) override { Log("up", int(b), x, y); }
  void OnMouseMove(int x, int y) override { Log("move", 0, x, y); }
  void OnMouseWheel(int d, int, int) override { Log("wheel", d, 0, 0); }
  void OnKeyDown(int k) override { Log("keydown", k, 0, 0); }
  void OnKeyUp(int k) override { Log("keyup", k, 0, 0); }
  void OnChar(std::string_view s) override { Log("char:" + std::string(s), 0, 0, 0); }
  void OnTimer() override { timer_times.push_back(platform.NowMs()); }
  void OnCloseRequest() override { Log("close", 0, 0, 0); }
  void OnPaint() override {}
  void WriteState(nlohmann::ordered_json& state) override { state["answer"] = 42; }

  void Log(const std::string& what, int a, int x, int y) {
    log.push_back(std::to_string(platform.NowMs()) + " " + what + " " + std::to_string(a) + " " +
                  std::to_string(x) + "," + std::to_string(y));
  }
  Platform& platform;
  std::vector<std::string> log;
  std::vector<uint32_t> timer_times;
};

std::vector<ScenarioEvent> Events(const std::string& text, const std::filesystem::path& base) {
  Scenario s = ParseScenario(text, base);
  EXPECT_TRUE(s.ok());
  return s.events;
}

// Runs frames of 20 ms as the engine does until the platform says stop.
void RunFrames(HeadlessPlatform& p, int max_frames = 100000) {
  for (int i = 0; i < max_frames && !p.ShouldStop(); ++i) {
    p.PumpMessages();
    if (p.ShouldStop()) break;
    p.SleepMs(20);
  }
}

TEST(HeadlessPlatform, TimeMovesOnlyWhenTheEngineSleeps) {
  HeadlessPlatform p("/game", {});
  EXPECT_EQ(p.NowMs(), 0u);
  p.PumpMessages();
  EXPECT_EQ(p.NowMs(), 0u);
  p.SleepMs(35);
  EXPECT_EQ(p.NowMs(), 35u);
}

TEST(HeadlessPlatform, DeliversInputAtItsVirtualTime) {
  HeadlessPlatform p(
      "/game", Events("30 click 10 20\n45 key F2\n50 char q\n61 wheel down\n100 quit\n", "/"));
  Recorder r(p);
  p.SetEventSink(&r);
  RunFrames(p);
  EXPECT_EQ(r.log, (std::vector<std::string>{"40 move 0 10,20", "40 down 0 10,20", "40 up 0 10,20",
                                             "60 keydown 113 0,0", "60 keyup 113 0,0",
                                             "60 char:q 0 0,0", "80 wheel -1 0,0"}));
  EXPECT_EQ(p.NowMs(), 100u);
}

TEST(HeadlessPlatform, TimerTicksCoalesce) {
  HeadlessPlatform p("/game", Events("400 quit\n", "/"));
  Recorder r(p);
  p.SetEventSink(&r);
  p.PumpMessages();
  p.SleepMs(200);  // three periods pass: one tick
  p.PumpMessages();
  p.PumpMessages();
  p.SleepMs(20);  // 220: the fourth period's end, on the timer's grid
  p.PumpMessages();
  p.SleepMs(30);  // 250: the next one is due at 275
  p.PumpMessages();
  p.SleepMs(30);
  p.PumpMessages();
  EXPECT_EQ(r.timer_times, (std::vector<uint32_t>{200, 220, 280}));
}

TEST(HeadlessPlatform, ShotsShowTheLastPicturePresentedAtOrBeforeTheirTime) {
  test::TempDir dir;
  HeadlessPlatform p("/game",
                     Events("25 shot a.png\n40 shot b.png\n41 shot c.png\n60 quit\n", dir.path()));
  Picture red(kScreenWidth, kScreenHeight), blue(kScreenWidth, kScreenHeight);
  red.Fill(0, 0, 255);
  blue.Fill(255, 0, 0);
  p.SleepMs(20);
  p.Present(red);
  p.SleepMs(20);    // a.png (25) is taken during this sleep: red
  p.Present(blue);  // at 40: b.png sees blue
  p.PumpMessages();
  p.SleepMs(20);
  RunFrames(p);
  auto a = ReadPng(dir / "a.png"), b = ReadPng(dir / "b.png"), c = ReadPng(dir / "c.png");
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->Pixel(0, 0)[2], 255);
  EXPECT_EQ(b->Pixel(799, 599)[0], 255);
  EXPECT_EQ(c->Pixel(0, 0)[0], 255);
  EXPECT_EQ(a->width(), 800);
  EXPECT_EQ(a->height(), 600);
}

TEST(HeadlessPlatform, StateDumpsCarryTheTimeAndTheEngineKeys) {
  test::TempDir dir;
  HeadlessPlatform p("/game", Events("70 state s.json\n80 quit\n", dir.path()));
  Recorder r(p);
  p.SetEventSink(&r);
  RunFrames(p);
  auto text = ReadFile(dir / "s.json");
  ASSERT_TRUE(text);
  auto j = nlohmann::json::parse(std::string(text->begin(), text->end()));
  EXPECT_EQ(j["time_ms"], 80);  // the first pump at or after 70 is at 80
  EXPECT_EQ(j["answer"], 42);
}

TEST(HeadlessPlatform, ModalDialogsWaitForTheirAnswer) {
  HeadlessPlatform p("/game",
                     Events("100 click 1 1\n300 dialog cancel\n500 dialog ok\n600 quit\n", "/"));
  Recorder r(p);
  p.SetEventSink(&r);
  EXPECT_FALSE(p.AskOkCancel("c", "t"));
  EXPECT_EQ(p.NowMs(), 300u);
  EXPECT_TRUE(r.log.empty());           // the click went to the dialog, not the game
  EXPECT_FALSE(r.timer_times.empty());  // the timer runs under a modal dialog
  EXPECT_TRUE(p.AskOkCancel("c", "t"));
  EXPECT_EQ(p.NowMs(), 500u);
  EXPECT_TRUE(p.errors().empty());
}

TEST(HeadlessPlatform, ScenarioProblemsAtRunTimeAreErrors) {
  HeadlessPlatform p("/game", Events("10 dialog ok\n20 quit\n", "/"));
  RunFrames(p);
  ASSERT_EQ(p.errors().size(), 1u);
  EXPECT_NE(p.errors()[0].find("line 1"), std::string::npos);

  HeadlessPlatform unanswered("/game", Events("10 dialog maybe\n", "/"));
  EXPECT_FALSE(unanswered.AskOkCancel("c", "t"));
  EXPECT_EQ(unanswered.errors().size(), 2u);  // the wrong answer, then the scenario's end
  EXPECT_TRUE(unanswered.ShouldStop());
}

TEST(HeadlessPlatform, AudioIsPulledAsVirtualTimePasses) {
  HeadlessPlatform p("/game", {});
  int64_t frames = 0;
  ASSERT_TRUE(p.OpenAudio([&](int16_t*, int count) { frames += count; }));
  p.SleepMs(1000);
  EXPECT_EQ(frames, kAudioRate);
  p.SleepMs(10);
  EXPECT_EQ(frames, kAudioRate + kAudioRate / 100);
}

TEST(HeadlessPlatform, RunsEndAtQuitOrAfterTheTimeLimit) {
  HeadlessPlatform quit("/game", Events("100 quit\n", "/"));
  RunFrames(quit);
  EXPECT_EQ(quit.NowMs(), 100u);
  HeadlessPlatform limited("/game", {}, 1000);
  RunFrames(limited);
  EXPECT_EQ(limited.NowMs(), 1000u);
}

}  // namespace
}  // namespace quill
