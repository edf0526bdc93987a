#pragma once
// Pictures by name: the JPEG archive first, then the picture archives from the third down to the
// first. There is no cache here; the callers keep what they need.
#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "common/picture.h"
#include "engine/archive_index.h"

namespace quill {

enum class PictureArchiveRole {
  kJpeg,       // "mg_gjp.qlm"
  kPictures1,  // "mg_gra.qlm"
  kPictures2,  // "mg_gra2.qlm"
  kPictures3,  // "mg_gra3.qlm"
};

struct PictureLoadResult {
  bool found = false;   // an archive holds the name
  bool loaded = false;  // the target was written (possibly in part: see error)
  std::string error;    // why the member was damaged or could not be read; empty when fine
};

class PictureLoader {
 public:
  // Installs an archive that has been opened and indexed; replaces the one of that role. An empty
  // path or index leaves the role without an archive.
  void SetArchive(PictureArchiveRole role, std::filesystem::path path, ArchiveIndex index);
  // Reads the declared-width index of path and installs it. On failure the role is left empty and
  // *error says why.
  bool OpenArchive(PictureArchiveRole role, const std::filesystem::path& path,
                   std::string* error = nullptr);
  bool HasArchive(PictureArchiveRole role) const;

  // Decodes the picture into target, resizing it to the picture's size. False, target unchanged,
  // when no archive holds the name or the member cannot be read at all; a damaged member still
  // loads (true), with the damage in last_error() and the target as the decoder leaves it.
  bool LoadPicture(std::string_view name, Picture& target);
  // The same with the whole story.
  PictureLoadResult Load(std::string_view name, Picture& target);
  // The same search without decoding.
  bool PictureExists(std::string_view name) const;

  // The error of the last LoadPicture (empty when it went well or found nothing).
  const std::string& last_error() const { return last_error_; }

 private:
  struct Archive {
    std::filesystem::path path;
    ArchiveIndex index;
  };
  // Search order: the JPEG archive, then the picture archives from the third down.
  std::array<Archive, 4> archives_;
  std::string last_error_;
};

}  // namespace quill
