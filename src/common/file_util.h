#pragma once
// Whole-file reading, crash-safe writing, and game-folder paths that match ignoring case.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

std::optional<std::vector<uint8_t>> ReadFile(const std::filesystem::path& path);
// Reads size bytes at offset; nullopt when the file does not open or is too short.
std::optional<std::vector<uint8_t>> ReadFileRange(const std::filesystem::path& path,
                                                  uint64_t offset, uint64_t size);
// Writes to a temporary name beside path and renames it into place, so a crash never leaves half
// a file. Creates missing parent folders. False (and *error) on failure.
bool WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size,
                     std::string* error = nullptr);
inline bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                            std::string* error = nullptr) {
  return WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}

// Resolves a game-relative path ("icon\\MSCUR01.ani", "mg_data.qlm") inside folder: backslashes
// are separators and each part matches an existing entry ignoring case. Where nothing matches, the
// path as given (with '/') is returned, so creating a new file works too.
std::filesystem::path ResolveIgnoringCase(const std::filesystem::path& folder,
                                          std::string_view relative);

}  // namespace quill
