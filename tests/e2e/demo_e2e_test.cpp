// The demo game as the build makes it (build/demo): it plays headless from the title through the
// story and back, its configuration reads cleanly, and its archives hold every picture the scripts
// and the message window ask for, in the sizes the layout needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "common/file_util.h"
#include "common/sjis.h"
#include "engine/archive_index.h"
#include "engine/script_mask.h"
#include "graphics/game_config.h"
#include "graphics/picture_loader.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"
#include "tools/script_pack.h"

namespace quill {
namespace {

using test::ReadJson;

namespace fs = std::filesystem;

fs::path DemoFolder() { return test::BinaryDir() / "demo"; }

// Every script of the demo's archive as UTF-8 text, by upper-case name.
std::map<std::string, std::string> DemoScripts() {
  std::map<std::string, std::string> scripts;
  fs::path archive = DemoFolder() / "mg_data.qlm";
  ArchiveReadResult r = ReadArchiveIndex(archive, ArchiveLayout::FixedWidth);
  EXPECT_TRUE(r.index) << r.error;
  if (!r.index) return scripts;
  for (size_t i = 0; i < r.index->count(); ++i) {
    auto data = ReadArchiveMember(archive, *r.index, i);
    EXPECT_TRUE(data) << r.index->names[i];
    if (!data) continue;
    MaskScript(*data);
    scripts[r.index->names[i]] = StoredToScriptText(*data);
  }
  return scripts;
}

LoadedGameConfig DemoConfig() {
  fs::path archive = DemoFolder() / "mg_data.qlm";
  ArchiveReadResult r = ReadArchiveIndex(archive, ArchiveLayout::FixedWidth);
  if (!r.index || r.index->Find("_config") < 0) return {};
  auto data = ReadArchiveMember(archive, *r.index, r.index->Find("_config"));
  if (!data) return {};
  MaskScript(*data);
  return LoadGameConfig(std::span<const uint8_t>(*data));
}

PictureLoader DemoPictures() {
  PictureLoader loader;
  std::string error;
  EXPECT_TRUE(
      loader.OpenArchive(PictureArchiveRole::kPictures1, DemoFolder() / "mg_gra.qlm", &error))
      << error;
  EXPECT_TRUE(loader.OpenArchive(PictureArchiveRole::kJpeg, DemoFolder() / "mg_gjp.qlm", &error))
      << error;
  return loader;
}

int Grey(const Picture& p, int x, int y) { return p.Pixel(x, y)[1]; }

bool IsGrey(const Picture& p) {
  for (size_t i = 0; i + 2 < p.bytes().size(); i += 3)
    if (p.bytes()[i] != p.bytes()[i + 1] || p.bytes()[i + 1] != p.bytes()[i + 2]) return false;
  return true;
}

Picture Rows(const Picture& p, int y, int h) {
  Picture out(p.width(), h);
  CopyRect(out, 0, 0, p, 0, y, p.width(), h);
  return out;
}

TEST(DemoGame, PlaysFromTheTitleThroughTheStoryBackToTheTitle) {
  // A click every 400 ms, and the state just before each click, so that every stop of the script
  // (the title waits for a click) shows up in some dump. The clicks fall on the first plate of
  // the choices (both layouts) and on no zone of the click map, which then times out.
  test::TempDir dir;
  constexpr int kClicks = 450, kFirst = 1000, kPeriod = 400;
  std::ostringstream scenario;
  for (int i = 0; i < kClicks; ++i) {
    int t = kFirst + i * kPeriod;
    scenario << t - 1 << " state s/" << i << ".json\n" << t << " click 400 130\n";
    // The first chapter asks for the hero's name: the names as they stand.
    if (i == 0) scenario << t + 200 << " dialog ok\n";
  }
  scenario << kFirst + kClicks * kPeriod << " quit\n";
  std::ofstream(dir / "run.txt") << scenario.str();
  // The names come from the settings store: one of the run's own.
  setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
  test::ProgramResult r = test::RunProgram("quill", {"--game", DemoFolder().string(), "--headless",
                                                     "--scenario", (dir / "run.txt").string()});
  ASSERT_EQ(r.exit_code, 0) << r.err;

  std::vector<std::string> visited;
  nlohmann::json finished;
  for (int i = 0; i < kClicks; ++i) {
    nlohmann::json s = ReadJson(dir / ("s/" + std::to_string(i) + ".json"));
    ASSERT_TRUE(s.is_object()) << "state " << i;
    std::string script = s["script"];
    if (visited.empty() || visited.back() != script) visited.push_back(script);
    if (s["V"][100] == 1) {
      finished = s;
      break;
    }
  }
  ASSERT_TRUE(finished.is_object())
      << "the story did not reach its end; scripts seen: " << nlohmann::json(visited).dump();
  if (!visited.empty() && visited.front() == "main") visited.erase(visited.begin());
  EXPECT_EQ(visited,
            (std::vector<std::string>{"STITLE", "day1", "choices", "day2", "tour", "effects",
                                      "STITLE"}));
  // The route: the first answer of the window choice (the meter's level up by two), the time-out
  // of the click map, the first answer of the full-screen choice; the recorder kept the two
  // answers.
  EXPECT_EQ(finished["V"][801], 7);
  EXPECT_EQ(finished["recorder"]["mode"], 1);
  EXPECT_EQ(finished["recorder"]["choices"], nlohmann::json({1, 1}));
  EXPECT_EQ(finished["call_depth"], 0);
  std::vector<std::string> log = finished["text_log"];
  EXPECT_NE(std::find(log.begin(), log.end(), "「おしまい。遊んでくれて、ありがとう！」"),
            log.end())
      << finished["text_log"].dump();
  EXPECT_EQ(finished["name_slots"][2], "クイル");
  EXPECT_EQ(finished["name_slots"][0], "春野");  // the default names, kept with ＯＫ
  EXPECT_EQ(finished["S"][6], 0);
  EXPECT_EQ(finished["config"]["TITLE"], "Quill デモ");
  nlohmann::json speakers = finished["speakers"];
  ASSERT_EQ(speakers.size(), 4u) << speakers.dump();
  EXPECT_EQ(speakers[0]["name"], "葵");
  EXPECT_EQ(speakers[0]["colour"], 0x80 | 0xC0 << 8 | 0xFF << 16);
}

TEST(DemoGame, ConfigurationReadsWithoutSlipsAndKeepsTheWindowOnTheScreen) {
  LoadedGameConfig loaded = DemoConfig();
  EXPECT_TRUE(loaded.problems.empty()) << loaded.problems.front();
  const GameConfig& c = loaded.config;
  EXPECT_EQ(SjisToUtf8Lossy(c.FONT_NAME), "ＭＳ ゴシック");
  EXPECT_FALSE(c.MAKER_REG.empty());
  EXPECT_FALSE(c.GAME_ID.empty());
  ASSERT_GT(c.TXW_SIZE_X, 0);
  ASSERT_GT(c.TXW_SIZE_Y, 0);
  EXPECT_EQ(c.TXW_SIZE_X * 3 % 8, 0);
  // Rectangles that must lie inside the window (screen coordinates) and the window on the screen.
  struct Box {
    const char* what;
    int x, y, w, h;
  };
  const int wx = c.TXW_OFS_X, wy = c.TXW_OFS_Y;
  const Box inside_window[] = {
      {"name plate", c.NP_OFS_X, c.NP_OFS_Y, c.NP_SZ_X, c.NP_SZ_Y},
      {"click-wait icon", c.CLICK_WAIT_OFS_X, c.CLICK_WAIT_OFS_Y, c.CLICK_WAIT_SIZE_X,
       c.CLICK_WAIT_SIZE_Y},
      {"quick-button strip", wx + 20, wy + 156, 768, 16},
      {"hide button", wx + 752, wy + 24, 32, 12},
      {"auto-speed gauge", wx + 86, wy + 161, 160, 12},
      // The first row of text (row 0 is the name) and the last row's glyph cells.
      {"text rows", wx + c.TX_OFS_X, wy + c.TX_OFS_Y + c.TX_PITCH_Y, c.MOJI_MAX_X * c.TX_PITCH_X,
       (c.MOJI_MAX_Y - 2) * c.TX_PITCH_Y + 36},
  };
  EXPECT_TRUE(wx >= 0 && wy >= 0 && wx + c.TXW_SIZE_X <= 800 && wy + c.TXW_SIZE_Y <= 600);
  for (const Box& b : inside_window) {
    EXPECT_TRUE(b.w > 0 && b.h > 0 && b.x >= wx && b.y >= wy && b.x + b.w <= wx + c.TXW_SIZE_X &&
                b.y + b.h <= wy + c.TXW_SIZE_Y)
        << b.what << " at " << b.x << "," << b.y << " size " << b.w << "x" << b.h;
  }
  // The text stays clear of the quick-button strip, and the full-screen page of the screen.
  EXPECT_LE(wy + c.TX_OFS_Y + (c.MOJI_MAX_Y - 1) * c.TX_PITCH_Y + 36, wy + 156);
  EXPECT_LE(c.TX2_OFS_X + (c.MOJI_MAX2_X + 2) * c.TX2_PITCH_X, 800);
  EXPECT_LE(c.TX2_OFS_Y + c.MOJI_MAX2_Y * c.TX2_PITCH_Y, 600);
}

TEST(DemoGame, SystemPicturesHaveTheSizesTheLayoutNeeds) {
  const GameConfig c = DemoConfig().config;
  PictureLoader pictures = DemoPictures();
  struct Expected {
    const char* name;
    int width, height;
  };
  const Expected cases[] = {
      {"sys_tw", c.TXW_SIZE_X, 2 * c.TXW_SIZE_Y},
      {"sys_tw1", c.TXW_SIZE_X, c.TXW_SIZE_Y},
      {"sys_clickw", c.CLICK_WAIT_PAT * c.CLICK_WAIT_SIZE_X, 2 * c.CLICK_WAIT_SIZE_Y},
      {"sys_qbtn", 768, 4 * 16},
      {"sys_qbtn2", 32, 36},
      {"sys_autobar", 160, 24},
  };
  for (const Expected& e : cases) {
    Picture p;
    ASSERT_TRUE(pictures.LoadPicture(e.name, p)) << e.name;
    EXPECT_TRUE(pictures.last_error().empty()) << e.name << ": " << pictures.last_error();
    EXPECT_EQ(p.width(), e.width) << e.name;
    EXPECT_EQ(p.height(), e.height) << e.name;
  }
  for (const char* plate : {"sys_sw", "sys_sw2"}) {
    Picture p;
    ASSERT_TRUE(pictures.LoadPicture(plate, p)) << plate;
    EXPECT_EQ(p.height() % 2, 0) << plate;
    EXPECT_LE(p.width(), 800) << plate;
  }
}

TEST(DemoGame, SystemPictureMasksCoverWhatTheyDraw) {
  const GameConfig c = DemoConfig().config;
  PictureLoader pictures = DemoPictures();
  Picture skin, tint, clickw, qbtn, qbtn2, autobar;
  ASSERT_TRUE(pictures.LoadPicture("sys_tw", skin));
  ASSERT_TRUE(pictures.LoadPicture("sys_tw1", tint));
  ASSERT_TRUE(pictures.LoadPicture("sys_clickw", clickw));
  ASSERT_TRUE(pictures.LoadPicture("sys_qbtn", qbtn));
  ASSERT_TRUE(pictures.LoadPicture("sys_qbtn2", qbtn2));
  ASSERT_TRUE(pictures.LoadPicture("sys_autobar", autobar));
  ASSERT_EQ(skin.height(), 2 * c.TXW_SIZE_Y);

  // The window: rounded (a clear corner), translucent inside, tinted only where it is skin.
  Picture skin_mask = Rows(skin, c.TXW_SIZE_Y, c.TXW_SIZE_Y);
  EXPECT_TRUE(IsGrey(skin_mask));
  EXPECT_TRUE(IsGrey(tint));
  EXPECT_EQ(Grey(skin_mask, 0, c.TXW_SIZE_Y - 1), 0);
  int middle = Grey(skin_mask, c.TXW_SIZE_X / 2, c.TXW_SIZE_Y * 2 / 3);
  EXPECT_GT(middle, 96);
  EXPECT_LT(middle, 255);
  EXPECT_EQ(Grey(tint, c.TXW_SIZE_X / 2, c.TXW_SIZE_Y * 2 / 3), 255);
  for (int y = 0; y < tint.height(); ++y) {
    for (int x = 0; x < tint.width(); ++x) {
      if (Grey(tint, x, y) > 0) {
        ASSERT_GT(Grey(skin_mask, x, y), 0) << x << "," << y;
      }
    }
  }
  // The name plate is part of the skin.
  int plate_x = c.NP_OFS_X - c.TXW_OFS_X, plate_y = c.NP_OFS_Y - c.TXW_OFS_Y;
  EXPECT_GT(Grey(skin_mask, plate_x + c.NP_SZ_X / 2, plate_y + c.NP_SZ_Y / 2), 128);

  // Click-wait frames: each has a visible icon, and the animation moves.
  const int fw = c.CLICK_WAIT_SIZE_X, fh = c.CLICK_WAIT_SIZE_Y;
  std::set<std::vector<uint8_t>> frames;
  for (int f = 0; f < c.CLICK_WAIT_PAT; ++f) {
    Picture frame(fw, fh), mask(fw, fh);
    CopyRect(frame, 0, 0, clickw, f * fw, 0, fw, fh);
    CopyRect(mask, 0, 0, clickw, f * fw, fh, fw, fh);
    EXPECT_GT(*std::max_element(mask.bytes().begin(), mask.bytes().end()), 200) << "frame " << f;
    frames.insert(mask.bytes());
  }
  EXPECT_GT(frames.size(), 2u);

  // Quick buttons at their strip columns: opaque in the mask band, clear between the buttons.
  Picture qmask = Rows(qbtn, 48, 16);
  EXPECT_TRUE(IsGrey(qmask));
  for (int x : {0, 410, 470, 530, 590, 650, 710}) EXPECT_GT(Grey(qmask, x + 28, 8), 200) << x;
  for (int x : {300, 350}) EXPECT_EQ(Grey(qmask, x, 8), 0) << x;
  for (int band = 0; band < 2; ++band)  // hover differs from normal
    EXPECT_NE(Rows(qbtn, band * 16, 16), Rows(qbtn, (band + 1) * 16, 16));
  EXPECT_GT(Grey(qbtn2, 16, 24 + 6), 200);
  EXPECT_NE(Rows(qbtn2, 0, 12), Rows(qbtn2, 12, 12));
  // Ten gauge segments, each with some opaque mask.
  for (int k = 0; k < 10; ++k) EXPECT_GT(Grey(autobar, k * 16 + 8, 12 + 6), 200) << k;
}

// The picture names of the script lines that show pictures.
struct NamedPictures {
  std::set<std::string> backgrounds, standing, others;
};

NamedPictures PicturesNamedBy(const std::map<std::string, std::string>& scripts) {
  NamedPictures named;
  auto name_of = [](const std::string& arg) { return arg.substr(0, arg.find_first_of(" ,]")); };
  for (const auto& [script, text] : scripts) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.size() < 2 || (line[0] != '*' && line[0] != '@')) continue;
      std::string body = line.substr(1);
      auto starts = [&](const char* k) { return body.rfind(k, 0) == 0; };
      if (starts("gra ") || starts("grb ") || starts("bg ")) {
        std::string name = name_of(body.substr(body.find(' ') + 1));
        if (name.empty() || name[0] == 'S' || name[0] == 's') continue;  // colours
        (name[0] == 'B' || name[0] == 'b' ? named.standing : named.backgrounds).insert(name);
      } else if (starts("spr ")) {
        std::string list = body.substr(4);
        for (int k = 0; k < 5; ++k) {
          std::string field = CommaField(list, k);
          if (!field.empty() && field != "-" && !isdigit(static_cast<unsigned char>(field[0])) &&
              field[0] != '#')
            named.standing.insert(field);
        }
      } else if (starts("ovr ") || starts("wipeset ")) {
        std::string name = name_of(body.substr(body.find(' ') + 1));
        if (name != "OFF") named.others.insert(name);
      }
    }
  }
  return named;
}

