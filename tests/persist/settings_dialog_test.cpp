// The settings dialog and the simple settings screen on the headless platform.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "persist/credits.h"
#include "persist/settings_screens.h"
#include "tests/audio/sound_fixture.h"
#include "tests/engine/script_fixture.h"
#include "tests/support/test_files.h"

namespace quill {
namespace {

using test::ScriptFixture;

constexpr const char* kConfig =
    "MAKER_REG:QuillTests\nGAME_ID:Settings\nTXW_COLOR_R:10\nTXW_COLOR_G:20\nTXW_COLOR_B:30\n"
    "TXW_ALPHA:40\nVOLUME1:-100\nVOLUME2:-200\nVOLUME3:-300\n";
// A simple screen whose pictures are not in the archives: its rectangles still work.
constexpr const char* kSimpleScreen =
    "CFG_GRA:sys_cfg,sys_cfg2\nCFG_WM_WIN:10,10,50,30\nCFG_WM_FULL:60,10,100,30\n"
    "CFG_GM_NORMAL:10,40,50,60\nCFG_GM_FAST:60,40,100,60\nCFG_TM_NORMAL:10,70,50,90\n"
    "CFG_TM_FAST:60,70,100,90\nCFG_MS_STOP:10,100,50,120\nCFG_MS_NONE:60,100,100,120\n"
    "CFG_CLOSE:700,550,780,590\nCFG_DETAIL:600,550,680,590\nCFG_VOL_CVTEST:500,300,560,320\n"
    "CFG_VOL_DEFAULT:500,350,560,370\nCFG_VOL_BAR:200,20\nCFG_VOL_KNOB:sys_knob\n"
    "CFG_VOL1:100,200\nCFG_VOL2:100,240\nCFG_VOL3:100,280\nCFG_VOL4:100,320\n";

std::string StoreBytes(Engine& e) {
  const std::filesystem::path& path = e.settings_store()->path();
  return std::filesystem::exists(path) ? test::ReadText(path) : std::string("(none)");
}

TEST(SettingsDialog, OpeningAndClosingWritesNothing) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.Scenario("0 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().Write(SettingId::Seen, 1);
  std::string before = StoreBytes(e);
  e.settings_screens().OpenSettings();
  EXPECT_EQ(StoreBytes(e), before);
  EXPECT_TRUE(f.platform().errors().empty());
  EXPECT_FALSE(e.busy);
  EXPECT_TRUE(e.script_enabled);
}

TEST(SettingsDialog, ControlsWriteAtOnceClampedAndAsThePlayerSetsThem) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.Scenario(
      "0 dialog set FONTSIZE 30\n"
      "0 dialog set TXBG_R 200\n"
      "0 dialog set Delay 1\n"
      "0 dialog set Vol3 -5000\n"
      "0 dialog set master -1200\n"
      "0 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  ASSERT_TRUE(f.platform().errors().empty()) << f.platform().errors()[0];
  const SettingsStore& store = *e.settings_store();
  EXPECT_EQ(e.settings().Int(SettingId::FONTSIZE), 24);
  EXPECT_EQ(store.ReadInt("FONTSIZE", 0), 24);
  EXPECT_EQ(store.ReadInt("TXBG_R", 0), 200);
  EXPECT_EQ(store.ReadInt("Vol3", 0), -3000);
  EXPECT_EQ(store.ReadInt("Delay", 0), 1);
  EXPECT_FALSE(e.one_by_one);
  // The master volume lives in memory only.
  EXPECT_EQ(e.settings_screens().master_volume(), -1200);
  EXPECT_FALSE(store.Has("master"));
}

TEST(SettingsDialog, DefaultRestoresTheWindowColoursOfTheConfig) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.Scenario(
      "0 dialog set TXBG_G 255\n"
      "0 dialog set TXBG_A 0\n"
      "0 dialog press Default\n"
      "0 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  ASSERT_TRUE(f.platform().errors().empty()) << f.platform().errors()[0];
  const SettingsStore& store = *e.settings_store();
  const std::pair<const char*, int> expected[] = {
      {"TXBG_R", 10}, {"TXBG_G", 20}, {"TXBG_B", 30}, {"TXBG_A", 40}};
  for (const auto& [name, value] : expected) {
    EXPECT_EQ(store.ReadInt(name, -1), value) << name;
    EXPECT_EQ(e.settings().Int(*FindSetting(name)), value) << name;
  }
}

TEST(SettingsDialog, RefusesUnknownControlsAndButtons) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.Scenario(
      "0 dialog set NoSuchValue 1\n"
      "0 dialog press OK\n"
      "0 dialog set CONFIG_MODE 1\n"  // hidden: the game has no simple screen
      "0 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  EXPECT_EQ(f.platform().errors().size(), 3u);
  EXPECT_FALSE(e.settings_store()->Has("CONFIG_MODE"));
}

TEST(SettingsDialog, SwitchesToFullScreenAndBack) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.Scenario(
      "0 dialog set SMode 1\n0 dialog close\n"
      "1000 dialog set SMode 0\n1000 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  EXPECT_TRUE(e.screen_mode_switch().full_screen_active());
  EXPECT_EQ(f.platform().GetDisplayMode(), DisplayMode::FullScreen);
  EXPECT_EQ(e.settings_store()->ReadInt("SMode", -1), 1);
  e.settings_screens().OpenSettings();
  EXPECT_FALSE(e.screen_mode_switch().full_screen_active());
  EXPECT_EQ(f.platform().GetDisplayMode(), DisplayMode::Window);
  EXPECT_EQ(e.settings_store()->ReadInt("SMode", -1), 0);
  EXPECT_FALSE(e.busy);
}

TEST(SettingsDialog, TheMusicSwitchStopsTheTrackAndStartsTheRequestedOneAgain) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  f.game().Resource("mg_bgm.qlm", "M02",
                    test::MusicMember(test::ToneSound(1, 11025, 2.0, 220), 11025));
  f.Scenario(
      "0 dialog set BGM_ENA 0\n0 dialog close\n"
      "1000 dialog set BGM_ENA 1\n1000 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.sound_commands().SetMusic(2);
  ASSERT_TRUE(e.sound().mixer().IsPlaying(SoundChannel::Music));
  e.settings_screens().OpenSettings();
  EXPECT_FALSE(e.sound().mixer().IsPlaying(SoundChannel::Music));
  EXPECT_EQ(e.settings_store()->ReadInt("BGM_ENA", -1), 0);
  EXPECT_EQ(e.banks().S(3), 2);  // the request is kept
  e.settings_screens().OpenSettings();
  EXPECT_EQ(e.sound().mixer().Status(SoundChannel::Music).name, "M02");
  EXPECT_EQ(e.settings_store()->ReadInt("BGM_ENA", -1), 1);
}

TEST(SettingsDialog, StateDumpNamesTheOpenDialogAndItsTab) {
  ScriptFixture f;
  f.game().Script("_config", kConfig);
  test::TempDir out;
  f.Scenario("0 dialog set FONTBold 1\n0 state " + (out / "open.json").string() +
             "\n0 dialog close\n0 state " + (out / "closed.json").string() + "\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  f.Frame();
  auto open = nlohmann::json::parse(test::ReadText(out / "open.json"));
  EXPECT_EQ(open["dialog"], (nlohmann::json{{"kind", "settings"}, {"tab", 2}}));
  EXPECT_TRUE(open["simple_settings"].is_null());
  auto closed = nlohmann::json::parse(test::ReadText(out / "closed.json"));
  EXPECT_TRUE(closed["dialog"].is_null());
  EXPECT_EQ(closed["settings"]["FONTBold"], 1);
}

TEST(SimpleSettings, KnobValueAtTheEdgesOfItsRanges) {
  // Bar 100 wide at x 50, knob 20 wide: half a knob is 10.
  const struct {
    int x, value;
  } cases[] = {
      {0, -3000},
      {60, -3000},  // up to half a knob in
      {61, 1 * 3000 / 80 - 3000},
      {139, 79 * 3000 / 80 - 3000},  // linear between
      {140, 0},
      {400, 0},  // from half a knob before the end
  };
  for (const auto& c : cases) EXPECT_EQ(KnobValue(50, 100, 20, c.x), c.value) << c.x;
}

TEST(SimpleSettings, EmptyPictureNameOpensTheDialogWhateverIsStored) {
  ScriptFixture f;
  f.game().Script("_config", std::string(kConfig) + "CFG_GRA:sys_cfg,\n");
  test::TempDir out;
  f.Scenario("0 state " + (out / "s.json").string() + "\n0 dialog close\n");
  Engine& e = f.StartMain("text\n");
  e.settings_screens().Write(SettingId::CONFIG_MODE, 0);
  e.settings_screens().OpenSettings();
  auto state = nlohmann::json::parse(test::ReadText(out / "s.json"));
  EXPECT_EQ(state["dialog"]["kind"], "settings");
  EXPECT_EQ(e.settings().Int(SettingId::CONFIG_MODE), 1);
  EXPECT_EQ(e.settings_store()->ReadInt("CONFIG_MODE", -1), 0);
  EXPECT_FALSE(e.settings_screens().simple().open());
}

TEST(SimpleSettings, KnobsDragToTheEndsOptionsAndCloseWriteEverything) {
  ScriptFixture f;
  f.game().Script("_config", std::string(kConfig) + kSimpleScreen);
  f.Scenario(
      "100 down 150 250\n"  // the second bar: Vol1
      "110 move 0 250\n"
      "120 up 0 250\n"
      "200 down 150 210\n"  // the first bar: the master volume
      "210 move 799 210\n"
      "220 up 799 210\n"
      "300 click 60 70\n"   // text fast
      "310 click 60 100\n"  // do not stop at unread text
      "400 move 710 560\n"
      "500 click 710 560\n");  // close
  Engine& e = f.StartMain("text\n");
  e.settings_screens().OpenSettings();
  SimpleSettings& screen = e.settings_screens().simple();
  ASSERT_TRUE(screen.open());
  EXPECT_TRUE(e.script_enabled == false);
  while (f.platform().NowMs() < 105) f.Frame();
  EXPECT_EQ(screen.dragging(), 1);
  EXPECT_EQ(screen.StateJson()["dragging"], 1);
  while (f.platform().NowMs() < 450) f.Frame();
  EXPECT_EQ(screen.Volume(1), -3000);
  EXPECT_EQ(screen.Volume(0), 0);
  EXPECT_EQ(screen.hover(), SimpleItem::Close);
  EXPECT_EQ(screen.StateJson()["hover"], "CFG_CLOSE");
  // Nothing reaches the store before the screen closes.
  EXPECT_FALSE(e.settings_store()->Has("Vol1"));
  while (f.platform().NowMs() < 600) f.Frame();
  EXPECT_FALSE(screen.open());
  EXPECT_TRUE(screen.StateJson().is_null());
  const SettingsStore& store = *e.settings_store();
  EXPECT_EQ(store.ReadInt("Vol1", 1), -3000);
  EXPECT_EQ(store.ReadInt("Delay", -1), 1);
  EXPECT_EQ(store.ReadInt("Seen", -1), 0);
  EXPECT_EQ(store.ReadInt("SMode", -1), 0);
  EXPECT_TRUE(e.script_enabled);
  EXPECT_FALSE(e.busy);
}

TEST(SimpleSettings, DefaultsResetTheThreeVolumesButNotTheMaster) {
  ScriptFixture f;
  f.game().Script("_config", std::string(kConfig) + kSimpleScreen);
  f.Scenario("100 click 150 210\n200 click 510 360\n300 click 710 560\n");
  Engine& e = f.StartMain("text\n");
  e.settings().SetInt(SettingId::Vol2, -2500);
  e.settings_screens().OpenSettings();
  while (f.platform().NowMs() < 400) f.Frame();
  const SettingsStore& store = *e.settings_store();
  EXPECT_EQ(store.ReadInt("Vol1", 1), -100);
  EXPECT_EQ(store.ReadInt("Vol2", 1), -200);
  EXPECT_EQ(store.ReadInt("Vol3", 1), -300);
  EXPECT_EQ(e.settings_screens().master_volume(), KnobValue(100, 200, 0, 150));
}

TEST(Credits, TheReadmeListsEveryLibraryOfTheDialog) {
  std::string readme = test::ReadText(test::SourceDir() / "README.md");
  size_t section = readme.find("## Libraries");
  ASSERT_NE(section, std::string::npos);
  std::string list = readme.substr(section, readme.find("\n## ", section + 1) - section);
  size_t items = 0;
  for (size_t p = list.find("\n- "); p != std::string::npos; p = list.find("\n- ", p + 1)) ++items;
  EXPECT_EQ(items, LibraryCredits().size());
  for (const LibraryCredit& c : LibraryCredits()) {
    EXPECT_NE(list.find("- " + std::string(c.library) + ": " + c.line + "\n"), std::string::npos)
        << c.library;
  }
}

}  // namespace
}  // namespace quill
