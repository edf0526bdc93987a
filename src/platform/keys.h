#pragma once
// The engine's key codes: the virtual-key numbers the game logic was written against. Both
// backends translate their own key events into these.
#include <optional>
#include <string>
#include <string_view>

namespace quill {

enum KeyCode : int {
  kKeyBackspace = 0x08,
  kKeyTab = 0x09,
  kKeyEnter = 0x0D,
  kKeyShift = 0x10,
  kKeyControl = 0x11,
  kKeyEscape = 0x1B,
  kKeySpace = 0x20,
  kKeyPageUp = 0x21,
  kKeyPageDown = 0x22,
  kKeyEnd = 0x23,
  kKeyHome = 0x24,
  kKeyLeft = 0x25,
  kKeyUp = 0x26,
  kKeyRight = 0x27,
  kKeyDown = 0x28,
  kKey0 = 0x30,  // '0'..'9' follow
  kKeyA = 0x41,  // 'A'..'Z' follow
  kKeyF1 = 0x70, // F1..F12 follow
  kKeyF12 = 0x7B,
};

// Scenario names: F1..F12, CTRL, SHIFT, TAB, ENTER, ESC, SPACE, BACKSPACE, UP, DOWN, LEFT, RIGHT,
// PAGEUP, PAGEDOWN, HOME, END, a letter or a digit. Case does not matter.
std::optional<int> KeyFromName(std::string_view name);
std::string KeyName(int key);

}  // namespace quill
