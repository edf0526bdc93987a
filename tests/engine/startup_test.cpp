// Start-up through the real engine on the headless platform: the configuration, the settings
// store, the archives and the game start.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
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

namespace fs = std::filesystem;

// The headless platform with a desktop of any size, a record of titles and errors, and a
// display switch that may refuse full screen.
class StartupPlatform : public HeadlessPlatform {
 public:
  explicit StartupPlatform(fs::path game) : HeadlessPlatform(std::move(game), {}) {}
  void GetDesktopSize(int& width, int& height) override {
    width = desktop_width;
    height = desktop_height;
  }
  void SetTitle(std::string_view sjis) override {
    titles.push_back(SjisToUtf8Lossy(sjis));
    HeadlessPlatform::SetTitle(sjis);
  }
  void ShowError(std::string_view caption, std::string_view text) override {
    errors.push_back(SjisToUtf8Lossy(caption) + ": " + SjisToUtf8Lossy(text));
  }
  bool SetDisplayMode(DisplayMode mode) override {
    if (refuse_full_screen && mode == DisplayMode::FullScreen) return false;
    return HeadlessPlatform::SetDisplayMode(mode);
  }

  int desktop_width = 1920, desktop_height = 1080;
  bool refuse_full_screen = false;
  std::vector<std::string> titles;
  std::vector<std::string> errors;
};

constexpr const char* kConfig =
    "; a comment line\n"
    "TITLE:Quill Test Game\n"
    "MAKER_REG:Quill Tests\n"
    "game_id:startup\n"
    "DEFAULT_NAME:山田\n"
    "DEFAULT_NAME2:太郎\n"
    "VOLUME1:-500\n"
    "VOLUME3:-1200\n"
    "TXW_COLOR_R:10\n"
    "TXW_OFS_Y:400\n"
    "TX_OFS_X:30\n"
    "TX_PITCH_X:26\n"
    "MOJI_MAX_X:20\n"
    "MOJI_MAX2_Y:12\n"
    "NAME:3,Aki,F80\n";

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() : game_(dir_ / "game") {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    game_.Script("main", "text\n").Script("_config", kConfig);
  }

  // Runs FormCreate; the first frame (BeginGame) only when asked.
  Engine& Start(bool first_frame = true) {
    game_.Write();
    engine_.reset();
    platform_ = std::make_unique<StartupPlatform>(game_.folder());
    platform_->desktop_width = desktop_width_;
    platform_->refuse_full_screen = refuse_full_screen_;
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    started_ = engine_->FormCreate();
    if (first_frame) engine_->AppIdle();
    return *engine_;
  }
  fs::path StoreFile() {
    return SettingsStore::PathFor(dir_ / "config" / "quill", "Quill Tests", "startup");
  }
  void WriteStore(const std::string& text) {
    fs::create_directories(StoreFile().parent_path());
    std::ofstream(StoreFile(), std::ios::binary) << text;
  }

  test::TempDir dir_;
  test::FixtureGame game_;
  int desktop_width_ = 1920;
  bool refuse_full_screen_ = false;
  std::unique_ptr<StartupPlatform> platform_;
  std::unique_ptr<Engine> engine_;
  bool started_ = false;
};

TEST_F(StartUpTest, TheConfigurationReachesTheEngineAndTheTitle) {
  Engine& e = Start();
  ASSERT_TRUE(started_);
  EXPECT_EQ(e.config().TITLE, "Quill Test Game");
  EXPECT_EQ(e.config().GAME_ID, "startup");
  EXPECT_EQ(e.config().TXW_COLOR_R, 10);
  ASSERT_TRUE(e.speakers()[3].defined);
  EXPECT_EQ(e.speakers()[3].colour, 0x0080F0u);
  // The text grid comes from the configuration.
  EXPECT_EQ(e.text_layout().txw_ofs_y, 400);
  EXPECT_EQ(e.text_layout().tx_ofs_x, 30);
  EXPECT_EQ(e.text_layout().tx_pitch_x, 26);
  EXPECT_EQ(e.text_layout().moji_max_x, 20);
  EXPECT_EQ(e.text_layout().moji_max2_y, 12);
  EXPECT_EQ(e.glyph_drawing().pitch_x(), 26);
  // "起動中" while starting, the game's title afterwards.
  ASSERT_FALSE(platform_->titles.empty());
  EXPECT_EQ(platform_->titles.front(), "起動中");
  EXPECT_EQ(platform_->title(), "Quill Test Game");
  EXPECT_TRUE(platform_->errors.empty());
}

