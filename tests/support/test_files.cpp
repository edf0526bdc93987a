#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <fstream>

#include "common/file_util.h"

namespace quill::test {

std::filesystem::path SourceDir() { return QUILL_SOURCE_DIR; }
std::filesystem::path BinaryDir() { return QUILL_BINARY_DIR; }

void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::filesystem::path& path) {
  auto bytes = ReadFile(path);
  return bytes ? std::string(bytes->begin(), bytes->end()) : "<missing>";
}

nlohmann::json ReadJson(const std::filesystem::path& path) {
  auto bytes = ReadFile(path);
  if (!bytes) {
    ADD_FAILURE() << "no file " << path;
    return nullptr;
  }
  return nlohmann::json::parse(std::string(bytes->begin(), bytes->end()), nullptr, false);
}

}  // namespace quill::test
