// Start-up (StartUp, once from FormCreate), the game configuration's engine side
// (LoadGameConfig) and the game start on the first frame (BeginGame).
#include <cstdio>
#include <string>

#include "common/file_util.h"
#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr std::string_view kErrorCaption = "Error!";
// "ゲームデータを読み込めません。"
constexpr std::string_view kNoGameData =
    "\x83\x51\x81\x5b\x83\x80\x83\x66\x81\x5b\x83\x5e\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdf"
    "\x82\xdc\x82\xb9\x82\xf1\x81\x42";
// "起動中"
constexpr std::string_view kStartingTitle = "\x8b\x4e\x93\xae\x92\x86";

// The main window's outer size: the 800 × 600 screen under the 24-pixel toolbar.
constexpr int kWindowWidth = kScreenWidth;
constexpr int kWindowHeight = kScreenHeight + kToolbarHeight;
// The canvas font of PB and the screen buffer: 22 points at 96 dpi as an em height.
constexpr int kCanvasFontPixels = -(22 * 96 / 72);

bool FileExists(const std::filesystem::path& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void Engine::FailStartUp() {
  // Shown once even when both the scripts and the pictures are missing.
  if (!exit_requested) platform_.ShowError(kErrorCaption, kNoGameData);
  exit_requested = true;
}

void Engine::LoadGameConfig() {
  // A missing `_config` leaves the buffer as it was: empty at start-up, so every key keeps its
  // default.
  bool found = LoadScript("_config", ScriptTarget::Aux);
  LoadedGameConfig loaded = quill::LoadGameConfig(aux_script_.script());
  for (const std::string& problem : loaded.problems) {
    std::fprintf(stderr, "quill: _config: %s\n", problem.c_str());
  }
  config_ = std::move(loaded.config);
  speakers_ = std::move(loaded.speakers);
  if (!found) return;  // the built-in text layout stays for a game without a configuration
  const GameConfig& c = config_;
  TextLayout& l = text_layout_;
  l.txw_ofs_x = c.TXW_OFS_X;
  l.txw_ofs_y = c.TXW_OFS_Y;
  l.tx_ofs_x = c.TX_OFS_X;
  l.tx_ofs_y = c.TX_OFS_Y;
  l.tx_pitch_x = c.TX_PITCH_X;
  l.tx_pitch_y = c.TX_PITCH_Y;
  l.moji_max_x = c.MOJI_MAX_X;
  l.moji_max_y = c.MOJI_MAX_Y;
  l.tx2_ofs_x = c.TX2_OFS_X;
  l.tx2_ofs_y = c.TX2_OFS_Y;
  l.tx2_pitch_x = c.TX2_PITCH_X;
  l.tx2_pitch_y = c.TX2_PITCH_Y;
  l.moji_max2_x = c.MOJI_MAX2_X;
  l.moji_max2_y = c.MOJI_MAX2_Y;
}

void Engine::StartUp() {
  platform_.SetTitle(kStartingTitle);
  // 1-4: the random sequence, the system cells, the sound device. The game folder is never made
  // current: every file is resolved against it.
  random_seed_ = platform_.NowMs() / 1000;
  for (int i = 0; i < 200; ++i) banks_.SetS(i, 0);
  wave_device = sound_.OpenDevice();
  const std::filesystem::path& game_folder = platform_.GameFolder();

  // 5-6: the scripts.
  bool have_scripts = FileExists(ResolveIgnoringCase(game_folder, std::string(kMainArchiveName)));
  if (!have_scripts) {
    std::fprintf(stderr, "quill: %s holds no game (%s is missing)\n", game_folder.c_str(),
                 std::string(kMainArchiveName).c_str());
    FailStartUp();
  }
  main_script_.size = 0;
  aux_script_.size = 0;
  std::string archive_error;
  if (!archives_.LoadArchiveIndexes(game_folder, &archive_error) && have_scripts) {
    // A script archive whose index cannot be read holds no game either.
    std::fprintf(stderr, "quill: %s\n", archive_error.c_str());
    FailStartUp();
  }

  // 7: the game configuration.
  LoadGameConfig();

  // 9: the settings, from the store of MAKER_REG / GAME_ID.
  settings_store_.emplace(
      SettingsStore::PathFor(platform_.ConfigFolder(), config_.MAKER_REG, config_.GAME_ID));
  StartupFacts facts;
  platform_.GetDesktopSize(facts.screen_width, facts.screen_height);
  facts.window_width = kWindowWidth;
  facts.window_height = kWindowHeight;
  facts.game_folder = Utf8ToSjisLossy(game_folder.string());
  settings_ = ReadSettings(*settings_store_, config_, facts);
  platform_.SetTitle(config_.TITLE);
  // The window opens centred, which is the default; only a stored place moves it (where the
  // window system refuses moves, a move would be taken for a shake of the picture).
  if (settings_store_->Has("Left") || settings_store_->Has("Top")) {
    platform_.SetWindowPosition(settings_.Int(SettingId::Left), settings_.Int(SettingId::Top));
  }
  one_by_one = settings_.Int(SettingId::Delay) == 0;
  efx_cut = settings_.Int(SettingId::EFX_CUT) != 0;
  seen = settings_.Int(SettingId::Seen) != 0;
  break_on_select = settings_.Int(SettingId::BreakonSelect) != 0;

  // 10-11: the canvas font and the shared pictures; the display starts black.
  canvas_font_ = TextOutputFont{settings_.Text(SettingId::FontName), kCanvasFontPixels, false};
  for (Picture* p :
       {&pictures_.background, &pictures_.load_scratch, &pictures_.scene, &pictures_.screen,
        &pictures_.wipe, &pictures_.full_overlay, &pictures_.choice_work, &pictures_.settings_work,
        &pictures_.saved, &pictures_.fade_output}) {
    p->Create(kScreenWidth, kScreenHeight);
  }
  platform_.Present(pictures_.screen);

  // 13: the resource archives; the game cannot run without the first picture archive.
  const GameConfig& c = config_;
  std::string cd_folder = SjisToUtf8Lossy(CdFolderFromSetting(settings_.Text(SettingId::CDDir)));
  resources_ = OpenResourceArchives(
      game_folder, cd_folder,
      CdFallback{c.MGD_GRA, c.MGD_GJP, c.MGD_WAV, c.MGD_SE, c.MGD_OGG, c.MGD_ANIM});
  for (const std::string& problem : resources_.problems) {
    std::fprintf(stderr, "quill: %s\n", problem.c_str());
  }
  picture_loader_.SetArchive(PictureArchiveRole::kJpeg, resources_.jpeg.path,
                             resources_.jpeg.index);
  picture_loader_.SetArchive(PictureArchiveRole::kPictures1, resources_.pictures[0].path,
                             resources_.pictures[0].index);
  picture_loader_.SetArchive(PictureArchiveRole::kPictures2, resources_.pictures[1].path,
                             resources_.pictures[1].index);
  picture_loader_.SetArchive(PictureArchiveRole::kPictures3, resources_.pictures[2].path,
                             resources_.pictures[2].index);
  if (!FileExists(resources_.pictures[0].path)) {
    if (!exit_requested) {
      std::fprintf(stderr, "quill: %s holds no pictures (mg_gra.qlm is missing)\n",
                   game_folder.c_str());
    }
    FailStartUp();
  }

  // 14-16: the message window, the system pictures and the text font.
  subsystems_.StartUpMessageWindow();
  choices_.StartUp();
  picture_loader_.LoadPicture("sys_gaiji", gaiji_);
  glyph_renderer_.SetPointSizeSource([this] { return settings_.Int(SettingId::FONTSIZE); });
  glyph_drawing_.SetSpeakerColourSource(
      [this] { return RgbFromColorRef(static_cast<uint32_t>(banks_.S(37))); });
  glyph_drawing_.set_pitch_x(c.TX_PITCH_X);
  // Opening the font warms the glyph cache.
  glyph_renderer_.ChangeFont(settings_.Text(SettingId::FontName),
                             settings_.Int(SettingId::FONTSIZE),
                             settings_.Int(SettingId::FONTBold) != 0);
  subsystems_.StartUpQuickBar();

  // 17: the run state, the banks, the global save and the log.
  ResetRunState();
  banks_.ClearV();
  banks_.F.ClearAll();
  banks_.E.ClearAll();
  banks_.T.ClearAll();
  for (const SystemCell& cell : StartupSystemCells(settings_, config_)) {
    banks_.SetS(cell.index, cell.value);
  }
  subsystems_.ReadGlobalSave();
  text_log_.Clear();

  // 18: the system cells of a new game and the text colour.
  banks_.SetS(0, 3);
  banks_.SetS(5, 0);
  banks_.SetS(8, 8);
  subsystems_.UpdateMenus();
  banks_.SetS(20, 250);
  banks_.SetS(21, 550);
  banks_.SetS(27, 5);
  banks_.SetS(32, 520);
  banks_.SetS(33, 30);
  banks_.SetS(37, 0xFFFFFF);
  glyph_drawing_.SetTextColour(1);
  glyph_drawing_.SetTextColour(0);

  // 19: pictures, window and names.
  subsystems_.StartUpComposition();
  objects_.Reset();
  window_open = false;
  for (int i = 150; i <= 153; ++i) banks_.SetS(i, 0);
  transition_interrupt = 0;
  for (int i = 0; i < kNameSlotCount; ++i) banks_.SetNameSlot(i, "");
  banks_.SetNameSlot(0, settings_.Text(SettingId::PlayerName));
  banks_.SetNameSlot(1, settings_.Text(SettingId::PlayerName2));
  banks_.SetS(31, 0);

  // 20: the first frame starts the game.
  start_game = true;
  subsystems_.StartUpGallery();
  // The mouse cursors and the meter come last.
  cursors_.StartUp();
  for (const std::string& problem : cursors_.problems()) {
    std::fprintf(stderr, "quill: %s\n", problem.c_str());
  }
  meter_.StartUp();
}

void Engine::BeginGame() {
  if (exit_requested) {
    CloseMainWindow();
    return;
  }
  pictures_.screen.Fill(0, 0, 0);
  platform_.Present(pictures_.screen);
  int smode = settings_.Int(SettingId::SMode);
  if (smode != 0) screen_mode_switch_.EnterFullScreen(smode);
  StartGame();
  sound_.InitSound();
}

}  // namespace quill
