#pragma once
// PNG files for screenshots and the tools; pictures stay BGR in memory.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "common/picture.h"

namespace quill {

std::optional<Picture> DecodePng(std::span<const uint8_t> file, std::string* error = nullptr);
std::optional<Picture> ReadPng(const std::filesystem::path& path, std::string* error = nullptr);
bool WritePng(const std::filesystem::path& path, const Picture& picture, std::string* error = nullptr);

}  // namespace quill
