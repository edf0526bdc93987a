#pragma once
// The two script archives ("mg_data.qlm" and the optional patch "mg_data2.qlm") and the two
// script buffers the scripts are loaded into.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/archive_index.h"

namespace quill {

constexpr uint32_t kScriptBufferBytes = 262144;
constexpr size_t kLineBufferBytes = 2048;  // 2047 bytes of line and the NUL

inline constexpr std::string_view kMainArchiveName = "mg_data.qlm";
inline constexpr std::string_view kPatchArchiveName = "mg_data2.qlm";

enum class ScriptTarget { Main, Aux };

// A script buffer: allocated once, overwritten by every load into it.
struct ScriptBuffer {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(kScriptBufferBytes, 0);
  uint32_t size = 0;           // the member size of the script last loaded
  uint32_t read_position = 0;  // offset of the next line

  std::span<const uint8_t> script() const { return {bytes.data(), size}; }
  bool AtEnd() const { return read_position >= size; }
  // Copies the line at the read position into line (NUL-terminated) and moves past its NUL.
  // A line longer than 2047 bytes is cut there and the rest up to its NUL skipped; a last line
  // without its NUL ends at the end of the script.
  void FetchLine(std::span<char, kLineBufferBytes> line);
};

// The script archive indexes, read once at start-up.
class ScriptArchives {
 public:
  // Main archive required, patch optional; names resolved in the folder ignoring case. False
  // when the main archive is missing or its index is damaged (*error says which).
  bool LoadArchiveIndexes(const std::filesystem::path& game_folder, std::string* error);

  struct Found {
    bool patch = false;
    size_t member = 0;
    uint32_t size = 0;
  };
  // The patch archive first, then the main one; case-insensitive.
  std::optional<Found> Lookup(std::string_view name) const;
  // Reads and unmasks the member into the buffer and resets its read position. A member larger
  // than a script buffer, or one that cannot be read now, is refused (false) and leaves the
  // buffer as it was.
  bool ReadInto(const Found& found, ScriptBuffer& buffer) const;

  const ArchiveIndex& main_index() const { return main_; }
  const ArchiveIndex& patch_index() const { return patch_; }

 private:
  std::filesystem::path main_path_, patch_path_;
  ArchiveIndex main_, patch_;
};

}  // namespace quill