TEST_F(StartUpTest, AFreshStoreGivesEveryDefault) {
  Engine& e = Start();
  const Settings& s = e.settings();
  struct Case {
    SettingId id;
    int32_t value;
  };
  const Case cases[] = {
      {SettingId::Seen, 1},
      {SettingId::BreakonSelect, 1},
      {SettingId::EFX_CUT, 1},
      {SettingId::DatePanel, 1},
      {SettingId::TXWStyle, 1},
      {SettingId::BGM_ENA, 1},
      {SettingId::SE_ENA, 1},
      {SettingId::CV1, 1},
      {SettingId::FONTSIZE, 19},
      {SettingId::Delay, 0},
      {SettingId::SMode, 0},
      {SettingId::Vol1, -500},
      {SettingId::Vol3, -1200},
      {SettingId::TXBG_R, 10},
      // The window is centred on the 1920 × 1080 desktop.
      {SettingId::Left, (1920 - 800) / 2},
      {SettingId::Top, (1080 - 624) / 2},
  };
  for (const Case& c : cases) EXPECT_EQ(s.Int(c.id), c.value) << InfoOf(c.id).name;
  EXPECT_EQ(SjisToUtf8Lossy(s.Text(SettingId::PlayerName)), "山田");
  // The window stays where it opened (centred by the platform).
  int x = -1, y = -1;
  platform_->GetWindowPosition(x, y);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  // What the script machine reads from the settings.
  EXPECT_TRUE(e.one_by_one);
  EXPECT_TRUE(e.efx_cut);
  EXPECT_TRUE(e.seen);
  EXPECT_TRUE(e.break_on_select);
  // Start-up's cells: names from the defaults, so S006 is 0.
  EXPECT_EQ(e.banks().S(6), 0);
  EXPECT_EQ(e.banks().S(50), 1);
  EXPECT_EQ(e.banks().S(51), 1);
  EXPECT_EQ(SjisToUtf8Lossy(e.banks().NameSlot(0)), "山田");
  EXPECT_EQ(SjisToUtf8Lossy(e.banks().NameSlot(1)), "太郎");
  // Reading creates no store file.
  EXPECT_FALSE(fs::exists(StoreFile()));
}

TEST_F(StartUpTest, AChangedSettingIsReadBackAfterARestart) {
  {
    Engine& e = Start();
    ASSERT_NE(e.settings_store(), nullptr);
    SettingsStore& store = *e.settings_store();
    EXPECT_TRUE(e.settings().Change(SettingId::Delay, 1, store));
    EXPECT_TRUE(e.settings().Change(SettingId::Seen, 0, store));
    EXPECT_TRUE(e.settings().Change(SettingId::Clear, 7, store));
    EXPECT_TRUE(e.settings().Change(SettingId::PlayerName, Utf8ToSjisLossy("佐藤"), store));
  }
  Engine& e = Start();
  EXPECT_EQ(e.settings().Int(SettingId::Delay), 1);
  EXPECT_FALSE(e.one_by_one);
  EXPECT_FALSE(e.seen);
  EXPECT_EQ(e.banks().S(100), 7);
  EXPECT_EQ(SjisToUtf8Lossy(e.banks().NameSlot(0)), "佐藤");
  EXPECT_EQ(e.banks().S(6), 1);  // a name differs from its default
}

TEST_F(StartUpTest, AStoredWindowPlaceMovesTheWindow) {
  WriteStore("Left=int:33\nTop=int:-4\n");
  Start();
  int x = 0, y = 0;
  platform_->GetWindowPosition(x, y);
  EXPECT_EQ(x, 33);
  EXPECT_EQ(y, -4);
}

