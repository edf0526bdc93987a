// The player's settings file: read at start-up into every setting, then one change written
// through (which sets a damaged file aside).
#include "fuzz/support/fuzz_support.h"
#include "persist/settings.h"
#include "persist/settings_store.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path folder = fuzz::ScratchFolder() / "settings";
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
  std::filesystem::path file = folder / "GAME.ini";
  fuzz::WriteBytes(file, fuzz::Bytes(data, size));
  SettingsStore store(file, [](const std::string&) {});
  GameConfig config;
  Settings settings = ReadSettings(store, config, StartupFacts{});
  StartupSystemCells(settings, config);
  for (const StoredValue& v : store.Values()) {
    FUZZ_CHECK(store.Has(v.name));
  }
  FUZZ_CHECK(settings.Change(SettingId::PlayerName, std::string_view("\x8f\x74"), store));
  // What was written reads back.
  SettingsStore again(file, [](const std::string&) {});
  FUZZ_CHECK(again.ReadString("PlayerName", "") == "\x8f\x74");
  return 0;
}
