#include "graphics/frame_clock.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/headless/headless_platform.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

// Counts the clicks the platform delivers, with their virtual times.
class ClickLog : public PlatformEvents {
 public:
  explicit ClickLog(Platform& platform) : platform_(platform) {}
  void OnMouseDown(MouseButton, int, int) override { times.push_back(platform_.NowMs()); }
  void OnMouseUp(MouseButton, int, int) override {}
  void OnMouseMove(int, int) override {}
  void OnMouseWheel(int, int, int) override {}
  void OnKeyDown(int) override {}
  void OnKeyUp(int) override {}
  void OnChar(std::string_view) override {}
  void OnTimer() override {}
  void OnCloseRequest() override {}
  void OnPaint() override {}
  void WriteState(nlohmann::ordered_json&) override {}
  std::vector<uint32_t> times;

 private:
  Platform& platform_;
};

struct ClockWaitCase {
  uint32_t elapsed;  // since the base when ClockWait is called
  int period;
  int periods;       // returned
  uint32_t wake_at;  // platform time afterwards (base at 0)
};

class ClockWaitTest : public ::testing::TestWithParam<ClockWaitCase> {};

TEST_P(ClockWaitTest, SleepsToTheNextPeriodAndCountsThePeriodsPassed) {
  const ClockWaitCase& c = GetParam();
  test::TempDir dir;
  HeadlessPlatform platform(dir.path(), {});
  FrameClock clock(platform);
  clock.ClockStart();
  platform.SleepMs(c.elapsed);
  EXPECT_EQ(clock.ClockWait(c.period), c.periods);
  EXPECT_EQ(platform.NowMs(), c.wake_at);
  EXPECT_EQ(clock.base(), c.wake_at);
}

INSTANTIATE_TEST_SUITE_P(Periods, ClockWaitTest,
                         ::testing::Values(ClockWaitCase{0, 10, 1, 10},  // on time
                                           ClockWaitCase{9, 10, 1, 10},
                                           // exactly one period late: the next boundary but one
                                           ClockWaitCase{10, 10, 2, 20},
                                           ClockWaitCase{25, 10, 3, 30},  // sleeps 5 ms
                                           ClockWaitCase{7, 3, 3, 9},
                                           // a period below 1 counts as 1 (no division by zero)
                                           ClockWaitCase{0, 0, 1, 1}, ClockWaitCase{4, -5, 5, 5}));

TEST(FrameClockTest, ConsecutiveWaitsKeepToTheGridOfTheBase) {
  test::TempDir dir;
  HeadlessPlatform platform(dir.path(), {});
  FrameClock clock(platform);
  platform.SleepMs(3);
  clock.ClockStart();
  EXPECT_EQ(clock.ClockWait(8), 1);
  EXPECT_EQ(platform.NowMs(), 11u);
  platform.SleepMs(13);  // a slow step: 24, so two boundaries (19, 27) are due by 27
  EXPECT_EQ(clock.ClockWait(8), 2);
  EXPECT_EQ(platform.NowMs(), 27u);
}

TEST(FrameClockTest, WaitsLetClicksThrough) {
  test::TempDir dir;
  Scenario scenario = ParseScenario("5 click 10 10\n25 click 10 10\n", dir.path());
  ASSERT_TRUE(scenario.ok());
  HeadlessPlatform platform(dir.path(), scenario.events);
  ClickLog log(platform);
  platform.SetEventSink(&log);
  FrameClock clock(platform);
  clock.ClockStart();
  clock.ClockWait(10);  // messages first, then the sleep: the click at 5 is not due yet
  EXPECT_TRUE(log.times.empty());
  clock.ClockWait(10);
  EXPECT_EQ(log.times, std::vector<uint32_t>{10});
  clock.WaitUntil(30);  // sleeps first, then lets the click at 25 through
  EXPECT_EQ(log.times, (std::vector<uint32_t>{10, 30}));
  platform.SetEventSink(nullptr);
}

TEST(FrameClockTest, WaitUntilSleepsOnlyForADeadlineAhead) {
  test::TempDir dir;
  HeadlessPlatform platform(dir.path(), {});
  FrameClock clock(platform);
  clock.WaitUntil(40);
  EXPECT_EQ(platform.NowMs(), 40u);
  clock.WaitUntil(25);  // passed: no sleep
  EXPECT_EQ(platform.NowMs(), 40u);
  clock.WaitUntil(40);
  EXPECT_EQ(platform.NowMs(), 40u);
}

}  // namespace
}  // namespace quill
