// Inputs the script-lines fuzz target found, replayed as it runs them: the fixture file is the
// stored "main" script of a game, run headless for a bounded number of frames with clicks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "common/file_util.h"
#include "engine/archive_index.h"
#include "engine/engine.h"
#include "engine/script_mask.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

namespace quill::test {
namespace {

namespace fs = std::filesystem;

class ScriptLinesReplay {
 public:
  explicit ScriptLinesReplay(const std::string& fixture) {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    fs::path game = dir_ / "game";
    FixtureGame(game).Write();
    auto main = ReadFile(test::SourceDir() / "tests/fixtures/fuzz" / fixture);
    EXPECT_TRUE(main) << fixture;
    if (!main) return;
    MaskScript(*main);
    std::string error;
    auto archive = BuildArchive(ArchiveLayout::FixedWidth, {{"main", *main}}, 0, &error);
    EXPECT_TRUE(archive && WriteFileAtomic(game / "mg_data.qlm", *archive, &error)) << error;
    std::vector<ScenarioEvent> clicks;
    for (uint32_t t = 200; t < 4000; t += 200) {
      ScenarioEvent click;
      click.time_ms = t;
      click.kind = ScenarioKind::Click;
      click.x = 400;
      click.y = 300;
      clicks.push_back(click);
    }
    platform_ = std::make_unique<HeadlessPlatform>(game, clicks, 0);
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    EXPECT_TRUE(engine_->FormCreate());
  }

  // Frames as the application runs them, until the run ends or `frames` have passed.
  Engine& Run(int frames = 200) {
    for (int i = 0; i < frames && !engine_->closed() && !platform_->ShouldStop(); ++i) {
      platform_->PumpMessages();
      if (engine_->closed()) break;
      engine_->AppIdle();
      if (engine_->finished()) break;
    }
    return *engine_;
  }

 private:
  TempDir dir_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

// "*string 2 " with nothing after it copied the slot's text from a null pointer.
TEST(ScriptLinesFindings, AStringCommandWithoutTextEmptiesTheSlot) {
  ScriptLinesReplay replay("script_lines-string-without-text.bin");
  Engine& e = replay.Run();
  EXPECT_EQ(e.banks().NameSlot(2), "");
  EXPECT_TRUE(e.finished());  // the script ran on to its end
}

}  // namespace
}  // namespace quill::test
