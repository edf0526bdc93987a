#include "platform/user_folders.h"

#include <cstdlib>

namespace quill {
namespace fs = std::filesystem;
namespace {

fs::path FromEnv(const char* name, const char* home_relative) {
  const char* value = std::getenv(name);
  if (value && *value) return fs::path(value);
  const char* home = std::getenv("HOME");
  return fs::path(home && *home ? home : "/tmp") / home_relative;
}

}  // namespace

fs::path XdgConfigFolder() { return FromEnv("XDG_CONFIG_HOME", ".config") / "quill"; }
fs::path XdgDataFolder() { return FromEnv("XDG_DATA_HOME", ".local/share") / "quill"; }
fs::path XdgRuntimeFolder() {
  const char* value = std::getenv("XDG_RUNTIME_DIR");
  if (value && *value) return fs::path(value);
  return fs::temp_directory_path();
}

}  // namespace quill
