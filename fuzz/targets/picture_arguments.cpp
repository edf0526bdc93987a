// The arguments of the plain picture commands (gra, grb, bg, clrb, spr) and "S" colour names.
#include "fuzz/support/fuzz_support.h"
#include "graphics/picture_commands.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::Text(data, size);
  for (bool with_side : {false, true}) {
    PictureArgument a = ParsePictureArgument(text, with_side);
    FUZZ_CHECK(a.name.size() <= kPictureNameMax);
    FUZZ_CHECK(a.side == 0 || (with_side && (a.side == 'L' || a.side == 'R')));
    if (IsSolidColourName(a.name)) SolidColourOf(a.name);
  }
  ClearArgument c = ParseClearArgument(text);
  FUZZ_CHECK(c.side == 0 || c.side == 'L' || c.side == 'R');
  SolidColourOf(text);
  return 0;
}
