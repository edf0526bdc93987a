#pragma once
// The user's folders by the XDG rules, shared by both backends.
#include <filesystem>

namespace quill {

std::filesystem::path XdgConfigFolder();   // $XDG_CONFIG_HOME/quill or ~/.config/quill
std::filesystem::path XdgDataFolder();     // $XDG_DATA_HOME/quill or ~/.local/share/quill
std::filesystem::path XdgRuntimeFolder();  // $XDG_RUNTIME_DIR, else the temporary folder

}  // namespace quill
