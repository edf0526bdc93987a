#include "persist/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "common/sjis.h"
#include "persist/settings_store.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;

using S = SettingId;

std::string Sjis(const char* utf8) { return Utf8ToSjisLossy(utf8); }

GameConfig ConfigFixture() {
  GameConfig c;
  c.FONT_NAME = Sjis("ＭＳ ゴシック");
  c.VOLUME1 = -500;
  c.VOLUME2 = -600;
  c.VOLUME3 = -700;
  c.VOLUME4 = -800;
  c.DEFAULT_NAME = Sjis("山田");
  c.DEFAULT_NAME2 = Sjis("太郎");
  c.TXW_COLOR_R = 10;
  c.TXW_COLOR_G = 20;
  c.TXW_COLOR_B = 30;
  c.TXW_ALPHA = 140;
  c.TXW_ALPHA2 = 90;
  return c;
}

StartupFacts FactsFixture() {
  StartupFacts f;
  f.screen_width = 1280;
  f.screen_height = 1024;
  f.window_width = 808;
  f.window_height = 650;
  f.game_folder = "/games/quill";
  return f;
}

class SettingsTest : public ::testing::Test {
 protected:
  fs::path file() const { return dir_ / "maker" / "game.ini"; }
  SettingsStore Store() const {
    return SettingsStore(file(), [](const std::string& r) { ADD_FAILURE() << r; });
  }
  test::TempDir dir_;
};

TEST_F(SettingsTest, FreshUserGetsEveryDefault) {
  SettingsStore store = Store();
  Settings s = ReadSettings(store, ConfigFixture(), FactsFixture());

  const std::pair<S, int32_t> ints[] = {
      {S::Left, 236},  {S::Top, 187},  // centred: (1280 - 808) / 2, (1024 - 650) / 2
      {S::BGM_ENA, 1}, {S::SE_ENA, 1},    {S::Seen, 1},     {S::BreakonSelect, 1},
      {S::EFX_CUT, 1}, {S::DatePanel, 1}, {S::TXWStyle, 1}, {S::CV1, 1},
      {S::CV2, 1},     {S::FONTSIZE, 19}, {S::SE0, 1},      {S::SE1, 1},
      {S::SE2, 1},     {S::SE3, 1},       {S::SE4, 1},      {S::Vol1, -500},
      {S::Vol2, -600}, {S::Vol3, -700},   {S::Vol4, -800},  {S::TXBG_R, 10},
      {S::TXBG_G, 20}, {S::TXBG_B, 30},   {S::TXBG_A, 140}, {S::TXBG_A2, 90},
  };
  const std::pair<S, std::string> texts[] = {
      {S::CDDir, "NULL"},
      {S::GameDir, "/games/quill/"},
      {S::FontName, Sjis("ＭＳ ゴシック")},
      {S::PlayerName, Sjis("山田")},
      {S::PlayerName2, Sjis("太郎")},
  };
  for (const SettingInfo& info : SettingsTable()) {
    SCOPED_TRACE(info.name);
    if (info.type == SettingType::kText) {
      auto it = std::find_if(std::begin(texts), std::end(texts),
                             [&](const auto& t) { return t.first == info.id; });
      ASSERT_NE(it, std::end(texts));
      EXPECT_EQ(s.Text(info.id), it->second);
    } else {
      auto it = std::find_if(std::begin(ints), std::end(ints),
                             [&](const auto& t) { return t.first == info.id; });
      EXPECT_EQ(s.Int(info.id), it == std::end(ints) ? 0 : it->second);  // the rest start at 0
    }
  }
  EXPECT_FALSE(fs::exists(file()));  // reading writes nothing
}

TEST_F(SettingsTest, StoredValuesAreUsedUnchecked) {
  {
    SettingsStore store = Store();
    store.WriteInt("fontsize", 40);  // names ignore case
    store.WriteInt("Vol1", -9000);
    store.WriteInt("RC_MODE", 9);
    store.WriteInt("SMode", 1);
    store.WriteInt("GV03", -12);
    store.WriteString("PlayerName", Sjis("佐藤"));
    store.WriteString("Vol2", "-100");  // the wrong type: the default is used
  }
  SettingsStore store = Store();
  Settings s = ReadSettings(store, ConfigFixture(), FactsFixture());
  EXPECT_EQ(s.Int(S::FONTSIZE), 40);
  EXPECT_EQ(s.Int(S::Vol1), -9000);
  EXPECT_EQ(s.Int(S::RC_MODE), 9);
  EXPECT_EQ(s.Int(S::SMode), 1);
  EXPECT_EQ(s.Int(SettingAt(S::GV00, 3)), -12);
  EXPECT_EQ(s.Text(S::PlayerName), Sjis("佐藤"));
  EXPECT_EQ(s.Int(S::Vol2), -600);
}

TEST_F(SettingsTest, NarrowScreenStartsInTheBorderlessWindow) {
  struct Case {
    int stored;  // -1: not in the store
    int screen_width;
    int expected;
  };
  const Case cases[] = {
      {-1, 600, 2}, {0, 600, 2}, {0, 480, 2}, {-1, 601, 0}, {0, 1920, 0}, {1, 600, 1}, {1, 1920, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.stored) + " @ " + std::to_string(c.screen_width));
    test::TempDir dir;
    SettingsStore store(dir / "g.ini");
    if (c.stored >= 0) store.WriteInt("SMode", c.stored);
    StartupFacts facts = FactsFixture();
    facts.screen_width = c.screen_width;
    Settings s = ReadSettings(store, ConfigFixture(), facts);
    EXPECT_EQ(s.Int(S::SMode), c.expected);
    // 2 is for this run only.
    SettingsStore reopened(dir / "g.ini");
    EXPECT_EQ(reopened.ReadInt("SMode", -1), c.stored);
  }
}

