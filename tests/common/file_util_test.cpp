#include "common/file_util.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/temp_dir.h"

namespace quill {
namespace {

namespace fs = std::filesystem;

TEST(FileUtil, AtomicWriteCreatesFoldersAndLeavesNoTemporary) {
  test::TempDir dir;
  fs::path target = dir / "a/b/file.bin";
  std::vector<uint8_t> data{1, 2, 3};
  std::string error;
  ASSERT_TRUE(WriteFileAtomic(target, data, &error)) << error;
  EXPECT_EQ(*ReadFile(target), data);
  ASSERT_TRUE(WriteFileAtomic(target, std::vector<uint8_t>{9}, &error));
  EXPECT_EQ(*ReadFile(target), std::vector<uint8_t>{9});
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(target.parent_path())) ++files;
  EXPECT_EQ(files, 1);
}

TEST(FileUtil, AtomicWriteReportsAnUnwritableFolder) {
  test::TempDir dir;
  std::ofstream(dir / "plainfile") << "x";
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(dir / "plainfile/inside", std::vector<uint8_t>{1}, &error));
  EXPECT_NE(error.find("inside"), std::string::npos);
}

TEST(FileUtil, ReadFileRangeRefusesRangesPastTheEnd) {
  test::TempDir dir;
  ASSERT_TRUE(WriteFileAtomic(dir / "f", std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(*ReadFileRange(dir / "f", 1, 2), (std::vector<uint8_t>{2, 3}));
  EXPECT_FALSE(ReadFileRange(dir / "f", 3, 2));
  EXPECT_FALSE(ReadFileRange(dir / "f", 0xFFFFFFFFull, 1));
  EXPECT_FALSE(ReadFile(dir / "missing"));
}

TEST(FileUtil, GamePathsMatchIgnoringCase) {
  test::TempDir dir;
  fs::create_directories(dir / "Icon");
  std::ofstream(dir / "MG_DATA.QLM") << "x";
  std::ofstream(dir / "Icon/MsCur01.ANI") << "x";
  EXPECT_EQ(ResolveIgnoringCase(dir.path(), "mg_data.qlm"), dir / "MG_DATA.QLM");
  EXPECT_EQ(ResolveIgnoringCase(dir.path(), "icon\\MSCUR01.ani"), dir / "Icon/MsCur01.ANI");
  // A missing part keeps the name as given, so new files can be made there.
  EXPECT_EQ(ResolveIgnoringCase(dir.path(), "save\\save01.dat"), dir / "save/save01.dat");
}

}  // namespace
}  // namespace quill
