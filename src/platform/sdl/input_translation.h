#pragma once
// SDL's keys and typed text in the engine's terms: key codes of platform/keys.h and Shift-JIS
// characters.
#include <SDL_keycode.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// The engine's key code for an SDL key; nullopt for keys the engine has no code for. Left and
// right Ctrl (Shift) both give kKeyControl (kKeyShift); letters give their upper-case code.
std::optional<int> TranslateSdlKey(SDL_Keycode key);

// UTF-8 text as Shift-JIS characters, one entry each (one or two bytes). Characters with no
// Shift-JIS form, and malformed UTF-8, are dropped.
std::vector<std::string> Utf8ToSjisChars(std::string_view utf8);

}  // namespace quill
