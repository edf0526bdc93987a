// The demo's effects scene, played headless from its first line (a patch archive's "main" chains
// to it) with a click every 1.5 s and a shot and a state dump every 250 ms of virtual time. Each
// effect is found by its state keys (or its look), and its shots are compared with the demo's
// own pictures at chosen points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>

#include "common/png_io.h"
#include "graphics/picture_loader.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"
#include "tools/script_pack.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

constexpr int kEnd = 35000, kShotEvery = 250, kClickEvery = 1500;

struct Moment {
  int time;
  nlohmann::json state;
  Picture shot;
};

bool SameRows(const Picture& a, const Picture& b, int y0, int y1) {
  for (int y = y0; y < y1; ++y) {
    if (!std::equal(a.Row(y), a.Row(y) + a.stride(), b.Row(y))) return false;
  }
  return true;
}

bool SameRect(const Picture& shot, int x, int y, const Picture& piece) {
  for (int r = 0; r < piece.height(); ++r) {
    if (!std::equal(piece.Row(r), piece.Row(r) + piece.stride(), shot.Pixel(x, y + r))) {
      return false;
    }
  }
  return true;
}

bool BlackRow(const Picture& p, int y) {
  const uint8_t* row = p.Row(y);
  return std::all_of(row, row + p.stride(), [](uint8_t b) { return b == 0; });
}

class EffectsScene : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir;
    fs::path game = dir_->path() / "game";
    fs::create_directories(game);
    for (const char* archive : {"mg_data.qlm", "mg_gra.qlm", "mg_gjp.qlm"}) {
      fs::copy_file(test::BinaryDir() / "demo" / archive, game / archive);
    }
    std::string error;
    std::optional<ArchiveMember> main =
        MakeScriptMember("main", ":start\n*chain effects\n", &error);
    ASSERT_TRUE(main) << error;
    ASSERT_TRUE(WriteScriptArchive(game / "mg_data2.qlm", {*main}, &error)) << error;

    std::ostringstream scenario;
    for (int t = 0; t <= kEnd; t += kShotEvery) {
      scenario << t << " shot s/" << t << ".png\n" << t << " state s/" << t << ".json\n";
      if (t > 0 && t % kClickEvery == 0) scenario << t + 1 << " click 400 300\n";
    }
    scenario << kEnd + 1 << " quit\n";
    fs::create_directories(dir_->path() / "s");
    std::ofstream(dir_->path() / "run.txt") << scenario.str();
    test::ProgramResult r = test::RunProgram(
        "quill",
        {"--game", game.string(), "--headless", "--scenario", (dir_->path() / "run.txt").string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    moments_ = new std::vector<Moment>;
    for (int t = 0; t <= kEnd; t += kShotEvery) {
      Moment m{t, test::ReadJson(dir_->path() / ("s/" + std::to_string(t) + ".json")), {}};
      std::optional<Picture> shot = ReadPng(dir_->path() / ("s/" + std::to_string(t) + ".png"));
      ASSERT_TRUE(shot) << t;
      m.shot = std::move(*shot);
      moments_->push_back(std::move(m));
    }
    loader_ = new PictureLoader;
    ASSERT_TRUE(loader_->OpenArchive(PictureArchiveRole::kPictures1, game / "mg_gra.qlm"));
    ASSERT_TRUE(loader_->OpenArchive(PictureArchiveRole::kJpeg, game / "mg_gjp.qlm"));
  }
  static void TearDownTestSuite() {
    delete moments_;
    delete loader_;
    delete dir_;
  }

  static Picture Load(const std::string& name) {
    Picture p;
    EXPECT_TRUE(loader_->LoadPicture(name, p)) << name;
    return p;
  }
  static std::vector<const Moment*> Where(const std::function<bool(const Moment&)>& test) {
    std::vector<const Moment*> found;
    for (const Moment& m : *moments_) {
      if (test(m)) found.push_back(&m);
    }
    return found;
  }

  static test::TempDir* dir_;
  static std::vector<Moment>* moments_;
  static PictureLoader* loader_;
};

test::TempDir* EffectsScene::dir_ = nullptr;
std::vector<Moment>* EffectsScene::moments_ = nullptr;
PictureLoader* EffectsScene::loader_ = nullptr;

// The black rows a shot has at its top (> 0) or its bottom (< 0).
int Band(const Picture& shot) {
  int top = 0, bottom = 0;
  while (top < 600 && BlackRow(shot, top)) ++top;
  while (bottom < 600 && BlackRow(shot, 599 - bottom)) ++bottom;
  return top > 0 ? top : -bottom;
}

TEST_F(EffectsScene, TheShakeOffsetIsInTheDumpAndMovesTheShot) {
  auto shaken = Where([](const Moment& m) {
    return m.state["shake_offset"] != nlohmann::json{0, 0};
  });
  ASSERT_FALSE(shaken.empty());
  for (const Moment* m : shaken) {
    int dx = m->state["shake_offset"][0], dy = m->state["shake_offset"][1];
    EXPECT_EQ(dx, 0) << m->time;
    EXPECT_TRUE(dy != 0 && std::abs(dy) <= 20 && std::abs(dy) % 2 == 0) << m->time;
  }
  // A dump is written at the first pump after its time, a shot during the sleep across it: the
  // shots of the shakes show bands of black rows, even and at most 20, above or below.
  int banded = 0;
  for (const Moment& m : *moments_) {
    int band = Band(m.shot);
    if (band == 0 || std::abs(band) == 600) continue;
    EXPECT_TRUE(std::abs(band) <= 20 && band % 2 == 0) << m.time << ": " << band;
    ++banded;
  }
  EXPECT_GE(banded, 1);
}

