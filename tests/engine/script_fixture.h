#pragma once
// A fixture game run on the real engine with the headless platform: scripts from UTF-8 text, the
// engine started as the application starts it, then stepped frame by frame or step by step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "common/sjis.h"
#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "tests/support/fixture_game.h"
#include "tests/support/temp_dir.h"

namespace quill::test {

class ScriptFixture {
 public:
  // The settings store lives in the fixture's own folder, so tests never share one.
  ScriptFixture() : game_(dir_ / "game") {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  }

  FixtureGame& game() { return game_; }
  // Scenario events (the headless scenario format) the platform delivers once the game starts;
  // paths in them are relative to the fixture's folder.
  void Scenario(const std::string& text) {
    quill::Scenario parsed = ParseScenario(text, dir_.path());
    ASSERT_TRUE(parsed.ok()) << parsed.errors[0];
    events_ = std::move(parsed.events);
  }

  // Writes the game, runs FormCreate and the first frame (which loads "main").
  Engine& Start(EngineOptions options = {}) {
    game_.Write();
    platform_ = std::make_unique<HeadlessPlatform>(game_.folder(), events_);
    engine_ = std::make_unique<Engine>(*platform_, options);
    EXPECT_TRUE(engine_->FormCreate());
    engine_->AppIdle();
    return *engine_;
  }
  // A game whose "main" is the given text.
  Engine& StartMain(const std::string& utf8, EngineOptions options = {}) {
    game_.Script("main", utf8);
    return Start(options);
  }

  Engine& engine() { return *engine_; }
  HeadlessPlatform& platform() { return *platform_; }

  // One frame as the application runs it: pending events and the timer, then AppIdle.
  void Frame() {
    platform_->PumpMessages();
    engine_->AppIdle();
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  // Steps the script until it holds (a wait of any kind) or `limit` steps have run.
  void StepUntilHeld(int limit = 100) {
    for (int i = 0; i < limit; ++i) {
      Engine& e = *engine_;
      if (e.wait_kind != 0 || e.wait_ticks != 0 || e.sleep_frames != 0 || e.finished()) return;
      e.StepScript();
    }
  }

  // Steps to the end of the script, releasing every wait as a click would (without a new page).
  void StepToEnd(int limit = 1000) {
    Engine& e = *engine_;
    for (int i = 0; i < limit && !e.finished(); ++i) {
      e.wait_kind = 0;
      e.wait_ticks = 0;
      e.sleep_frames = 0;
      e.StepScript();
    }
  }

  // Text log lines (completed, then the current one if not empty) as UTF-8.
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    TextLog& log = engine_->text_log();
    for (int i = 0; i < log.line_count(); ++i) lines.push_back(SjisToUtf8Lossy(log.Line(i)));
    if (!log.CurrentLine().empty()) lines.push_back(SjisToUtf8Lossy(log.CurrentLine()));
    return lines;
  }
  // A page-grid row as UTF-8 with its trailing NULs dropped and inner NULs as spaces.
  std::string GridRow(int r) {
    std::string row(engine_->page_grid().Row(r));
    while (!row.empty() && row.back() == 0) row.pop_back();
    for (char& c : row) {
      if (c == 0) c = ' ';
    }
    return SjisToUtf8Lossy(row);
  }
  std::string NameSlot(int n) { return SjisToUtf8Lossy(engine_->banks().NameSlot(n)); }
  void SetNameSlot(int n, const std::string& utf8) {
    engine_->banks().SetNameSlot(n, Utf8ToSjisLossy(utf8));
  }

 private:
  TempDir dir_;
  FixtureGame game_;
  std::vector<ScenarioEvent> events_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<Engine> engine_;
};

}  // namespace quill::test
