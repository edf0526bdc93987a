#pragma once
// Arguments of the picture commands gra, grb, bg, clrb and spr, and the solid colours that
// "S" names give. The commands themselves are Composition's (picture_commands.cpp).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

constexpr size_t kPictureArgumentBytes = 64;  // parsing stops at the 64th byte
constexpr size_t kPictureNameMax = 63;
// The background name record: 30 bytes with its NUL.
constexpr size_t kBackgroundNameBytes = 30;

struct PictureArgument {
  std::string name;
  int transition = -1;  // none given: the transitions treat it as 1
  char side = 0;        // 'L' or 'R' (gra and grb only), else 0
};

// NAME[,T][ L| R]: the name ends at a blank, a comma, "]" or the end; after it the first run of
// digits is the transition and an L or R (either case) chooses the side when `with_side`.
// Parsing stops at "]" and at the 64th byte.
PictureArgument ParsePictureArgument(std::string_view argument, bool with_side);

struct SolidColour {
  uint8_t r = 0, g = 0, b = 0;
};
// An "S" name's colour: S followed by digits for red, green, blue; "0"–"9", "a"–"f" (either
// case) give 16 × their value, "g" (either case) 255, anything else (or nothing) 0.
SolidColour SolidColourOf(std::string_view name);
bool IsSolidColourName(std::string_view name);

// clrb [T][L|R]: the side is the argument's last character ('L', 'R' or 0), the transition the
// decimal number at its start (0 when none).
struct ClearArgument {
  char side = 0;
  int transition = 0;
};
ClearArgument ParseClearArgument(std::string_view argument);

}  // namespace quill
