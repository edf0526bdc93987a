#pragma once
// A started fixture game over the probing platform: scripts and pictures go in before Start, a
// scenario (clicks at virtual times) may drive it, and the frame loop can be run for a while.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "platform/headless/scenario.h"
#include "tests/graphics/probe_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_pictures.h"

namespace quill::test {

// A script as the archive stores its lines: each one ends in NUL.
inline std::vector<uint8_t> ScriptBytes(const std::vector<std::string>& lines) {
  std::vector<uint8_t> bytes;
  for (const std::string& line : lines) {
    bytes.insert(bytes.end(), line.begin(), line.end());
    bytes.push_back(0);
  }
  return bytes;
}

class GameRig {
 public:
  GameRig() : game_(dir_ / "game") {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
    game_.Script("_config", "TITLE:Effects\nMAKER_REG:QuillTests\nGAME_ID:Effects\n");
    game_.Script("main", "\\\n");
  }
  FixtureGame& game() { return game_; }
  // A picture in the first picture archive.
  GameRig& AddPicture(const std::string& name, const Picture& p) {
    game_.Resource("mg_gra.qlm", name, Packed(p));
    return *this;
  }
  Engine& Start(const std::string& scenario = "") {
    game_.Write();
    Scenario parsed = ParseScenario(scenario, dir_.path());
    EXPECT_TRUE(parsed.ok());
    platform_ = std::make_unique<ProbePlatform>(game_.folder(), parsed.events);
    engine_ = std::make_unique<Engine>(*platform_, EngineOptions{});
    EXPECT_TRUE(engine_->FormCreate());
    return *engine_;
  }
  // Frames of the frame loop until the virtual clock reaches `until` (the first starts the game).
  void RunUntil(uint32_t until) {
    while (platform_->NowMs() < until && !engine_->closed() && !platform_->ShouldStop()) {
      platform_->PumpMessages();
      engine_->AppIdle();
    }
  }
  ProbePlatform& platform() { return *platform_; }
  Engine& engine() { return *engine_; }

 private:
  TempDir dir_;
  FixtureGame game_;
  std::unique_ptr<ProbePlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace quill::test
