#include "graphics/picture_loader.h"

#include <algorithm>
#include <system_error>

#include "common/file_util.h"
#include "graphics/jpeg_picture.h"
#include "graphics/packed_picture.h"

namespace quill {

namespace {

constexpr PictureArchiveRole kSearchOrder[] = {
    PictureArchiveRole::kJpeg, PictureArchiveRole::kPictures3, PictureArchiveRole::kPictures2,
    PictureArchiveRole::kPictures1};

size_t Slot(PictureArchiveRole role) { return static_cast<size_t>(role); }

// A packed member is read by its header, not by the index: the header and then L bytes, or as
// many of them as the file still holds.
std::optional<std::vector<uint8_t>> ReadPackedMember(const std::filesystem::path& path,
                                                     uint64_t offset, std::string* error) {
  std::error_code ec;
  uint64_t file_size = std::filesystem::file_size(path, ec);
  if (ec) {
    *error = path.string() + ": " + ec.message();
    return std::nullopt;
  }
  if (offset > file_size) {
    *error = path.string() + ": member offset " + std::to_string(offset) + " is past the end";
    return std::nullopt;
  }
  uint64_t available = file_size - offset;
  auto header = ReadFileRange(path, offset, std::min<uint64_t>(kPackedHeaderSize, available));
  if (!header) {
    *error = path.string() + ": cannot read the member";
    return std::nullopt;
  }
  auto parsed = ReadPackedHeader(*header);
  // The decoder reports a short or impossible header; its data need not be read for that.
  if (!parsed || !PackedHeaderProblem(*parsed).empty()) return header;
  uint64_t want =
      std::min<uint64_t>(kPackedHeaderSize + uint64_t{parsed->compressed_size}, available);
  auto member = ReadFileRange(path, offset, want);
  if (!member) *error = path.string() + ": cannot read the member";
  return member;
}

}  // namespace

void PictureLoader::SetArchive(PictureArchiveRole role, std::filesystem::path path,
                               ArchiveIndex index) {
  Archive& a = archives_[Slot(role)];
  if (path.empty()) index = {};
  a.path = std::move(path);
  a.index = std::move(index);
}

bool PictureLoader::OpenArchive(PictureArchiveRole role, const std::filesystem::path& path,
                                std::string* error) {
  ArchiveReadResult r = ReadArchiveIndex(path, ArchiveLayout::DeclaredWidth);
  if (!r.index) {
    SetArchive(role, {}, {});
    if (error) *error = path.string() + ": " + r.error;
    return false;
  }
  SetArchive(role, path, std::move(*r.index));
  return true;
}

bool PictureLoader::HasArchive(PictureArchiveRole role) const {
  return !archives_[Slot(role)].index.empty();
}

bool PictureLoader::PictureExists(std::string_view name) const {
  return std::any_of(archives_.begin(), archives_.end(),
                     [&](const Archive& a) { return a.index.Find(name) >= 0; });
}

bool PictureLoader::LoadPicture(std::string_view name, Picture& target) {
  return Load(name, target).loaded;
}

PictureLoadResult PictureLoader::Load(std::string_view name, Picture& target) {
  PictureLoadResult result;
  for (PictureArchiveRole role : kSearchOrder) {
    const Archive& a = archives_[Slot(role)];
    int i = a.index.Find(name);
    if (i < 0) continue;
    result.found = true;
    const uint32_t offset = a.index.offsets[i];
    PictureDecodeResult decoded;
    if (role == PictureArchiveRole::kJpeg) {
      auto bytes = ReadFileRange(a.path, offset, a.index.sizes[i]);
      if (!bytes) {
        result.error = a.path.string() + ": cannot read member " + a.index.names[i];
        break;
      }
      decoded = DecodeJpegPicture(*bytes, target);
    } else {
      auto bytes = ReadPackedMember(a.path, offset, &result.error);
      if (!bytes) break;
      decoded = DecodePackedPicture(*bytes, target);
    }
    result.loaded = decoded.target_written;
    if (!decoded.ok)
      result.error = a.path.string() + ": " + a.index.names[i] + ": " + decoded.error;
    break;
  }
  last_error_ = result.error;
  return result;
}

}  // namespace quill
