#include "graphics/resource_archives.h"

#include "common/file_util.h"

namespace quill {
namespace fs = std::filesystem;
namespace {

// The CD folder followed immediately by the file name, as the original builds it ("Q:" +
// "mg_gra.qlm"). A CD folder that is an existing folder without a trailing separator gets one:
// on this system "/media/cdrom" + "mg_gra.qlm" would otherwise never name the file.
fs::path CdPath(const std::string& cd_folder, const std::string& file) {
  if (cd_folder.empty()) return {};
  std::error_code ec;
  std::string folder = cd_folder;
  for (char& c : folder) {
    if (c == '\\') c = '/';
  }
  if (!folder.ends_with('/') && fs::is_directory(folder, ec)) folder += '/';
  std::string joined = folder + file;
  size_t slash = joined.find_last_of('/');
  if (slash == std::string::npos) return fs::path(joined);
  return ResolveIgnoringCase(joined.substr(0, slash + 1), joined.substr(slash + 1));
}

void Open(ResourceArchive& archive, const fs::path& game_folder, const std::string& cd_folder,
          const std::string& file, bool may_use_cd, std::vector<std::string>& problems) {
  std::error_code ec;
  fs::path path = ResolveIgnoringCase(game_folder, file);
  if (!fs::is_regular_file(path, ec)) {
    path.clear();
    if (may_use_cd) {
      fs::path cd = CdPath(cd_folder, file);
      if (!cd.empty() && fs::is_regular_file(cd, ec)) path = cd;
    }
  }
  archive.path = path;
  archive.index = ArchiveIndex{};
  if (path.empty()) return;
  ArchiveReadResult r = ReadArchiveIndex(path, ArchiveLayout::DeclaredWidth);
  if (r.index) archive.index = std::move(*r.index);
  else problems.push_back(file + ": " + r.error);
  for (const std::string& s : r.skipped) problems.push_back(file + ": " + s);
}

}  // namespace

std::string CdFolderFromSetting(std::string cd_dir) {
  if (cd_dir == "NULL") return {};
  if (cd_dir.ends_with('\\')) cd_dir.pop_back();
  return cd_dir;
}

ResourceArchives OpenResourceArchives(const fs::path& game_folder, const std::string& cd_folder,
                                      const CdFallback& fallback) {
  ResourceArchives a;
  auto& problems = a.problems;
  const char* picture_files[] = {"mg_gra.qlm", "mg_gra2.qlm", "mg_gra3.qlm"};
  for (int i = 0; i < 3; ++i)
    Open(a.pictures[i], game_folder, cd_folder, picture_files[i], i < fallback.gra, problems);
  Open(a.jpeg, game_folder, cd_folder, "mg_gjp.qlm", fallback.gjp != 0, problems);
  for (int i = 0; i < 5; ++i)
    Open(a.sounds[i], game_folder, cd_folder, "mg_wav" + std::to_string(i + 1) + ".qlm",
         i < fallback.wav, problems);
  for (int i = 0; i < 3; ++i)
    Open(a.effects[i], game_folder, cd_folder, "mg_se" + std::to_string(i) + ".qlm",
         i < fallback.se, problems);
  for (int i = 0; i < 3; ++i)
    Open(a.voices[i], game_folder, cd_folder, "mg_ogg" + std::to_string(i + 1) + ".qlm",
         i < fallback.ogg, problems);
  Open(a.bgm, game_folder, cd_folder, "mg_bgm.qlm", true, problems);
  Open(a.movies[0], game_folder, cd_folder, "mg_anim.qlm", fallback.anim > 0, problems);
  Open(a.movies[1], game_folder, cd_folder, "mg_anim2.qlm", fallback.anim > 1, problems);
  return a;
}

}  // namespace quill
