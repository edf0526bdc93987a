#include "platform/headless/scenario.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

namespace quill {
namespace {

TEST(Scenario, ParsesEveryEvent) {
  const char* text =
      "0      size 800 600            # the screen\n"
      "500    click 400 300\n"
      "510    rclick 1 2\n"
      "520    mclick 3 4\n"
      "600    move 120 80\n"
      "700    down 400 300\n"
      "701    up 400 300\n"
      "702    rdown 5 6\n"
      "703    rup 5 6\n"
      "800    wheel up\n"
      "801    wheel down\n"
      "900    key F5\n"
      "901    keydown CTRL\n"
      "902    keyup ctrl\n"
      "950    char z\n"
      "951    char あ\n"
      "1000   shot out/page1.png\n"
      "1000   state out/state.json\n"
      "1200   dialog save 3\n"
      "1300   close\n"
      "\n"
      "# only a comment\n"
      "5000   quit\n";
  Scenario s = ParseScenario(text, "/base");
  ASSERT_TRUE(s.ok()) << s.errors[0];
  ASSERT_EQ(s.events.size(), 21u);
  EXPECT_EQ(s.events[1].kind, ScenarioKind::Click);
  EXPECT_EQ(s.events[1].x, 400);
  EXPECT_EQ(s.events[1].y, 300);
  EXPECT_EQ(s.events[1].line, 2);
  EXPECT_EQ(s.events[9].wheel, 1);
  EXPECT_EQ(s.events[10].wheel, -1);
  EXPECT_EQ(s.events[11].key, kKeyF1 + 4);
  EXPECT_EQ(s.events[12].key, kKeyControl);
  EXPECT_EQ(s.events[13].key, kKeyControl);
  EXPECT_EQ(s.events[14].text, "z");
  EXPECT_EQ(s.events[15].text, "\x82\xA0");  // あ in Shift-JIS
  EXPECT_EQ(s.events[16].path, std::filesystem::path("/base/out/page1.png"));
  EXPECT_EQ(s.events[17].kind, ScenarioKind::State);
  EXPECT_EQ(s.events[18].words, (std::vector<std::string>{"save", "3"}));
  EXPECT_EQ(s.events[19].kind, ScenarioKind::Close);
  EXPECT_EQ(s.events[20].time_ms, 5000u);
}

TEST(Scenario, KeepsFileOrderForEqualTimesAndSortsTheRest) {
  Scenario s = ParseScenario("100 quit\n50 shot a.png\n50 state b.json\n", "/");
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s.events[0].kind, ScenarioKind::Shot);
  EXPECT_EQ(s.events[1].kind, ScenarioKind::State);
  EXPECT_EQ(s.events[2].kind, ScenarioKind::Quit);
}

TEST(Scenario, ReportsBadLinesWithTheirNumbers) {
  struct Case {
    const char* line;
    const char* message_part;
  };
  const Case cases[] = {
      {"abc click 1 2", "time"},
      {"-5 quit", "time"},
      {"100", "no event"},
      {"100 jump 1 2", "unknown event 'jump'"},
      {"100 click 1", "expects 2 arguments"},
      {"100 click 900 10", "outside"},
      {"100 click a b", "integers"},
      {"100 wheel sideways", "up or down"},
      {"100 key NOPE", "unknown key"},
      {"100 char ab", "single character"},
      {"100 shot", "expects 1 argument"},
      {"100 size 640 480", "800 600"},
      {"100 dialog", "answer"},
      {"100 quit now", "expects 0 arguments"},
  };
  for (const Case& c : cases) {
    std::string text = std::string("0 move 1 1\n# comment\n") + c.line + "\n";
    Scenario s = ParseScenario(text, "/", "run.txt");
    ASSERT_EQ(s.errors.size(), 1u) << c.line;
    EXPECT_NE(s.errors[0].find("run.txt:3:"), std::string::npos) << s.errors[0];
    EXPECT_NE(s.errors[0].find(c.message_part), std::string::npos) << s.errors[0];
  }
}

TEST(Keys, NamesRoundTrip) {
  for (const char* name : {"F1", "F12", "CTRL", "SHIFT", "TAB", "ENTER", "ESC", "SPACE",
                           "BACKSPACE", "UP", "DOWN", "LEFT", "RIGHT", "A", "Z", "0", "9"}) {
    auto key = KeyFromName(name);
    ASSERT_TRUE(key) << name;
    EXPECT_EQ(KeyName(*key), name);
  }
  EXPECT_FALSE(KeyFromName("F13"));
  EXPECT_FALSE(KeyFromName("F0"));
  EXPECT_FALSE(KeyFromName(""));
}

}  // namespace
}  // namespace quill
