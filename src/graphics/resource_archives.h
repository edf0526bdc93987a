#pragma once
// The resource archives beside the game (pictures, JPEG pictures, sounds, sound effects, music,
// movies), each with its index; some may come from the CD folder instead.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/archive_index.h"

namespace quill {

// One archive: its path (empty when absent) and its index (empty when absent or unreadable).
struct ResourceArchive {
  std::filesystem::path path;
  ArchiveIndex index;
  bool present() const { return !path.empty(); }
};

// Which archives may come from the CD folder (the MGD_* keys of the game configuration).
struct CdFallback {
  int gra = 0;   // picture archives whose 0-based number is below this
  int gjp = 0;   // the JPEG archive when non-zero
  int wav = 0;   // sound archives whose 0-based number is below this
  int se = 0;    // sound-effect archives whose 0-based number is below this
  int ogg = 0;   // streamed-music archives whose 0-based number is below this
  int anim = 0;  // movies: the first set when > 0, the second when > 1
};

struct ResourceArchives {
  std::array<ResourceArchive, 3> pictures;  // mg_gra.qlm, mg_gra2.qlm, mg_gra3.qlm
  ResourceArchive jpeg;                     // mg_gjp.qlm
  std::array<ResourceArchive, 5> sounds;    // mg_wav1.qlm … mg_wav5.qlm
  std::array<ResourceArchive, 3> effects;   // mg_se0.qlm … mg_se2.qlm
  std::array<ResourceArchive, 3> voices;    // mg_ogg1.qlm … mg_ogg3.qlm (Ogg Vorbis voices)
  ResourceArchive bgm;                      // mg_bgm.qlm (may always come from the CD folder)
  std::array<ResourceArchive, 2> movies;    // mg_anim.qlm, mg_anim2.qlm
  // Damaged indexes met while opening ("mg_gra.qlm: …"), for the start-up report.
  std::vector<std::string> problems;
};

// The CD folder from the settings value CDDir: "NULL" means none; one trailing backslash goes.
std::string CdFolderFromSetting(std::string cd_dir);

// Opens every set: a file missing from the game folder is looked for in the CD folder when its
// set allows it. Names match ignoring case in both folders.
ResourceArchives OpenResourceArchives(const std::filesystem::path& game_folder,
                                      const std::string& cd_folder, const CdFallback& fallback);

}  // namespace quill