TEST(DemoGame, EveryPictureTheScriptsShowIsInTheArchives) {
  std::map<std::string, std::string> scripts = DemoScripts();
  for (const char* name : {"MAIN", "STITLE", "_CONFIG"}) EXPECT_TRUE(scripts.count(name)) << name;
  NamedPictures named = PicturesNamedBy(scripts);
  EXPECT_GE(named.backgrounds.size(), 4u);
  EXPECT_GE(named.standing.size(), 4u);
  PictureLoader pictures = DemoPictures();
  for (const std::string& name : named.backgrounds) {
    Picture p;
    ASSERT_TRUE(pictures.LoadPicture(name, p)) << name;
    EXPECT_TRUE(pictures.last_error().empty()) << name << ": " << pictures.last_error();
    EXPECT_EQ(p.width(), 800) << name;
    EXPECT_EQ(p.height(), 600) << name;
  }
  for (const std::string& name : named.others) EXPECT_TRUE(pictures.PictureExists(name)) << name;
  // Standing pictures keep their masks in pictures of their own (M for the first letter): the same
  // size, clear at the corners and opaque at the figure's middle.
  for (const std::string& name : named.standing) {
    std::string mask_name = "M" + name.substr(1);
    Picture image, mask;
    ASSERT_TRUE(pictures.LoadPicture(name, image)) << name;
    ASSERT_TRUE(pictures.LoadPicture(mask_name, mask)) << mask_name;
    EXPECT_EQ(image.width(), mask.width()) << name;
    EXPECT_EQ(image.height(), mask.height()) << name;
    EXPECT_TRUE(IsGrey(mask)) << mask_name;
    EXPECT_EQ(Grey(mask, 0, 0), 0) << mask_name;
    EXPECT_EQ(Grey(mask, mask.width() - 1, 0), 0) << mask_name;
    EXPECT_EQ(Grey(mask, mask.width() / 2, mask.height() / 2), 255) << mask_name;
  }
}

TEST(DemoGame, JpegBackgroundsComeFromTheirOwnArchive) {
  ArchiveReadResult r = ReadArchiveIndex(DemoFolder() / "mg_gjp.qlm", ArchiveLayout::DeclaredWidth);
  ASSERT_TRUE(r.index) << r.error;
  ASSERT_FALSE(r.index->empty());
  auto data = ReadArchiveMember(DemoFolder() / "mg_gjp.qlm", *r.index, 0);
  ASSERT_TRUE(data);
  ASSERT_GE(data->size(), 2u);
  EXPECT_EQ((*data)[0], 0xFF);  // a JPEG file's start-of-image marker
  EXPECT_EQ((*data)[1], 0xD8);
}

}  // namespace
}  // namespace quill