TEST_F(SettingsTest, CdFolderLosesOneTrailingBackslash) {
  const std::pair<std::string, std::string> cases[] = {
      {"D:\\", "D:"},
      {"D:\\GAME\\\\", "D:\\GAME\\"},
      {"Q:", "Q:"},
      {"NULL", "NULL"},
      {"", ""},
      {"\\", ""},
      // The last byte is the second half of a two-byte character, not a backslash.
      {Sjis("D:\\ソ"), Sjis("D:\\ソ")},
      {Sjis("D:\\ソ\\"), Sjis("D:\\ソ")},
  };
  for (const auto& [stored, expected] : cases) {
    SCOPED_TRACE(stored);
    test::TempDir dir;
    SettingsStore store(dir / "g.ini");
    store.WriteString("CDDir", stored);
    Settings s = ReadSettings(store, ConfigFixture(), FactsFixture());
    EXPECT_EQ(s.Text(S::CDDir), expected);
  }
}

TEST_F(SettingsTest, StartupCellsFollowTheSettings) {
  struct Case {
    std::string name, name2;
    int32_t s006;
  };
  const Case cases[] = {
      {Sjis("山田"), Sjis("太郎"), 0},
      {Sjis("佐藤"), Sjis("太郎"), 1},
      {Sjis("山田"), Sjis("花子"), 1},
      {"", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(SjisToUtf8Lossy(c.name + "/" + c.name2));
    test::TempDir dir;
    SettingsStore store(dir / "g.ini");
    store.WriteString("PlayerName", c.name);
    store.WriteString("PlayerName2", c.name2);
    store.WriteInt("DatePanel", 0);
    store.WriteInt("TXWStyle", 3);
    store.WriteInt("Clear", 2);
    GameConfig config = ConfigFixture();
    Settings s = ReadSettings(store, config, FactsFixture());
    EXPECT_THAT(StartupSystemCells(s, config),
                ElementsAre(AllOf(Field(&SystemCell::index, 6), Field(&SystemCell::value, c.s006)),
                            AllOf(Field(&SystemCell::index, 50), Field(&SystemCell::value, 0)),
                            AllOf(Field(&SystemCell::index, 51), Field(&SystemCell::value, 3)),
                            AllOf(Field(&SystemCell::index, 100), Field(&SystemCell::value, 2))));
  }
  // A fresh user keeps the default names.
  SettingsStore store = Store();
  GameConfig config = ConfigFixture();
  Settings s = ReadSettings(store, config, FactsFixture());
  EXPECT_EQ(StartupSystemCells(s, config)[0].value, 0);
}

TEST_F(SettingsTest, ChangesAreWrittenThrough) {
  GameConfig config = ConfigFixture();
  {
    SettingsStore store = Store();
    Settings s = ReadSettings(store, config, FactsFixture());
    EXPECT_TRUE(s.Change(S::Vol3, -1200, store));
    EXPECT_TRUE(s.Change(S::PlayerName, Sjis("鈴木"), store));
    EXPECT_EQ(s.Int(S::Vol3), -1200);
  }
  SettingsStore store = Store();
  EXPECT_EQ(store.ReadInt("Vol3", 0), -1200);
  Settings s = ReadSettings(store, config, FactsFixture());
  EXPECT_EQ(s.Int(S::Vol3), -1200);
  EXPECT_EQ(s.Text(S::PlayerName), Sjis("鈴木"));
}

TEST(SettingsTableTest, NamesAndNumberedRuns) {
  EXPECT_EQ(FindSetting("bgm_ena"), S::BGM_ENA);
  EXPECT_EQ(FindSetting("TXBG_A2"), S::TXBG_A2);
  EXPECT_EQ(FindSetting("NoSuchValue"), std::nullopt);
  for (int i = 0; i < 10; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "GV%02d", i);
    EXPECT_STREQ(InfoOf(SettingAt(S::GV00, i)).name, name);
  }
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(InfoOf(SettingAt(S::SE0, i)).name, "SE" + std::to_string(i));
    EXPECT_EQ(InfoOf(SettingAt(S::SE_LVL0, i)).name, "SE_LVL" + std::to_string(i));
  }
}

TEST_F(SettingsTest, DumpShowsCurrentValues) {
  SettingsStore store = Store();
  StartupFacts facts = FactsFixture();
  facts.screen_width = 600;
  Settings s = ReadSettings(store, ConfigFixture(), facts);
  const nlohmann::ordered_json j = SettingsJson(s);
  for (const SettingInfo& info : SettingsTable()) EXPECT_TRUE(j.contains(info.name)) << info.name;
  EXPECT_EQ(j["SMode"], 2);
  EXPECT_EQ(j["Vol1"], -500);
  EXPECT_EQ(j["PlayerName"], "山田");
  EXPECT_EQ(j["FontName"], "ＭＳ ゴシック");
}

}  // namespace
}  // namespace quill
