#include "tests/support/fixture_game.h"

#include <gtest/gtest.h>

#include "common/file_util.h"
#include "tools/script_pack.h"

namespace quill::test {

FixtureGame& FixtureGame::Script(const std::string& name, const std::string& utf8) {
  scripts_[name] = utf8;
  return *this;
}

FixtureGame& FixtureGame::PatchScript(const std::string& name, const std::string& utf8) {
  patch_scripts_[name] = utf8;
  return *this;
}

FixtureGame& FixtureGame::Resource(const std::string& archive, const std::string& name,
                                   std::vector<uint8_t> data) {
  resources_[archive].push_back({name, std::move(data)});
  return *this;
}

namespace {

void WriteScripts(const std::filesystem::path& path, const std::map<std::string, std::string>& scripts) {
  std::vector<ArchiveMember> members;
  for (const auto& [name, text] : scripts) {
    std::string error;
    auto member = MakeScriptMember(name, text, &error);
    ASSERT_TRUE(member) << error;
    members.push_back(std::move(*member));
  }
  std::string error;
  ASSERT_TRUE(WriteScriptArchive(path, members, &error)) << error;
}

}  // namespace

void FixtureGame::Write() {
  std::filesystem::create_directories(folder_);
  WriteScripts(folder_ / "mg_data.qlm", scripts_);
  if (!patch_scripts_.empty()) WriteScripts(folder_ / "mg_data2.qlm", patch_scripts_);
  std::map<std::string, std::vector<ArchiveMember>> resources = resources_;
  if (!without_pictures_) resources.try_emplace("mg_gra.qlm");
  for (const auto& [archive, members] : resources) {
    std::string error;
    auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, members, 32, &error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_TRUE(WriteFileAtomic(folder_ / archive, *bytes, &error)) << error;
  }
}

}  // namespace quill::test
