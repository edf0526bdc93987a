// The game configuration script `_config` (unmasked, as the script buffer holds it).
#include "graphics/game_config.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadedGameConfig loaded = LoadGameConfig(fuzz::Bytes(data, size));
  for (const Speaker& speaker : loaded.speakers) {
    FUZZ_CHECK(speaker.defined || speaker.name.empty());
  }
  // Every key's fields are reachable through the key table.
  for (const ConfigKey& key : GameConfigKeys()) {
    for (int i = 0; i < key.fields; ++i) {
      if (key.kind == ConfigKind::kInt) {
        FUZZ_CHECK(key.int_at(loaded.config, i) != nullptr);
      } else {
        FUZZ_CHECK(key.text_at(loaded.config, i) != nullptr);
      }
    }
  }
  return 0;
}
