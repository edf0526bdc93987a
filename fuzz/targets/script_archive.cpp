// A script archive as the engine reads it at start-up and for every script: the fixed-width index,
// each member read and unmasked into a script buffer, and its lines fetched to the end.
#include <array>
#include <cstring>

#include "engine/script_loader.h"
#include "engine/script_mask.h"
#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path game = fuzz::ScratchFolder() / "game";
  static ScriptBuffer buffer;
  fuzz::WriteBytes(game / "mg_data.qlm", fuzz::Bytes(data, size));
  ScriptArchives archives;
  std::string error;
  if (!archives.LoadArchiveIndexes(game, &error)) return 0;
  const ArchiveIndex& index = archives.main_index();
  for (size_t i = 0; i < index.count() && i < 16; ++i) {
    auto found = archives.Lookup(index.names[i]);
    FUZZ_CHECK(found.has_value());
    if (!archives.ReadInto(*found, buffer)) continue;
    // The buffer holds the member unmasked: masking it again gives the stored bytes.
    std::vector<uint8_t> stored(buffer.bytes.begin(), buffer.bytes.begin() + buffer.size);
    MaskScript(stored);
    uint32_t offset = index.offsets[found->member];
    FUZZ_CHECK(buffer.size == found->size && offset + stored.size() <= size);
    FUZZ_CHECK(stored.empty() || std::memcmp(stored.data(), data + offset, stored.size()) == 0);
    std::array<char, kLineBufferBytes> line;
    uint32_t before = buffer.read_position;
    while (!buffer.AtEnd()) {
      buffer.FetchLine(line);
      FUZZ_CHECK(buffer.read_position > before && std::strlen(line.data()) < kLineBufferBytes);
      before = buffer.read_position;
    }
  }
  return 0;
}
