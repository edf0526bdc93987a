#include "fuzz/support/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "common/file_util.h"
#include "engine/archive_index.h"
#include "engine/script_mask.h"
#include "tools/picture_encoder.h"
#include "tools/script_pack.h"

namespace quill::fuzz {
namespace fs = std::filesystem;

void CheckFailed(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
  std::abort();
}

namespace {

[[noreturn]] void HarnessFailure(const std::string& what) {
  std::fprintf(stderr, "fuzz harness: %s\n", what.c_str());
  std::abort();
}

fs::path MakeScratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "quill-fuzz-XXXXXX").string();
  if (!mkdtemp(pattern.data())) HarnessFailure("cannot make a scratch folder");
  static fs::path folder = pattern;
  std::atexit([] {
    std::error_code ec;
    fs::remove_all(folder, ec);
  });
  return folder;
}

}  // namespace

const fs::path& ScratchFolder() {
  static const fs::path folder = MakeScratchFolder();
  return folder;
}

void WriteBytes(const fs::path& path, std::span<const uint8_t> bytes) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) HarnessFailure("cannot write " + path.string());
  bool ok = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, f) == 1;
  if (std::fclose(f) != 0 || !ok) HarnessFailure("cannot write " + path.string());
}

std::vector<uint8_t> StoredScript(std::string_view utf8) {
  std::string error;
  auto stored = ScriptTextToStored(utf8, "fixture", &error);
  if (!stored) HarnessFailure(error);
  return *stored;
}

std::vector<uint8_t> ScriptArchive(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& scripts) {
  std::vector<ArchiveMember> members;
  for (const auto& [name, stored] : scripts) {
    ArchiveMember member{name, stored};
    MaskScript(member.data);
    members.push_back(std::move(member));
  }
  std::string error;
  auto archive = BuildArchive(ArchiveLayout::FixedWidth, members, kFixedNameWidth, &error);
  if (!archive) HarnessFailure(error);
  return *archive;
}

std::vector<uint8_t> PictureArchive(const std::vector<std::pair<std::string, Picture>>& pictures) {
  std::vector<ArchiveMember> members;
  std::string error;
  for (const auto& [name, picture] : pictures) {
    auto packed = EncodePackedPictureSmallest(picture, false, &error);
    if (!packed) HarnessFailure(error);
    members.push_back({name, std::move(*packed)});
  }
  auto archive = BuildArchive(ArchiveLayout::DeclaredWidth, members, 32, &error);
  if (!archive) HarnessFailure(error);
  return *archive;
}

Picture GradientPicture(int width, int height, int seed) {
  Picture p(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* px = p.Pixel(x, y);
      px[0] = static_cast<uint8_t>(x * 8 + seed);
      px[1] = static_cast<uint8_t>(y * 8);
      px[2] = static_cast<uint8_t>((x / 4 + y / 4) % 2 ? 255 : seed * 40);
    }
  }
  return p;
}

int32_t QuietExpressionHost::NextRandom() {
  seed_ = seed_ * 1103515245u + 12345u;
  return static_cast<int32_t>((seed_ >> 16) & 0x7FFF);
}

}  // namespace quill::fuzz
