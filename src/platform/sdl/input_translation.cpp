#include "platform/sdl/input_translation.h"

#include <array>
#include <utility>

#include "common/sjis.h"
#include "platform/keys.h"

namespace quill {
namespace {

constexpr std::array<std::pair<SDL_Keycode, int>, 18> kKeys{{
    {SDLK_BACKSPACE, kKeyBackspace},
    {SDLK_TAB, kKeyTab},
    {SDLK_RETURN, kKeyEnter},
    {SDLK_KP_ENTER, kKeyEnter},
    {SDLK_LSHIFT, kKeyShift},
    {SDLK_RSHIFT, kKeyShift},
    {SDLK_LCTRL, kKeyControl},
    {SDLK_RCTRL, kKeyControl},
    {SDLK_ESCAPE, kKeyEscape},
    {SDLK_SPACE, kKeySpace},
    {SDLK_PAGEUP, kKeyPageUp},
    {SDLK_PAGEDOWN, kKeyPageDown},
    {SDLK_END, kKeyEnd},
    {SDLK_HOME, kKeyHome},
    {SDLK_LEFT, kKeyLeft},
    {SDLK_UP, kKeyUp},
    {SDLK_RIGHT, kKeyRight},
    {SDLK_DOWN, kKeyDown},
}};

// Length of the UTF-8 sequence starting with `lead`, 0 when it cannot start one.
size_t Utf8Length(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

std::optional<int> TranslateSdlKey(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return kKeyA + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return kKey0 + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return kKeyF1 + (key - SDLK_F1);
  for (const auto& [sdl, code] : kKeys) {
    if (sdl == key) return code;
  }
  return std::nullopt;
}

std::vector<std::string> Utf8ToSjisChars(std::string_view utf8) {
  std::vector<std::string> chars;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t n = Utf8Length(static_cast<unsigned char>(utf8[i]));
    bool whole = n > 0 && i + n <= utf8.size();
    for (size_t k = 1; whole && k < n; ++k) {
      whole = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
    }
    if (!whole) {
      ++i;  // skip the stray byte and resynchronise
      continue;
    }
    Conversion c = Utf8ToSjis(utf8.substr(i, n));
    if (c.ok() && !c.text.empty()) chars.push_back(std::move(c.text));
    i += n;
  }
  return chars;
}

}  // namespace quill