TEST_F(EffectsScene, TheComicSymbolBlinksOverTheScene) {
  const nlohmann::json symbol = {{"mode", 2}, {"x", 450}, {"y", 70}};
  auto shown = Where([&](const Moment& m) { return m.state["comic_symbol"] == symbol; });
  ASSERT_GE(shown.size(), 3u);
  // The drop's middle blinks: two looks there, one of them the drop's blue.
  std::set<std::vector<uint8_t>> looks;
  for (const Moment* m : shown) {
    const uint8_t* p = m->shot.Pixel(450 + 24, 70 + 44);
    looks.insert({p[0], p[1], p[2]});
  }
  ASSERT_EQ(looks.size(), 2u);
  const std::vector<uint8_t>& on =
      *std::max_element(looks.begin(), looks.end(),
                        [](const auto& a, const auto& b) { return a[0] - a[2] < b[0] - b[2]; });
  EXPECT_GT(on[0], on[2] + 60);  // blue well over red
}

TEST_F(EffectsScene, SnowLoopsFrameByFrameAboveTheWindow) {
  auto running = Where([](const Moment& m) { return m.state["loop_animation"]["state"] == 1; });
  ASSERT_FALSE(running.empty());
  std::vector<Picture> frames;
  for (int i = 1; i <= 8; ++i) frames.push_back(Load("SNOW 0" + std::to_string(i)));
  std::set<int> seen;
  for (const Moment* m : running) {
    EXPECT_EQ(m->state["loop_animation"]["count"], 8);
    int which = -1;
    for (int i = 0; i < 8; ++i) {
      if (SameRect(m->shot, 0, 0, frames[static_cast<size_t>(i)])) which = i;
    }
    EXPECT_GE(which, 0) << m->time;
    seen.insert(which);
  }
  EXPECT_GE(seen.size(), 2u);
}

TEST_F(EffectsScene, RainRunsUnderTheTextAndEveryShownFrameCarriesIt) {
  auto running = Where([](const Moment& m) {
    return !m.state["background_animation"].is_null() && m.state["wait_kind"] == 1;
  });
  ASSERT_GE(running.size(), 2u);
  std::vector<Picture> frames;
  for (int i = 1; i <= 4; ++i) frames.push_back(Load("RAIN0" + std::to_string(i)));
  std::set<int> seen;
  for (const Moment* m : running) {
    EXPECT_EQ(m->state["background_animation"]["frames"], 4);
    int which = -1;
    for (int i = 0; i < 4; ++i) {
      if (SameRows(m->shot, frames[static_cast<size_t>(i)], 0, 400)) which = i;
    }
    EXPECT_GE(which, 0) << m->time;
    seen.insert(which);
    // The page's text is in the frame shown: its first character (row 1, indented to column 2,
    // x = 2 × 13 + 36) has white.
    bool white = false;
    for (int y = 420 + 22 + 32; y < 420 + 22 + 32 + 30 && !white; ++y) {
      for (int x = 62; x < 62 + 26; ++x) {
        const uint8_t* p = m->shot.Pixel(x, y);
        if (p[0] > 230 && p[1] > 230 && p[2] > 230) white = true;
      }
    }
    EXPECT_TRUE(white) << m->time;
  }
  EXPECT_GE(seen.size(), 2u);
}

TEST_F(EffectsScene, TheScrollShowsTheLandscapeOnePixelPerPeriod) {
  auto scrolling = Where([](const Moment& m) { return m.state["screen_mode"] == 7; });
  ASSERT_FALSE(scrolling.empty());
  Picture landscape = Load("PANO01");
  ASSERT_EQ(landscape.width(), 2400);
  for (const Moment* m : scrolling) {
    int found = -1;
    for (int x = 0; x <= 1600 && found < 0; ++x) {
      Picture view(800, 600);
      CopyRect(view, 0, 0, landscape, x, 0, 800, 600);
      if (SameRows(m->shot, view, 0, 600)) found = x;
    }
    EXPECT_GE(found, 0) << m->time;
  }
}

TEST_F(EffectsScene, TheNoteTheFlashAndTheCredits) {
  Picture note = Load("NOTE01");
  EXPECT_FALSE(Where([&](const Moment& m) { return SameRect(m.shot, 250, 150, note); }).empty());
  EXPECT_FALSE(Where([](const Moment& m) {
                 return std::all_of(m.shot.bytes().begin(), m.shot.bytes().end(),
                                    [](uint8_t b) { return b == 255; });
               }).empty());
  // The credits: the background beside a black panel with white lines.
  Picture room = Load("A02");
  Picture left(544, 600);
  CopyRect(left, 0, 0, room, 0, 0, 544, 600);
  auto credits = Where([&](const Moment& m) {
    if (!SameRect(m.shot, 0, 0, left)) return false;
    for (int y = 0; y < 600; ++y) {
      for (int x = 544; x < 800; ++x) {
        const uint8_t* p = m.shot.Pixel(x, y);
        if (p[0] == 255 && p[1] == 255 && p[2] == 255) return true;
      }
    }
    return false;
  });
  EXPECT_GE(credits.size(), 4u);
}

}  // namespace
}  // namespace quill
