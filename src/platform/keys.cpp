#include "platform/keys.h"

#include <array>
#include <utility>

#include "common/text_util.h"

namespace quill {
namespace {

constexpr std::array<std::pair<std::string_view, int>, 17> kNamedKeys{{
    {"CTRL", kKeyControl},     {"SHIFT", kKeyShift},   {"TAB", kKeyTab},
    {"ENTER", kKeyEnter},      {"ESC", kKeyEscape},    {"SPACE", kKeySpace},
    {"BACKSPACE", kKeyBackspace}, {"UP", kKeyUp},      {"DOWN", kKeyDown},
    {"LEFT", kKeyLeft},        {"RIGHT", kKeyRight},   {"PAGEUP", kKeyPageUp},
    {"PAGEDOWN", kKeyPageDown}, {"HOME", kKeyHome},    {"END", kKeyEnd},
    {"RETURN", kKeyEnter},     {"ESCAPE", kKeyEscape},
}};

}  // namespace

std::optional<int> KeyFromName(std::string_view name) {
  std::string upper = ToUpperAscii(name);
  for (const auto& [key_name, code] : kNamedKeys) {
    if (upper == key_name) return code;
  }
  if (upper.size() == 1) {
    char c = upper[0];
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
  }
  if (upper.size() >= 2 && upper[0] == 'F') {
    size_t used = 0;
    int n = ParseInt(std::string_view(upper).substr(1), &used);
    if (used == upper.size() - 1 && n >= 1 && n <= 12) return kKeyF1 + n - 1;
  }
  return std::nullopt;
}

std::string KeyName(int key) {
  for (const auto& [key_name, code] : kNamedKeys) {
    if (code == key) return std::string(key_name);
  }
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, char(key));
  if (key >= kKeyF1 && key <= kKeyF12) return "F" + std::to_string(key - kKeyF1 + 1);
  return "KEY" + std::to_string(key);
}

}  // namespace quill
