#pragma once
// Fixture games built in a test: scripts written as UTF-8 text, packed as qlmtool packs them.
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/archive_index.h"

namespace quill::test {

class FixtureGame {
 public:
  explicit FixtureGame(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // Adds or replaces a script of the main archive (or of the patch archive "mg_data2.qlm").
  FixtureGame& Script(const std::string& name, const std::string& utf8);
  FixtureGame& PatchScript(const std::string& name, const std::string& utf8);
  // A member of a resource archive in the declared-width layout.
  FixtureGame& Resource(const std::string& archive, const std::string& name,
                        std::vector<uint8_t> data);
  // Leaves out the first picture archive, which Write otherwise adds (empty) when no member was
  // given for it: without it the game refuses to start.
  FixtureGame& WithoutPictureArchive() {
    without_pictures_ = true;
    return *this;
  }
  // Writes every archive; fails the current test on a packing error.
  void Write();

  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
  std::map<std::string, std::string> scripts_;
  std::map<std::string, std::string> patch_scripts_;
  std::map<std::string, std::vector<ArchiveMember>> resources_;
  bool without_pictures_ = false;
};

}  // namespace quill::test
