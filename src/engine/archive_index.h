#pragma once
// Archive files: an index of named members followed by their data. Script archives use the
// fixed-width index (64-byte entries); resource archives declare their name width.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

enum class ArchiveLayout {
  FixedWidth,     // u32 N; N × (56-byte name, u32 offset, u32 size)
  DeclaredWidth,  // u32 N, u32 W; N × (W-byte name, u32 offset, u32 size)
};

constexpr size_t kFixedEntrySize = 64;
constexpr size_t kFixedNameWidth = 56;

// An archive's members in file order: names upper-cased, absolute offsets and sizes.
struct ArchiveIndex {
  std::vector<std::string> names;
  std::vector<uint32_t> offsets;
  std::vector<uint32_t> sizes;

  size_t count() const { return names.size(); }
  bool empty() const { return names.empty(); }
  // Case-insensitive; the first equal name wins. -1 when absent.
  int Find(std::string_view name) const;
};

struct ArchiveReadResult {
  std::optional<ArchiveIndex> index;  // nullopt: the index was refused (error says why)
  ArchiveLayout layout = ArchiveLayout::FixedWidth;
  std::string error;
  std::vector<std::string> skipped;  // one line per entry left out because it was damaged
};

// Reads the index of an archive file in the given layout. A count or name width whose entries run
// past the end of the file refuses the whole index; an entry whose data passes the end of the file
// or ends past 4 GiB (offset + size beyond 32 bits) is skipped.
ArchiveReadResult ReadArchiveIndex(const std::filesystem::path& path, ArchiveLayout layout);
// The same on bytes already in memory (the whole file).
ArchiveReadResult ParseArchiveIndex(std::span<const uint8_t> file, ArchiveLayout layout);
// Tells the layout from the file itself: the one whose index reads without damage.
ArchiveReadResult ReadArchiveIndexDetect(const std::filesystem::path& path);

// The data of member i, read anew from the file.
std::optional<std::vector<uint8_t>> ReadArchiveMember(const std::filesystem::path& path,
                                                      const ArchiveIndex& index, size_t i);

struct ArchiveMember {
  std::string name;
  std::vector<uint8_t> data;
};

// Builds a whole archive file. Names longer than the name width allows (55 bytes for the fixed
// layout, name_width − 1 for the declared one) are an error, as are totals past 4 GiB.
std::optional<std::vector<uint8_t>> BuildArchive(ArchiveLayout layout,
                                                 const std::vector<ArchiveMember>& members,
                                                 uint32_t name_width, std::string* error);

}  // namespace quill
