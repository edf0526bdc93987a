#include "graphics/resource_archives.h"

#include <gtest/gtest.h>

#include "common/file_util.h"
#include "tests/support/temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

void WriteArchive(const fs::path& path, const std::string& member) {
  std::string error;
  auto bytes = BuildArchive(ArchiveLayout::DeclaredWidth, {{member, {1, 2}}}, 16, &error);
  ASSERT_TRUE(bytes) << error;
  ASSERT_TRUE(WriteFileAtomic(path, *bytes, &error)) << error;
}

class ResourceArchivesTest : public ::testing::Test {
 protected:
  fs::path game() const { return dir_ / "game"; }
  fs::path cd() const { return dir_ / "cd"; }
  void SetUp() override {
    fs::create_directories(game());
    fs::create_directories(cd());
  }
  test::TempDir dir_;
};

TEST_F(ResourceArchivesTest, EverySetOpensByItsFileNames) {
  const char* files[] = {"mg_gra.qlm", "mg_gra2.qlm", "mg_gra3.qlm", "mg_gjp.qlm",  "mg_wav1.qlm",
                         "mg_wav5.qlm", "mg_se0.qlm", "mg_se2.qlm", "mg_ogg1.qlm", "mg_ogg3.qlm",
                         "mg_bgm.qlm",  "mg_anim.qlm", "mg_anim2.qlm", "mg_se3.qlm"};
  for (const char* f : files) WriteArchive(game() / f, fs::path(f).stem().string());
  ResourceArchives a = OpenResourceArchives(game(), "", {});
  EXPECT_EQ(a.pictures[0].index.names[0], "MG_GRA");
  EXPECT_EQ(a.pictures[2].index.names[0], "MG_GRA3");
  EXPECT_EQ(a.jpeg.index.names[0], "MG_GJP");
  EXPECT_EQ(a.sounds[0].index.names[0], "MG_WAV1");
  EXPECT_EQ(a.sounds[4].index.names[0], "MG_WAV5");
  EXPECT_FALSE(a.sounds[1].present());
  // Sound effects count from 0 and have no fourth archive.
  EXPECT_EQ(a.effects[0].index.names[0], "MG_SE0");
  EXPECT_EQ(a.effects[2].index.names[0], "MG_SE2");
  EXPECT_EQ(a.voices[2].index.names[0], "MG_OGG3");
  EXPECT_EQ(a.bgm.index.names[0], "MG_BGM");
  EXPECT_EQ(a.movies[1].index.names[0], "MG_ANIM2");
  EXPECT_TRUE(a.problems.empty());
}

TEST_F(ResourceArchivesTest, CdFallbackFollowsEachSetsRule) {
  for (const char* f : {"mg_gra.qlm", "mg_gra2.qlm", "mg_anim.qlm", "mg_anim2.qlm", "mg_gjp.qlm",
                        "mg_bgm.qlm", "mg_se0.qlm", "mg_se1.qlm"})
    WriteArchive(cd() / f, "ON_CD");
  CdFallback fallback;
  fallback.gra = 1;
  fallback.anim = 1;
  fallback.se = 2;
  ResourceArchives a = OpenResourceArchives(game(), cd().string() + "/", fallback);
  EXPECT_TRUE(a.pictures[0].present());   // number 0 < MGD_GRA 1
  EXPECT_FALSE(a.pictures[1].present());  // number 1 is not below 1
  EXPECT_TRUE(a.movies[0].present());     // MGD_ANIM > 0
  EXPECT_FALSE(a.movies[1].present());    // needs MGD_ANIM > 1
  EXPECT_FALSE(a.jpeg.present());         // MGD_GJP = 0
  EXPECT_TRUE(a.bgm.present());           // always allowed
  EXPECT_TRUE(a.effects[1].present());
  EXPECT_EQ(a.pictures[0].index.names[0], "ON_CD");
}

TEST_F(ResourceArchivesTest, TheGameFolderWinsOverTheCd) {
  WriteArchive(game() / "MG_GRA.QLM", "IN_GAME");
  WriteArchive(cd() / "mg_gra.qlm", "ON_CD");
  CdFallback fallback;
  fallback.gra = 3;
  ResourceArchives a = OpenResourceArchives(game(), cd().string(), fallback);
  ASSERT_TRUE(a.pictures[0].present());
  EXPECT_EQ(a.pictures[0].index.names[0], "IN_GAME");
}

TEST_F(ResourceArchivesTest, CdFolderSettingRules) {
  EXPECT_EQ(CdFolderFromSetting("NULL"), "");
  EXPECT_EQ(CdFolderFromSetting("Q:\\"), "Q:");
  EXPECT_EQ(CdFolderFromSetting("Q:\\\\"), "Q:\\");
  EXPECT_EQ(CdFolderFromSetting("/media/cd"), "/media/cd");
  // A CD folder given without a separator still finds its files.
  WriteArchive(cd() / "mg_bgm.qlm", "BGM");
  ResourceArchives a = OpenResourceArchives(game(), cd().string(), {});
  EXPECT_TRUE(a.bgm.present());
}

TEST_F(ResourceArchivesTest, ADamagedIndexLeavesTheArchiveEmptyAndIsReported) {
  ASSERT_TRUE(WriteFileAtomic(game() / "mg_gra.qlm", std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF, 8, 0, 0, 0}));
  ResourceArchives a = OpenResourceArchives(game(), "", {});
  EXPECT_TRUE(a.pictures[0].present());
  EXPECT_TRUE(a.pictures[0].index.empty());
  ASSERT_EQ(a.problems.size(), 1u);
  EXPECT_NE(a.problems[0].find("mg_gra.qlm"), std::string::npos);
}

}  // namespace
}  // namespace quill
