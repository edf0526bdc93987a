#include "tools/qlmtool/picture_commands.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "common/file_util.h"
#include "common/png_io.h"
#include "common/text_util.h"
#include "engine/archive_index.h"
#include "graphics/jpeg_picture.h"
#include "graphics/packed_picture.h"
#include "graphics/picture_loader.h"
#include "tools/picture_encoder.h"

namespace quill::qlmtool {

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "qlmtool: %s\n", message.c_str());
  return 1;
}

// Writes the picture; a damaged source is still written as the engine would show it, but the
// command fails.
// damage names its source; empty when the picture decoded cleanly.
int WriteDecoded(const Picture& picture, bool written, const std::string& damage,
                 const std::string& out) {
  std::string error;
  if (written && !WritePng(out, picture, &error)) return Fail(out + ": " + error);
  if (!damage.empty()) {
    return Fail(damage + (written ? " (written as the engine would show it)" : ""));
  }
  return 0;
}

}  // namespace

bool IsPictureSource(const std::string& path) {
  return EqualsIgnoreCase(std::filesystem::path(path).extension().string(), ".png");
}

bool EncodePictureFile(const std::string& path, std::vector<uint8_t>* packed, std::string* error) {
  std::string why;
  auto picture = ReadPng(path, &why);
  if (!picture) {
    *error = path + ": " + (why.empty() ? "not a readable PNG file" : why);
    return false;
  }
  auto bytes = EncodePackedPictureSmallest(*picture, false, &why);
  if (!bytes) {
    *error = path + ": " + why;
    return false;
  }
  *packed = std::move(*bytes);
  return true;
}

int EncodePicture(const std::vector<std::string>& args) {
  std::vector<std::string> files;
  PackedPictureOptions options;
  for (const std::string& a : args) {
    if (a == "--rle") {
      options.rle = true;
    } else if (a == "--delta") {
      options.delta = true;
    } else if (a == "--dense") {
      options.dense = true;
    } else if (a.size() > 1 && a[0] == '-') {
      return Fail("encode-picture: unknown option " + a + " (see --help)");
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) return Fail("encode-picture: give IN.png and OUT (see --help)");
  std::string error;
  auto picture = ReadPng(files[0], &error);
  if (!picture) return Fail(files[0] + ": " + (error.empty() ? "not a readable PNG file" : error));
  auto packed = EncodePackedPicture(*picture, options, &error);
  if (!packed) return Fail(files[0] + ": " + error);
  if (!WriteFileAtomic(files[1], *packed, &error)) return Fail(files[1] + ": " + error);
  return 0;
}

int DecodePicture(const std::vector<std::string>& args) {
  for (const std::string& a : args) {
    if (a.size() > 1 && a[0] == '-')
      return Fail("decode-picture: unknown option " + a + " (see --help)");
  }
  Picture picture;
  if (args.size() == 2) {
    const std::string& file = args[0];
    auto bytes = ReadFile(file);
    if (!bytes) return Fail(file + ": cannot read the file");
    PictureDecodeResult r = LooksLikeJpeg(*bytes) ? DecodeJpegPicture(*bytes, picture)
                                                  : DecodePackedPicture(*bytes, picture);
    return WriteDecoded(picture, r.target_written, r.ok ? "" : file + ": " + r.error, args[1]);
  }
  if (args.size() != 3)
    return Fail("decode-picture: give ARCHIVE NAME OUT.png or MEMBERFILE OUT.png");
  const std::string& archive = args[0];
  ArchiveReadResult read = ReadArchiveIndex(archive, ArchiveLayout::DeclaredWidth);
  if (!read.index) return Fail(archive + ": " + read.error);
  int i = read.index->Find(args[1]);
  if (i < 0) return Fail(archive + ": no member named " + args[1]);
  // The engine knows a member's kind by its archive; here the member's first bytes tell.
  auto head =
      ReadFileRange(archive, read.index->offsets[i], std::min<uint32_t>(read.index->sizes[i], 3));
  bool jpeg = head && LooksLikeJpeg(*head);
  PictureLoader loader;
  loader.SetArchive(jpeg ? PictureArchiveRole::kJpeg : PictureArchiveRole::kPictures1, archive,
                    *read.index);
  PictureLoadResult r = loader.Load(args[1], picture);
  return WriteDecoded(picture, r.loaded, r.error, args[2]);
}

}  // namespace quill::qlmtool
