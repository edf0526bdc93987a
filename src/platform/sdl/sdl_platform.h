#pragma once
// The window backend: SDL2 window, input, clock, timer and audio device.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace quill {

// Opens the 800 × 624 window (24-pixel toolbar over the 800 × 600 screen). nullptr and *error
// when SDL cannot start.
std::unique_ptr<Platform> CreateSdlPlatform(const std::filesystem::path& game_folder,
                                            std::string* error);

}  // namespace quill
