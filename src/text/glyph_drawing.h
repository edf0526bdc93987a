#pragma once
// Blends prepared glyphs into pictures (a soft shadow, then the text colour), selects the text
// colour, and draws centred strings of glyphs.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "common/picture.h"
#include "text/glyph_renderer.h"

namespace quill {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb kWhite{255, 255, 255};
// A colour with red in the low byte (0x00BBGGRR).
constexpr Rgb RgbFromColorRef(uint32_t c) {
  return Rgb{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)};
}
constexpr uint32_t ColorRefFromRgb(Rgb c) {
  return c.r | (static_cast<uint32_t>(c.g) << 8) | (static_cast<uint32_t>(c.b) << 16);
}

// Text colours by index; entry 0 is a placeholder for the current speaker colour.
constexpr std::array<Rgb, 8> kTextColourTable = {{{255, 255, 255},
                                                  {0, 128, 0},
                                                  {255, 0, 0},
                                                  {128, 0, 128},
                                                  {255, 255, 0},
                                                  {0, 0, 255},
                                                  {0, 255, 255},
                                                  {192, 192, 192}}};

// The mask blend over one row, clipped to [0, row_bytes): out = (dst × (255 − m) + c × m) / 256
// for the bytes from `start` on, in groups of 8 counted from `start`; a group whose 8 mask bytes
// are all 0 is left alone. `start` may lie left of the row or run past its end.
void BlendGlyphRow(uint8_t* row, int row_bytes, int start, const uint8_t* colour,
                   const uint8_t* mask, int bytes);

class GlyphDrawing {
 public:
  explicit GlyphDrawing(GlyphRenderer& renderer);

  GlyphRenderer& renderer() { return renderer_; }

  // The start-up order: warm the cache, then colour 1 and colour 0, which fills the colour cell
  // once whatever the speaker colour is.
  void StartUp();

  // Blends the prepared glyph with the cell's top-left at (x, y): the shadow one pixel right and
  // (through the mask) one row down, then the text. Rows and columns outside the picture are
  // skipped.
  void PutGlyph(Picture& picture, int x, int y) const;

  // Index 0 is the current speaker colour, others the table entry of their low three bits. The
  // colour cell is refilled only when the colour changes.
  void SetTextColour(int index);

  // Draws a Shift-JIS string (up to a NUL) centred on x: the glyph of the character whose first
  // byte is at 1-based position i goes to i × P + x − (L × P) / 2, L the length and P the pitch.
  void DrawGlyphText(std::string_view text, int x, Picture& picture, int colour_index, int y);

  // TX_PITCH_X, the horizontal step of DrawGlyphText.
  void set_pitch_x(int pitch) { pitch_x_ = pitch; }
  int pitch_x() const { return pitch_x_; }

  // The current speaker colour (system cell S037). A source, when set, is asked instead of the
  // stored value, so the colour can live in the value bank.
  void set_speaker_colour(Rgb colour) { speaker_colour_ = colour; }
  void SetSpeakerColourSource(std::function<Rgb()> source) { speaker_source_ = std::move(source); }
  Rgb speaker_colour() const { return speaker_source_ ? speaker_source_() : speaker_colour_; }

  // The colour last filled into the colour cell.
  std::optional<Rgb> text_colour() const { return applied_; }

 private:
  GlyphRenderer& renderer_;
  Picture shadow_colour_{kGlyphCellWidth, kGlyphCellHeight};  // black
  Picture text_colour_{kGlyphCellWidth, kGlyphCellHeight};
  std::optional<Rgb> applied_;
  Rgb speaker_colour_ = kWhite;
  std::function<Rgb()> speaker_source_;
  int pitch_x_ = 0;
};

}  // namespace quill
