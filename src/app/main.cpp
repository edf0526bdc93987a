// quill: plays the game in a folder, in a window or headless.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/scenario.h"
#include "platform/instance_lock.h"
#include "platform/sdl/sdl_platform.h"
#include "ui/name_entry_view.h"
#include "ui/settings_view.h"

namespace fs = std::filesystem;
using namespace quill;

namespace {

constexpr const char* kUsage =
    "usage: quill [--game DIR] [--headless [--scenario FILE] [--audio-out FILE.wav]] [--trace]\n"
    "\n"
    "  --game DIR       the game folder (default: the folder of this program)\n"
    "  --headless       run without a window, on a virtual clock\n"
    "  --scenario FILE  headless input, screenshots and state dumps (one event per line)\n"
    "  --audio-out FILE.wav  headless: the whole run's sound, 44,100 Hz 16-bit stereo\n"
    "  --trace          print script errors and assignments to stderr\n"
    "  --help           this text\n"
    "  --version        the version\n";

struct Options {
  fs::path game;
  bool headless = false;
  fs::path scenario;
  fs::path audio_out;
  bool trace = false;
};

fs::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = fs::absolute(argv0, ec);
  return self.parent_path();
}

// Runs frames until the window closes or the platform says stop.
void RunLoop(Engine& engine, Platform& platform, bool stop_when_finished) {
  while (!engine.closed() && !platform.ShouldStop()) {
    platform.PumpMessages();
    if (engine.closed()) break;
    engine.AppIdle();
    if (stop_when_finished && engine.finished()) break;
  }
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  options.game = ExecutableFolder(argv[0]);
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&](const char* what) -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "quill: %s needs %s\n", a.c_str(), what);
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--version") {
      std::printf("quill %s\n", QUILL_VERSION);
      return 0;
    } else if (a == "--game") {
      options.game = value("a folder");
    } else if (a == "--headless") {
      options.headless = true;
    } else if (a == "--scenario") {
      options.scenario = value("a file");
    } else if (a == "--audio-out") {
      options.audio_out = value("a file");
    } else if (a == "--trace") {
      options.trace = true;
    } else {
      std::fprintf(stderr, "quill: unknown option '%s'\n%s", a.c_str(), kUsage);
      return 2;
    }
  }
  if ((!options.scenario.empty() || !options.audio_out.empty()) && !options.headless) {
    std::fprintf(stderr, "quill: --scenario and --audio-out go with --headless\n");
    return 2;
  }
  std::error_code ec;
  if (!fs::is_directory(options.game, ec)) {
    std::fprintf(stderr, "quill: %s is not a folder\n", options.game.c_str());
    return 2;
  }

  EngineOptions engine_options;
  engine_options.trace = options.trace;

  if (options.headless) {
    Scenario scenario;
    if (!options.scenario.empty()) {
      scenario = LoadScenario(options.scenario);
      if (!scenario.ok()) {
        for (const std::string& e : scenario.errors) std::fprintf(stderr, "quill: %s\n", e.c_str());
        return 2;
      }
    }
    bool has_scenario = !scenario.events.empty();
    HeadlessPlatform platform(options.game, std::move(scenario.events));
    std::string audio_error;
    if (!options.audio_out.empty() && !platform.SetAudioOut(options.audio_out, &audio_error)) {
      std::fprintf(stderr, "quill: %s\n", audio_error.c_str());
      return 2;
    }
    Engine engine(platform, engine_options);
    if (!engine.FormCreate()) return 1;
    RunLoop(engine, platform, !has_scenario);
    return platform.errors().empty() ? 0 : 3;
  }

  // One game window at a time: a second instance ends at once, showing nothing. Headless runs
  // take no lock, so tests and automation may run side by side.
  InstanceLock lock(InstanceLockPath());
  if (!lock.held()) return 1;
  std::string error;
  std::unique_ptr<Platform> platform = CreateSdlPlatform(options.game, &error);
  if (!platform) {
    std::fprintf(stderr, "quill: cannot open the window: %s\n", error.c_str());
    return 1;
  }
  InstallSettingsView();
  Engine engine(*platform, engine_options);
  ImGuiNameEntryView name_entry_view;
  engine.name_entry().set_view(&name_entry_view);
  if (!engine.FormCreate()) return 1;
  RunLoop(engine, *platform, false);
  return 0;
}
