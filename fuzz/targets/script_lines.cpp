// Script lines through the interpreter: a fixture game whose "main" is the input (stored bytes,
// unmasked), started as the application starts it and run headless for a bounded number of
// frames while the player clicks now and then.
#include <memory>

#include "common/file_util.h"
#include "engine/engine.h"
#include "fuzz/support/fuzz_support.h"
#include "platform/headless/headless_platform.h"

using namespace quill;

namespace {

constexpr int kFrames = 200;  // four seconds of virtual time

constexpr const char* kConfig =
    "TITLE:fuzz\nMAKER_REG:Quill\nGAME_ID:FUZZ\nDEFAULT_NAME:春野\n"
    "TXW_OFS_X:0\nTXW_OFS_Y:420\nTXW_SIZE_X:800\nTXW_SIZE_Y:180\nTXW_ALPHA:200\n"
    "FONT_SIZE:24\nTX_OFS_X:36\nTX_OFS_Y:22\nTX_PITCH_X:13\nTX_PITCH_Y:32\n"
    "MOJI_MAX_X:54\nMOJI_MAX_Y:4\nTX2_OFS_X:60\nTX2_OFS_Y:48\nTX2_PITCH_X:13\nTX2_PITCH_Y:34\n"
    "MOJI_MAX2_X:52\nMOJI_MAX2_Y:14\nNP_OFS_X:24\nNP_OFS_Y:424\nNP_SZ_X:200\nNP_SZ_Y:36\n"
    "CLICK_WAIT_OFS_X:760\nCLICK_WAIT_OFS_Y:542\nCLICK_WAIT_SIZE_X:24\nCLICK_WAIT_SIZE_Y:24\n"
    "CLICK_WAIT_PAT:2\nCLICK_WAIT_TIMING:1\nNAME:1,葵,8CG\n";
constexpr const char* kSpriteSets = ":PAIR\nCH01\nCH02,10,5\n:END\n";
constexpr const char* kEffects = ":SHAKE\nW,20,4,0\nW,20,-4,0\n";

struct Fixture {
  std::filesystem::path game = fuzz::ScratchFolder() / "game";
  std::vector<std::pair<std::string, std::vector<uint8_t>>> scripts = {
      {"_config", fuzz::StoredScript(kConfig)},
      {"_sprset", fuzz::StoredScript(kSpriteSets)},
      {"effect", fuzz::StoredScript(kEffects)},
      {"main", {}},
  };
  std::vector<ScenarioEvent> clicks;

  Fixture() {
    setenv("XDG_CONFIG_HOME", (fuzz::ScratchFolder() / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (fuzz::ScratchFolder() / "data").c_str(), 1);
    fuzz::WriteBytes(game / "mg_gra.qlm",
                     fuzz::PictureArchive({{"BG01", fuzz::GradientPicture(40, 30, 1)},
                                           {"CH01", fuzz::GradientPicture(16, 32, 2)},
                                           {"MH01", fuzz::GradientPicture(16, 32, 3)},
                                           {"CH02", fuzz::GradientPicture(8, 8, 4)},
                                           {"MH02", fuzz::GradientPicture(8, 8, 5)}}));
    std::string scenario;
    for (int t = 200; t < kFrames * 20; t += 200) {
      scenario += std::to_string(t) + " click 400 300\n";
    }
    clicks = ParseScenario(scenario, game).events;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture fixture;
  // Each run starts from fresh settings, so that no input depends on the ones before it.
  std::error_code ec;
  std::filesystem::remove_all(fuzz::ScratchFolder() / "config", ec);
  fixture.scripts.back().second.assign(data, data + size);
  fuzz::WriteBytes(fixture.game / "mg_data.qlm", fuzz::ScriptArchive(fixture.scripts));
  HeadlessPlatform platform(fixture.game, fixture.clicks, 0);
  EngineOptions options;
  options.step_line_budget = 1000;  // a script that loops ends its frame soon
  Engine engine(platform, options);
  if (!engine.FormCreate()) return 0;
  for (int frame = 0; frame < kFrames && !engine.closed() && !platform.ShouldStop(); ++frame) {
    platform.PumpMessages();
    if (engine.closed()) break;
    engine.AppIdle();
    if (engine.finished()) break;
  }
  return 0;
}
