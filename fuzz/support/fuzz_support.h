#pragma once
// What the fuzz targets share: a scratch folder for readers that take paths, fixture archives
// built with the project's own encoders, and a check that stops the fuzzer on a broken promise.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/picture.h"
#include "engine/expressions.h"

namespace quill::fuzz {

// Stops the run (the fuzzer keeps the input) when a reader breaks one of its promises.
#define FUZZ_CHECK(condition)                                                     \
  do {                                                                            \
    if (!(condition)) ::quill::fuzz::CheckFailed(#condition, __FILE__, __LINE__); \
  } while (0)
[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

// A folder of this process's own, made on first use and removed when the process ends.
const std::filesystem::path& ScratchFolder();
// Writes the whole file or aborts: a failure here is the harness's, not the input's.
void WriteBytes(const std::filesystem::path& path, std::span<const uint8_t> bytes);

inline std::span<const uint8_t> Bytes(const uint8_t* data, size_t size) { return {data, size}; }
inline std::string_view Text(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// A script's stored bytes (Shift-JIS lines ending in NUL, unmasked) from UTF-8 text; aborts when
// the text does not convert.
std::vector<uint8_t> StoredScript(std::string_view utf8);
// A script archive of plain stored scripts (name, bytes), masked as the engine stores them.
std::vector<uint8_t> ScriptArchive(
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& scripts);
// A resource archive (declared-width layout) of packed pictures.
std::vector<uint8_t> PictureArchive(const std::vector<std::pair<std::string, Picture>>& pictures);
// A small picture with a gradient, so that every stage of the encoders has work.
Picture GradientPicture(int width, int height, int seed);

// Expressions without an engine: a fixed random sequence, and no logs.
class QuietExpressionHost : public ExpressionHost {
 public:
  int32_t NextRandom() override;
  void DeveloperLog(int, std::string_view) override {}
  void SystemCellAssigned(int) override {}
  void TraceAssignment(std::string_view) override {}

 private:
  uint32_t seed_ = 1;
};

}  // namespace quill::fuzz
