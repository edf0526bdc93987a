#include "common/file_util.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "common/text_util.h"

namespace quill {
namespace fs = std::filesystem;

std::optional<std::vector<uint8_t>> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  in.seekg(0);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), size)) return std::nullopt;
  return data;
}

std::optional<std::vector<uint8_t>> ReadFileRange(const fs::path& path, uint64_t offset,
                                                  uint64_t size) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  in.seekg(0, std::ios::end);
  uint64_t file_size = static_cast<uint64_t>(in.tellg());
  if (offset > file_size || size > file_size - offset) return std::nullopt;
  in.seekg(static_cast<std::streamoff>(offset));
  std::vector<uint8_t> data(static_cast<size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(size)))
    return std::nullopt;
  return data;
}

bool WriteFileAtomic(const fs::path& path, const void* data, size_t size, std::string* error) {
  auto fail = [&](const std::string& what) {
    if (error) *error = path.string() + ": " + what;
    return false;
  };
  std::error_code ec;
  if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
  fs::path temp = path;
  temp += ".tmp" + std::to_string(getpid());
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return fail(std::strerror(errno));
  bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
  written = std::fflush(f) == 0 && written;
  written = fsync(fileno(f)) == 0 && written;
  if (std::fclose(f) != 0) written = false;
  if (!written) {
    fs::remove(temp, ec);
    return fail("write failed");
  }
  fs::rename(temp, path, ec);
  if (ec) {
    fs::remove(temp, ec);
    return fail("rename failed");
  }
  return true;
}

fs::path ResolveIgnoringCase(const fs::path& folder, std::string_view relative) {
  fs::path result = folder;
  bool matching = true;  // once a part is missing, the rest is appended as given
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = relative.size();
    std::string_view part = relative.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    fs::path exact = result / std::string(part);
    std::error_code ec;
    if (matching && !fs::exists(exact, ec)) {
      matching = false;
      for (const auto& entry : fs::directory_iterator(result, ec)) {
        if (EqualsIgnoreCase(entry.path().filename().string(), part)) {
          exact = entry.path();
          matching = true;
          break;
        }
      }
    }
    result = exact;
  }
  return result;
}

}  // namespace quill
