#include "engine/archive_index.h"

#include <fstream>

#include "common/byte_io.h"
#include "common/file_util.h"
#include "common/text_util.h"

namespace quill {
namespace fs = std::filesystem;
namespace {

// Largest name width a declared-width index may have; real archives use a few dozen bytes.
constexpr uint32_t kMaxNameWidth = 1024;

std::string Describe(size_t i, const std::string& name) {
  return "entry " + std::to_string(i) + " (" + name + ")";
}

bool PrintableName(const std::string& name) {
  if (name.empty()) return false;
  for (unsigned char c : name) {
    if (c < 0x20) return false;
  }
  return true;
}

}  // namespace

int ArchiveIndex::Find(std::string_view name) const {
  for (size_t i = 0; i < names.size(); ++i) {
    if (EqualsIgnoreCase(names[i], name)) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// head holds the file's first bytes, at least its whole index when the index fits in the file;
// file_size is the size of the whole file, against which entries are checked.
ArchiveReadResult ParseIndex(std::span<const uint8_t> head, uint64_t file_size,
                             ArchiveLayout layout) {
  ArchiveReadResult result;
  result.layout = layout;
  ByteReader in(head);
  uint64_t count = in.U32();
  uint64_t name_width = kFixedNameWidth;
  uint64_t table_start = 4;
  if (layout == ArchiveLayout::DeclaredWidth) {
    name_width = in.U32();
    table_start = 8;
  }
  if (!in.ok()) {
    result.error = "the file is too short for an archive header";
    return result;
  }
  if (layout == ArchiveLayout::DeclaredWidth && (name_width == 0 || name_width > kMaxNameWidth)) {
    result.error = "name width " + std::to_string(name_width) + " is not plausible";
    return result;
  }
  uint64_t entry_size = name_width + 8;
  // Checked before anything is allocated: a damaged count cannot make us reserve gigabytes.
  if (count * entry_size > file_size - table_start ||
      table_start + count * entry_size > head.size()) {
    result.error =
        "the index of " + std::to_string(count) + " entries runs past the end of the file";
    return result;
  }
  ArchiveIndex index;
  index.names.reserve(count);
  for (uint64_t i = 0; i < count; ++i) {
    in.Seek(table_start + i * entry_size);
    std::string name = ToUpperAscii(in.FixedString(name_width));
    uint32_t offset = in.U32();
    uint32_t size = in.U32();
    const uint64_t end = static_cast<uint64_t>(offset) + size;
    if (end > file_size) {
      result.skipped.push_back(Describe(i, name) + ": its data runs past the end of the file");
      continue;
    }
    // Members are addressed with 32 bits; data ending past that belongs to no real archive.
    if (end > UINT32_MAX) {
      result.skipped.push_back(Describe(i, name) + ": its data ends past 4 GiB");
      continue;
    }
    index.names.push_back(std::move(name));
    index.offsets.push_back(offset);
    index.sizes.push_back(size);
  }
  result.index = std::move(index);
  return result;
}

}  // namespace

ArchiveReadResult ParseArchiveIndex(std::span<const uint8_t> file, ArchiveLayout layout) {
  return ParseIndex(file, file.size(), layout);
}

ArchiveReadResult ReadArchiveIndex(const fs::path& path, ArchiveLayout layout) {
  // Only the index is read, so large archives are not loaded whole.
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    ArchiveReadResult result;
    result.layout = layout;
    result.error = "cannot open the file";
    return result;
  }
  in.seekg(0, std::ios::end);
  uint64_t file_size = static_cast<uint64_t>(in.tellg());
  in.seekg(0);
  std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(8, file_size)));
  in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
  ByteReader h(head);
  uint64_t count = h.U32();
  uint64_t entry = kFixedEntrySize, start = 4;
  if (layout == ArchiveLayout::DeclaredWidth) {
    entry = static_cast<uint64_t>(h.U32()) + 8;
    start = 8;
  }
  uint64_t table_end = start + count * entry;
  if (h.ok() && entry <= kMaxNameWidth + 8 && table_end <= file_size) {
    head.resize(static_cast<size_t>(table_end));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(table_end));
  }
  return ParseIndex(head, file_size, layout);
}

ArchiveReadResult ReadArchiveIndexDetect(const fs::path& path) {
  ArchiveReadResult declared = ReadArchiveIndex(path, ArchiveLayout::DeclaredWidth);
  bool declared_clean = declared.index && declared.skipped.empty();
  if (declared_clean) {
    for (const std::string& name : declared.index->names) {
      if (!PrintableName(name)) declared_clean = false;
    }
  }
  if (declared_clean) return declared;
  ArchiveReadResult fixed = ReadArchiveIndex(path, ArchiveLayout::FixedWidth);
  if (fixed.index || !declared.index) return fixed;
  return declared;
}

std::optional<std::vector<uint8_t>> ReadArchiveMember(const fs::path& path,
                                                      const ArchiveIndex& index, size_t i) {
  if (i >= index.count()) return std::nullopt;
  return ReadFileRange(path, index.offsets[i], index.sizes[i]);
}

std::optional<std::vector<uint8_t>> BuildArchive(ArchiveLayout layout,
                                                 const std::vector<ArchiveMember>& members,
                                                 uint32_t name_width, std::string* error) {
  auto fail = [&](const std::string& what) -> std::optional<std::vector<uint8_t>> {
    if (error) *error = what;
    return std::nullopt;
  };
  uint64_t width = layout == ArchiveLayout::FixedWidth ? kFixedNameWidth : name_width;
  if (width == 0 || width > kMaxNameWidth)
    return fail("name width must be 1.." + std::to_string(kMaxNameWidth));
  uint64_t header = layout == ArchiveLayout::FixedWidth ? 4 : 8;
  uint64_t data_start = header + members.size() * (width + 8);
  uint64_t total = data_start;
  for (const ArchiveMember& m : members) {
    if (m.name.empty()) return fail("a member has an empty name");
    if (m.name.size() > width - 1) {
      return fail("member name '" + m.name + "' is longer than " + std::to_string(width - 1) +
                  " bytes");
    }
    total += m.data.size();
  }
  if (total > 0xFFFFFFFFull) return fail("the archive would pass 4 GiB");
  ByteWriter out;
  out.U32(static_cast<uint32_t>(members.size()));
  if (layout == ArchiveLayout::DeclaredWidth) out.U32(static_cast<uint32_t>(width));
  uint64_t offset = data_start;
  for (const ArchiveMember& m : members) {
    out.FixedString(m.name, width);
    out.U32(static_cast<uint32_t>(offset));
    out.U32(static_cast<uint32_t>(m.data.size()));
    offset += m.data.size();
  }
  for (const ArchiveMember& m : members) out.Bytes(m.data);
  return out.Take();
}

}  // namespace quill
