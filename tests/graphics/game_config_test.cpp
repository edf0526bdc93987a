#include "graphics/game_config.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "tools/script_pack.h"

namespace quill {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

// `_config` from UTF-8 lines, converted to its stored (unmasked) bytes as qlmtool does.
LoadedGameConfig Load(const std::string& utf8) {
  std::string error;
  std::optional<std::vector<uint8_t>> bytes = ScriptTextToStored(utf8, "_config", &error);
  EXPECT_TRUE(bytes) << error;
  return LoadGameConfig(std::span<const uint8_t>(bytes ? *bytes : std::vector<uint8_t>{}));
}

std::string Sjis(const char* utf8) { return Utf8ToSjisLossy(utf8); }

TEST(GameConfigTest, MissingScriptGivesDefaults) {
  LoadedGameConfig loaded = LoadGameConfig(std::string_view());
  const GameConfig& c = loaded.config;
  EXPECT_THAT(c.TACHI_DEFAULT, ElementsAre(400, 250, 550, 200, 400, 600, 100, 300, 500, 700));
  EXPECT_EQ(c.TXW_OFS_X, 0);
  EXPECT_EQ(c.TITLE, "");
  EXPECT_THAT(c.CFG_WM_WIN, ElementsAre(0, 0, 0, 0));
  for (const Speaker& s : loaded.speakers) EXPECT_FALSE(s.defined);
  EXPECT_THAT(loaded.problems, IsEmpty());
}

TEST(GameConfigTest, KeysIgnoreCaseAndValuesKeepTheirs) {
  LoadedGameConfig loaded = Load(
      "txw_ofs_x:12\n"
      "Txw_Size_Y:-140\n"
      "TITLE:My Little Game\n"
      "maker_reg:Software\\MakerName\n"
      "GAME_ID:QuillTest01\n"
      "FONT_NAME:ＭＳ ゴシック\n"
      "DEFAULT_NAME:山田\n"
      "volume1: -1500\n"
      "MGD_GRA:1\n"
      "TACHI_TYPE:1\n"
      "CFG_VOL_KNOB:sys_knob\n"
      "CFG_VOL_KNOB:sys_Knob2\n");  // later lines overwrite earlier ones
  const GameConfig& c = loaded.config;
  EXPECT_EQ(c.TXW_OFS_X, 12);
  EXPECT_EQ(c.TXW_SIZE_Y, -140);
  EXPECT_EQ(c.TITLE, "My Little Game");
  EXPECT_EQ(c.MAKER_REG, "Software\\MakerName");
  EXPECT_EQ(c.GAME_ID, "QuillTest01");
  EXPECT_EQ(c.FONT_NAME, Sjis("ＭＳ ゴシック"));
  EXPECT_EQ(c.DEFAULT_NAME, Sjis("山田"));
  EXPECT_EQ(c.VOLUME1, -1500);
  EXPECT_EQ(c.MGD_GRA, 1);
  EXPECT_EQ(c.TACHI_TYPE, 1);
  EXPECT_EQ(c.CFG_VOL_KNOB, "sys_Knob2");
  EXPECT_THAT(loaded.problems, IsEmpty());
}

TEST(GameConfigTest, LinesThatSetNothing) {
  LoadedGameConfig loaded = Load(
      "TXW_OFS_X:5\n"
      ";TXW_OFS_X:6\n"
      "*TXW_OFS_X:7\n"
      "\n"
      "TXW_OFS_X 8\n"  // no colon
      "UNKNOWN_KEY:9\n"
      " TXW_OFS_X:10\n"  // the key is the text before ':', blanks and all
      "TXW_OFS_XX:11\n");
  EXPECT_EQ(loaded.config.TXW_OFS_X, 5);
  EXPECT_THAT(loaded.problems, IsEmpty());
}

TEST(GameConfigTest, OnlyEndInCapitalsStopsReading) {
  struct Case {
    const char* line;
    int32_t expected;  // TXW_OFS_X after "TXW_OFS_X:1", the line, "TXW_OFS_X:2"
  };
  const Case cases[] = {
      {"END", 1}, {"end", 2}, {"End", 2}, {"END ", 2}, {"ENDING", 2}, {";END", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    LoadedGameConfig loaded = Load(std::string("TXW_OFS_X:1\n") + c.line + "\nTXW_OFS_X:2\n");
    EXPECT_EQ(loaded.config.TXW_OFS_X, c.expected);
  }
}

TEST(GameConfigTest, MultiValueKeysWithFewerFields) {
  LoadedGameConfig loaded = Load(
      "TACHI_DEFAULT:10,20,30\n"
      "cfg_wm_win:1,2\n"
      "CFG_WM_FULL:5,6,7,8\n"
      "CFG_GRA:cfg_a,cfg_b\n"
      "CFG_GRA:cfg_c\n"  // a text field that is absent becomes empty
      "CFG_VOL_BAR:300\n"
      "CFG_VOL2:30,40\n"
      "CFG_VOL4:70\n");
  const GameConfig& c = loaded.config;
  EXPECT_THAT(c.TACHI_DEFAULT, ElementsAre(10, 20, 30, 200, 400, 600, 100, 300, 500, 700));
  EXPECT_THAT(c.CFG_WM_WIN, ElementsAre(1, 2, 0, 0));
  EXPECT_THAT(c.CFG_WM_FULL, ElementsAre(5, 6, 7, 8));
  EXPECT_THAT(c.CFG_GRA, ElementsAre("cfg_c", ""));
  EXPECT_THAT(c.CFG_VOL_BAR, ElementsAre(300, 0));
  EXPECT_THAT(c.CFG_VOL_X, ElementsAre(0, 30, 0, 70));
  EXPECT_THAT(c.CFG_VOL_Y, ElementsAre(0, 40, 0, 0));
  EXPECT_THAT(loaded.problems, IsEmpty());
}

TEST(GameConfigTest, ValuesThatAreNotNumbersAreReported) {
  LoadedGameConfig loaded = Load(
      "TXW_OFS_X:7\n"
      "TXW_OFS_X:abc\n"            // no digits: the value stays
      "TXW_OFS_Y:12px\n"           // the leading number is used
      "TACHI_DEFAULT:1,,3,x4\n");  // an empty or wordy field keeps its value
  const GameConfig& c = loaded.config;
  EXPECT_EQ(c.TXW_OFS_X, 7);
  EXPECT_EQ(c.TXW_OFS_Y, 12);
  EXPECT_THAT(c.TACHI_DEFAULT, ElementsAre(1, 250, 3, 200, 400, 600, 100, 300, 500, 700));
  ASSERT_THAT(loaded.problems, SizeIs(4));
  EXPECT_THAT(loaded.problems[0], HasSubstr("line 2: TXW_OFS_X"));
  EXPECT_THAT(loaded.problems[1], HasSubstr("line 3: TXW_OFS_Y"));
  EXPECT_THAT(loaded.problems[2], HasSubstr("line 4: TACHI_DEFAULT"));
}

TEST(GameConfigTest, NameLinesFillTheSpeakerTable) {
  struct Case {
    const char* line;
    int index;
    const char* name;
    uint32_t colour;  // red in the low byte
  };
  const Case cases[] = {
      {"NAME:3,太郎,F80", 3, "太郎", 0x0080F0},
      {"name:4,花子,f80", 4, "花子", 0x0080F0},  // colour digits are upper-cased
      {"NAME:5,Ann,GGG", 5, "Ann", 0xFFFFFF},
      {"NAME:6,Bob", 6, "Bob", 0xFFFFFF},    // no colour field
      {"NAME:7,Cy,", 7, "Cy", 0xFFFFFF},     // an empty colour field
      {"NAME:8,Di,9AZ", 8, "Di", 0x00A090},  // anything but 0-9, A-F, G gives 0
      {"NAME:9,Ed,0G", 9, "Ed", 0x00FF00},   // a short colour: missing digits give 0
      {"NAME:59,Last,123", 59, "Last", 0x302010},
      {"NAME:0,,FFF", 0, "", 0xF0F0F0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    LoadedGameConfig loaded = Load(std::string(c.line) + "\n");
    const Speaker& s = loaded.speakers[c.index];
    EXPECT_TRUE(s.defined);
    EXPECT_EQ(s.name, Sjis(c.name));
    EXPECT_EQ(s.colour, c.colour);
    int defined = 0;
    for (const Speaker& other : loaded.speakers) defined += other.defined;
    EXPECT_EQ(defined, 1);
    EXPECT_THAT(loaded.problems, IsEmpty());
  }
}

TEST(GameConfigTest, NameLinesOutsideTheTableAreRefused) {
  for (const char* line : {"NAME:60,Too,FFF", "NAME:-1,Neg,FFF", "NAME:x,Word,FFF", "NAME:"}) {
    SCOPED_TRACE(line);
    LoadedGameConfig loaded = Load(std::string(line) + "\n");
    for (const Speaker& s : loaded.speakers) EXPECT_FALSE(s.defined);
    ASSERT_THAT(loaded.problems, SizeIs(1));
    EXPECT_THAT(loaded.problems[0], HasSubstr("line 1: NAME"));
  }
}

TEST(GameConfigTest, LastLineWithoutItsNulCounts) {
  std::string bytes = std::string("TXW_OFS_X:3") + '\0' + "TXW_OFS_Y:4";
  LoadedGameConfig loaded = LoadGameConfig(std::string_view(bytes));
  EXPECT_EQ(loaded.config.TXW_OFS_X, 3);
  EXPECT_EQ(loaded.config.TXW_OFS_Y, 4);
}

TEST(CommaFieldTest, Fields) {
  struct Case {
    std::string text;
    int n;
    std::string expected;
  };
  const Case cases[] = {
      {"a,b,c", 0, "a"},
      {"a,b,c", 1, "b"},
      {"a,b,c", 2, "c"},
      {"a,b,c", 3, ""},
      {"a,b,c", 9, ""},
      {"abc", 0, "abc"},
      {"", 0, ""},
      {"a,,c", 1, ""},
      {" a , b ", 1, " b "},
      {"a,b,", 2, ""},
      {"a,b", -1, ""},
      {",x", 0, ""},
      {Sjis("ソ表,能"), 0, Sjis("ソ表")},  // two-byte characters stay whole
      {Sjis("ソ表,能"), 1, Sjis("能")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " / " + std::to_string(c.n));
    EXPECT_EQ(CommaField(c.text, c.n), c.expected);
  }
}

TEST(GameConfigTest, DumpHasEveryKeyWithItsValue) {
  LoadedGameConfig loaded = Load(
      "TITLE:ゲーム\n"
      "TXW_ALPHA:128\n"
      "TACHI_DEFAULT:1,2\n"
      "CFG_GRA:base,on\n"
      "CFG_VOL3:5,6\n"
      "NAME:2,太郎,F80\n"
      "NAME:10,Bob\n");
  const nlohmann::json j = {{"config", GameConfigJson(loaded.config)},
                            {"speakers", SpeakersJson(loaded.speakers)}};
  const nlohmann::json& config = j["config"];
  for (const ConfigKey& k : GameConfigKeys()) {
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(config.contains(k.name));
    if (k.fields > 1) {
      ASSERT_TRUE(config[k.name].is_array());
      EXPECT_EQ(config[k.name].size(), static_cast<size_t>(k.fields));
    } else {
      EXPECT_EQ(config[k.name].is_string(), k.kind == ConfigKind::kText);
    }
  }
  EXPECT_EQ(config["TITLE"], "ゲーム");
  EXPECT_EQ(config["TXW_ALPHA"], 128);
  EXPECT_EQ(config["TACHI_DEFAULT"],
            nlohmann::json({1, 2, 550, 200, 400, 600, 100, 300, 500, 700}));
  EXPECT_EQ(config["CFG_GRA"], nlohmann::json({"base", "on"}));
  EXPECT_EQ(config["CFG_VOL3"], nlohmann::json({5, 6}));
  EXPECT_EQ(config["CFG_VOL1"], nlohmann::json({0, 0}));
  EXPECT_FALSE(config.contains("NAME"));

  EXPECT_EQ(j["speakers"], nlohmann::json::parse(R"([
      {"index": 2, "name": "太郎", "colour": 33008},
      {"index": 10, "name": "Bob", "colour": 16777215}])"));
}

}  // namespace
}  // namespace quill
