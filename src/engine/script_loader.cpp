#include "engine/script_loader.h"

#include <algorithm>

#include "common/file_util.h"
#include "engine/script_mask.h"

namespace quill {

void ScriptBuffer::FetchLine(std::span<char, kLineBufferBytes> line) {
  uint32_t end = std::min<uint32_t>(size, kScriptBufferBytes);
  size_t n = 0;
  uint32_t p = read_position;
  while (p < end && bytes[p] != 0) {
    if (n < kLineBufferBytes - 1) line[n++] = static_cast<char>(bytes[p]);
    ++p;
  }
  line[n] = 0;
  read_position = p < end ? p + 1 : end;  // past the NUL
}

bool ScriptArchives::LoadArchiveIndexes(const std::filesystem::path& game_folder,
                                        std::string* error) {
  main_ = ArchiveIndex{};
  patch_ = ArchiveIndex{};
  main_path_ = ResolveIgnoringCase(game_folder, kMainArchiveName);
  ArchiveReadResult main = ReadArchiveIndex(main_path_, ArchiveLayout::FixedWidth);
  if (!main.index) {
    if (error) *error = main.error;
    return false;
  }
  main_ = std::move(*main.index);
  // The patch archive is optional: one that is missing or unreadable leaves its index empty.
  patch_path_ = ResolveIgnoringCase(game_folder, kPatchArchiveName);
  std::error_code ec;
  if (std::filesystem::exists(patch_path_, ec)) {
    ArchiveReadResult patch = ReadArchiveIndex(patch_path_, ArchiveLayout::FixedWidth);
    if (patch.index) patch_ = std::move(*patch.index);
  }
  return true;
}

std::optional<ScriptArchives::Found> ScriptArchives::Lookup(std::string_view name) const {
  int i = patch_.Find(name);
  if (i >= 0) return Found{true, static_cast<size_t>(i), patch_.sizes[i]};
  i = main_.Find(name);
  if (i >= 0) return Found{false, static_cast<size_t>(i), main_.sizes[i]};
  return std::nullopt;
}

bool ScriptArchives::ReadInto(const Found& found, ScriptBuffer& buffer) const {
  if (found.size > kScriptBufferBytes) return false;
  const ArchiveIndex& index = found.patch ? patch_ : main_;
  const std::filesystem::path& path = found.patch ? patch_path_ : main_path_;
  std::optional<std::vector<uint8_t>> data = ReadArchiveMember(path, index, found.member);
  if (!data || data->size() > kScriptBufferBytes) return false;
  std::copy(data->begin(), data->end(), buffer.bytes.begin());  // an empty member has no data()
  MaskScript(std::span<uint8_t>(buffer.bytes.data(), data->size()));
  buffer.size = static_cast<uint32_t>(data->size());
  buffer.read_position = 0;
  return true;
}

}  // namespace quill
