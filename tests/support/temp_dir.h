#pragma once
#include <filesystem>

namespace quill::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& p) const { return path_ / p; }

 private:
  std::filesystem::path path_;
};

}  // namespace quill::test