TEST_F(StartUpTest, ConfigurationProblemsAreReportedOnceAndReadingGoesOn) {
  game_.Script("_config", std::string("VOLUME1:loud\n") + kConfig);
  testing::internal::CaptureStderr();
  Engine& e = Start();
  std::string err = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(started_);
  EXPECT_EQ(e.config().TITLE, "Quill Test Game");
  size_t lines = 0;
  for (size_t p = err.find("_config"); p != std::string::npos; p = err.find("_config", p + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 1u) << err;
  EXPECT_NE(err.find("line 1"), std::string::npos) << err;
}

TEST_F(StartUpTest, ADamagedStoreStillStartsAndIsReportedOnce) {
  WriteStore("Delay=int:1\nthis line is not a value\n\x01\x02=\nSeen=int:zero\n");
  testing::internal::CaptureStderr();
  Engine& e = Start();
  std::string err = testing::internal::GetCapturedStderr();
  ASSERT_TRUE(started_);
  EXPECT_FALSE(e.closed());
  EXPECT_EQ(e.settings().Int(SettingId::Delay), 1);  // what could be read is used
  EXPECT_EQ(e.settings().Int(SettingId::Seen), 1);   // the rest keeps its default
  size_t mentions = 0;
  for (size_t p = err.find(StoreFile().filename().string()); p != std::string::npos;
       p = err.find(StoreFile().filename().string(), p + 1)) {
    ++mentions;
  }
  EXPECT_EQ(mentions, 1u) << err;
}

TEST_F(StartUpTest, TheFirstFrameStartsTheGameFromACleanState) {
  Engine& e = Start();
  EXPECT_EQ(e.current_script_name(), "main");
  EXPECT_EQ(e.loaded_script_name(), "main");
  EXPECT_EQ(e.call_stack().depth(), 0);
  EXPECT_FALSE(e.start_game);
  struct Cell {
    int index;
    int32_t value;
  };
  for (Cell c : {Cell{0, 3}, Cell{5, 0}, Cell{8, 8}, Cell{20, 250}, Cell{21, 550}, Cell{27, 5},
                 Cell{32, 520}, Cell{33, 30}, Cell{37, 0xFFFFFF}, Cell{31, 0}, Cell{150, 0}}) {
    EXPECT_EQ(e.banks().S(c.index), c.value) << "S" << c.index;
  }
  // Colour 0 is the speaker colour S037, filled once S037 is white.
  EXPECT_EQ(e.glyph_drawing().text_colour(), kWhite);
  EXPECT_FALSE(e.window_open);
  EXPECT_EQ(e.transition_interrupt, 0);
  EXPECT_EQ(e.settings_store()->path(), StoreFile());
  // The display is black.
  const Picture& d = platform_->display();
  int lit = 0;
  for (int y = 0; y < d.height(); ++y) {
    for (int i = 0; i < d.width() * 3; ++i) lit += d.Row(y)[i] != 0;
  }
  EXPECT_EQ(lit, 0);
}

TEST_F(StartUpTest, WithoutTheFirstPictureArchiveTheGameDataErrorEndsTheRun) {
  game_.WithoutPictureArchive();
  Engine& e = Start(false);
  EXPECT_FALSE(started_);
  EXPECT_TRUE(e.exit_requested);
  ASSERT_EQ(platform_->errors.size(), 1u);
  EXPECT_EQ(platform_->errors[0], "Error!: ゲームデータを読み込めません。");
  // The first frame closes the window without asking.
  e.AppIdle();
  EXPECT_TRUE(e.closed());
  EXPECT_TRUE(e.loaded_script_name().empty());
}

TEST_F(StartUpTest, WithoutAnyGameDataTheErrorIsShownOnce) {
  game_.WithoutPictureArchive();
  game_.Write();
  fs::remove(game_.folder() / "mg_data.qlm");
  platform_ = std::make_unique<StartupPlatform>(game_.folder());
  Engine e(*platform_, EngineOptions{});
  EXPECT_FALSE(e.FormCreate());
  EXPECT_EQ(platform_->errors.size(), 1u);
}

TEST_F(StartUpTest, PictureArchivesMayComeFromTheCdFolder) {
  // mg_gra.qlm lives only in the CD folder, named by CDDir with a trailing backslash.
  fs::path cd = dir_ / "cd";
  test::FixtureGame(cd).Resource("mg_gra.qlm", "BG01", {1, 2, 3}).Write();
  fs::remove(cd / "mg_data.qlm");
  game_.WithoutPictureArchive();
  WriteStore("CDDir=str:" + cd.string() + "/\\\\\n");
  struct Case {
    const char* config_line;
    bool starts;
  };
  for (Case c : {Case{"MGD_GRA:1\n", true}, Case{"MGD_GRA:0\n", false}}) {
    SCOPED_TRACE(c.config_line);
    game_.Script("_config", std::string(kConfig) + c.config_line);
    Engine& e = Start(false);
    EXPECT_EQ(started_, c.starts);
    EXPECT_EQ(e.picture_loader().PictureExists("bg01"), c.starts);
    if (c.starts) {
      EXPECT_EQ(e.resources().pictures[0].path, cd / "mg_gra.qlm");
    }
  }
}

TEST_F(StartUpTest, TheScreenModeIsAppliedOnTheFirstFrame) {
  struct Case {
    const char* name;
    const char* store;
    int desktop_width;
    bool refuse;
    DisplayMode started, after_close;
    bool full_screen;
  };
  const Case cases[] = {
      {"window", "", 1920, false, DisplayMode::Window, DisplayMode::Window, false},
      {"full screen", "SMode=int:1\n", 1920, false, DisplayMode::FullScreen, DisplayMode::Window,
       true},
      {"full screen refused", "SMode=int:1\n", 1920, true, DisplayMode::Window, DisplayMode::Window,
       false},
      // SMode 2 is only the borderless window, and closing leaves the display alone.
      {"SMode 2 stored", "SMode=int:2\n", 1920, false, DisplayMode::BorderlessTopLeft,
       DisplayMode::BorderlessTopLeft, false},
      {"narrow screen", "", 600, false, DisplayMode::BorderlessTopLeft,
       DisplayMode::BorderlessTopLeft, false},
      {"wider than 600", "", 601, false, DisplayMode::Window, DisplayMode::Window, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteStore(c.store);
    desktop_width_ = c.desktop_width;
    refuse_full_screen_ = c.refuse;
    Engine& e = Start();
    EXPECT_EQ(platform_->GetDisplayMode(), c.started);
    EXPECT_EQ(e.screen_mode_switch().full_screen_active(), c.full_screen);
    e.exit_requested = true;  // close without the question
    e.CloseMainWindow();
    ASSERT_TRUE(e.closed());
    EXPECT_EQ(platform_->GetDisplayMode(), c.after_close);
  }
}

}  // namespace
}  // namespace quill
