#pragma once
// Plain text output with a named font, for the places that do not draw game glyphs: the backlog,
// the yes/no band, notices, the staff roll, the completion rate, ruby. Anti-aliased glyphs are
// blended straight into the picture over a transparent background.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/picture.h"
#include "text/text_font.h"

namespace quill {

struct TextOutputFont {
  std::string face_sjis;  // face name in Shift-JIS, mapped as for the text font
  // Character cell height in pixels (ascent + descent); a negative value is an em height, as
  // with the platform's font heights.
  int height = 16;
  bool bold = false;
};

class TextOutput {
 public:
  // Draws Shift-JIS text with the top-left of its first cell at (x, y) (the baseline is at
  // y + ascent) in a colour 0x00BBGGRR (red in the low byte), clipped to the picture.
  void DrawText(Picture& picture, int x, int y, std::string_view sjis, const TextOutputFont& font,
                uint32_t colour);
  // Width in pixels of the text (the sum of its advances), for centring.
  int TextWidth(std::string_view sjis, const TextOutputFont& font);
  // Ascent and descent in pixels of the font as sized; 0 when no font can be found.
  int Ascent(const TextOutputFont& font);
  int Descent(const TextOutputFont& font);

 private:
  struct Face {
    std::string face_sjis;
    bool bold = false;
    TextFont font;
  };
  // The font sized for `font`, opened once per face name and weight; nullptr when none exists.
  TextFont* Select(const TextOutputFont& font);

  std::vector<Face> faces_;
  GrayBitmap bitmap_;
};

}  // namespace quill
