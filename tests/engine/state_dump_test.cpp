// The engine's keys in a state dump, and the developer hooks behind --trace.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/engine/script_fixture.h"

namespace quill::test {
namespace {

// Through the text, as outside tools read it.
nlohmann::json Dump(Engine& e) {
  nlohmann::ordered_json state;
  e.WriteState(state);
  return nlohmann::json::parse(state.dump());
}

TEST(StateDumpTest, ScriptMachineKeys) {
  ScriptFixture f;
  f.game().Script("sub", ">花子\n「やあ」\n\\\n");
  const std::string first = "!V007=-3;F010=1;F002=1;E999=1;T1234=1;S150=0;G3=9";
  Engine& e = f.StartMain(first + "\n*call sub\n");
  f.SetNameSlot(4, "名前");
  e.one_by_one = false;
  f.StepUntilHeld();
  nlohmann::json j = Dump(e);
  EXPECT_EQ(j["script"], "sub");
  EXPECT_EQ(j["loaded_script"], "sub");
  EXPECT_EQ(j["call_depth"], 1);
  ASSERT_EQ(j["call_stack"].size(), 1u);
  EXPECT_EQ(j["call_stack"][0]["name"], "main");
  EXPECT_EQ(j["call_stack"][0]["offset"], first.size() + 1 + 10);  // after "*call sub"
  EXPECT_EQ(j["wait_kind"], 1);
  EXPECT_EQ(j["read_position"], e.main_script().read_position);
  EXPECT_EQ(j["line_start"], e.line_start);
  ASSERT_EQ(j["V"].size(), 1000u);
  EXPECT_EQ(j["V"][7], -3);
  ASSERT_EQ(j["S"].size(), 200u);
  ASSERT_EQ(j["G"].size(), 10u);
  EXPECT_EQ(j["G"][3], 9);
  EXPECT_EQ(j["F"], nlohmann::json({2, 10}));
  EXPECT_EQ(j["E"], nlohmann::json({999}));
  EXPECT_EQ(j["T"], nlohmann::json({1234}));
  ASSERT_EQ(j["name_slots"].size(), 10u);
  EXPECT_EQ(j["name_slots"][4], "名前");
  EXPECT_EQ(j["text_log"], nlohmann::json({"花子", "「やあ」", ""}));
  ASSERT_EQ(j["page_grid"].size(), 20u);
  std::string row0 = j["page_grid"][0], row1 = j["page_grid"][1];
  EXPECT_EQ(row0.substr(0, 6), "花子");
  EXPECT_EQ(row1.substr(0, 12), "「やあ」");
  EXPECT_EQ(j["page_grid"][5], std::string(100, ' '));
  EXPECT_EQ(j["text_column"], 0);
  EXPECT_EQ(j["text_row"], 2);
  EXPECT_EQ(j["window_open"], true);
  EXPECT_EQ(j["char_delay"], 1);
  EXPECT_EQ(j["skip_mode"], false);
  EXPECT_EQ(j["auto_level"], 0);
  for (const char* key : {"wait_ticks", "sleep_frames", "finish_now", "layout", "page_chars",
                          "auto_wait_ticks", "choice_mode", "screen_mode", "extra_mode", "busy"}) {
    EXPECT_TRUE(j.contains(key)) << key;
  }
}

TEST(StateDumpTest, TheCurrentLogLineIsListedOnlyWhenNotEmpty) {
  ScriptFixture f;
  Engine& e = f.StartMain("abc\n");
  e.StepScript();
  EXPECT_EQ(Dump(e)["text_log"], nlohmann::json({"a"}));
  f.StepToEnd();
  EXPECT_EQ(Dump(e)["text_log"], nlohmann::json({"abc"}));
}

TEST(DeveloperLogTest, PrintsOnlyWithTrace) {
  for (bool trace : {false, true}) {
    SCOPED_TRACE(trace);
    ScriptFixture f;
    EngineOptions options;
    options.trace = trace;
    Engine& e = f.StartMain("!V001=1\n!V002=(1)\n", options);
    testing::internal::CaptureStderr();
    e.StepScript();
    std::string err = testing::internal::GetCapturedStderr();
    if (trace) {
      EXPECT_NE(err.find("V001=1"), std::string::npos) << err;
      EXPECT_NE(err.find("無効数式"), std::string::npos) << err;
    } else {
      EXPECT_EQ(err, "");
    }
  }
}

}  // namespace
}  // namespace quill::test
