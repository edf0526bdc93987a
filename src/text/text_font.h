#pragma once
// The text font: a face found through fontconfig by the names the game asks for, rasterised by
// FreeType, sized as the original platform sizes fonts at 96 dpi.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

// number × numerator / denominator with the Windows rounding (to nearest, halves away from zero);
// -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);
// Em height in pixels of a point size at 96 dpi: MulDiv(points, 96, 72), so 19 pt is 25 px.
inline int PointsToPixels(int points) { return MulDiv(points, 96, 72); }

// Where the shipped fontconfig rules live: <exe dir>/data/fontconfig when that holds them (the
// installed layout), else the source tree's folder. Empty when neither has them.
std::filesystem::path FontRulesFolder();

struct FontMatch {
  std::string path;        // font file
  int index = 0;           // face index inside the file
  std::string family;      // UTF-8 family name of the face found
  bool bold_face = false;  // the face itself is bold (no emboldening needed)
};

// Finds the font for a face name given in Shift-JIS ("ＭＳ ゴシック", FONT_NAME ...), through the
// engine's own fontconfig configuration (the system's plus the shipped aliases). A name whose best
// match cannot show Japanese falls back to any font that can. nullopt when there is no font.
std::optional<FontMatch> ResolveFontName(std::string_view face_sjis, bool bold);

// The families of the installed fonts that cover Japanese, sorted, UTF-8: by their Japanese name
// where the font has one, else by their first name; none beginning with '@'.
std::vector<std::string> JapaneseFontFamilies();
// The face names the original's games store, which the shipped font rules map to installed
// fonts (UTF-8).
std::vector<std::string> StoredFontNames();

// One character's 256-level antialiased coverage, placed as the platform places glyph outlines:
// `left` is the distance from the pen position to the first column, `top` the distance from the
// baseline up to the first row.
struct GrayBitmap {
  int width = 0;
  int rows = 0;
  int left = 0;
  int top = 0;
  int advance = 0;              // pen advance in whole pixels
  std::vector<uint8_t> pixels;  // width × rows, rows from the top, 0..255
};

class TextFont {
 public:
  TextFont() = default;
  ~TextFont();
  TextFont(TextFont&& other) noexcept;
  TextFont& operator=(TextFont&& other) noexcept;
  TextFont(const TextFont&) = delete;
  TextFont& operator=(const TextFont&) = delete;

  // Opens the face for a Shift-JIS name; bold uses a bold face when there is one, else the
  // outline is emboldened. The size is set apart. False (and the font stays closed) when no
  // font can be found or loaded.
  bool Open(std::string_view face_sjis, bool bold);
  bool is_open() const { return face_ != nullptr; }

  // Size as a point size (FONTSIZE), an em height in pixels, or a character cell height in
  // pixels (ascent + descent, as a positive font height asks for). Setting the current size
  // again costs nothing.
  void SetPointSize(int points) { SetEmPixels(PointsToPixels(points)); }
  void SetEmPixels(int pixels);
  void SetCellPixels(int pixels);

  int em_pixels() const { return em_pixels_; }
  // The platform's text metrics: ascent and descent in pixels from the face's Windows metrics.
  int ascent() const { return ascent_; }
  int descent() const { return descent_; }
  const FontMatch& match() const { return match_; }
  // True when bold was asked for and the face is not bold itself.
  bool synthetic_bold() const { return synthetic_bold_; }

  // Renders one Unicode character. False when the font is closed or the face cannot load it; a
  // character without an outline (a space) gives true and an empty bitmap.
  bool RenderGray(char32_t code_point, GrayBitmap* out) const;

 private:
  void Close();
  void ApplyEm(int pixels);

  void* face_ = nullptr;  // FT_Face, kept opaque so FreeType stays out of this header
  FontMatch match_;
  bool synthetic_bold_ = false;
  int em_pixels_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
};

// The Unicode code point of one Shift-JIS character, given as (lead << 8) | trail or a single
// byte; 0 when it does not convert.
char32_t SjisCodeToCodePoint(uint32_t code);

}  // namespace quill
