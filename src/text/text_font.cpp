#include "text/text_font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>

#include <algorithm>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <cstdlib>
#include <system_error>

#include "common/sjis.h"
#include "common/text_util.h"

#ifndef QUILL_FONTCONFIG_DIR
#define QUILL_FONTCONFIG_DIR ""
#endif

namespace quill {
namespace {

constexpr const char* kRulesFile = "quill-fonts.conf";

FT_Library FreeType() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

// The engine's own configuration: the system rules, then ours, so that our aliases have the last
// word. Built once; the process's current fontconfig configuration is left alone.
FcConfig* EngineFontConfig() {
  static FcConfig* config = [] {
    FcConfig* c = FcInitLoadConfig();
    if (c == nullptr) return c;
    std::filesystem::path folder = FontRulesFolder();
    if (!folder.empty()) {
      std::string file = (folder / kRulesFile).string();
      FcConfigParseAndLoad(c, reinterpret_cast<const FcChar8*>(file.c_str()), FcFalse);
    }
    if (!FcConfigBuildFonts(c)) {
      FcConfigDestroy(c);
      return static_cast<FcConfig*>(nullptr);
    }
    return c;
  }();
  return config;
}

struct Candidate {
  FontMatch match;
  bool japanese = false;
};

std::optional<Candidate> MatchPattern(FcConfig* config, FcPattern* pattern) {
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* found = FcFontMatch(config, pattern, &result);
  if (found == nullptr) return std::nullopt;
  std::optional<Candidate> out;
  FcChar8* file = nullptr;
  if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
    Candidate c;
    c.match.path = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) c.match.index = index;
    FcChar8* family = nullptr;
    if (FcPatternGetString(found, FC_FAMILY, 0, &family) == FcResultMatch && family != nullptr) {
      c.match.family = reinterpret_cast<const char*>(family);
    }
    // The match reports the weight asked for when fontconfig would embolden a regular face.
    int weight = FC_WEIGHT_REGULAR;
    FcBool embolden = FcFalse;
    FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden);
    if (FcPatternGetInteger(found, FC_WEIGHT, 0, &weight) == FcResultMatch) {
      c.match.bold_face = weight >= FC_WEIGHT_DEMIBOLD && !embolden;
    }
    FcLangSet* langs = nullptr;
    if (FcPatternGetLangSet(found, FC_LANG, 0, &langs) == FcResultMatch && langs != nullptr) {
      c.japanese =
          FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
    }
    out = std::move(c);
  }
  FcPatternDestroy(found);
  return out;
}

FcPattern* BasePattern(bool bold) {
  FcPattern* p = FcPatternCreate();
  FcPatternAddInteger(p, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddBool(p, FC_SCALABLE, FcTrue);
  return p;
}

}  // namespace

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  int64_t product = static_cast<int64_t>(number) * numerator;
  bool negative = (product < 0) != (denominator < 0);
  int64_t a = product < 0 ? -product : product;
  int64_t b = denominator < 0 ? -static_cast<int64_t>(denominator) : denominator;
  int64_t q = (a + b / 2) / b;
  return static_cast<int>(negative ? -q : q);
}

std::filesystem::path FontRulesFolder() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    std::filesystem::path beside = exe.parent_path() / "data" / "fontconfig";
    if (std::filesystem::is_regular_file(beside / kRulesFile, ec)) return beside;
  }
  std::filesystem::path built(QUILL_FONTCONFIG_DIR);
  if (!built.empty() && std::filesystem::is_regular_file(built / kRulesFile, ec)) return built;
  return {};
}

std::optional<FontMatch> ResolveFontName(std::string_view face_sjis, bool bold) {
  FcConfig* config = EngineFontConfig();
  if (config == nullptr) return std::nullopt;
  std::string family = SjisToUtf8Lossy(UntilNul(face_sjis));
  if (!family.empty()) {
    FcPattern* p = BasePattern(bold);
    FcPatternAddString(p, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    std::optional<Candidate> named = MatchPattern(config, p);
    FcPatternDestroy(p);
    if (named && named->japanese) return named->match;
  }
  // Last resort: whatever can show Japanese.
  FcPattern* p = BasePattern(bold);
  FcLangSet* ja = FcLangSetCreate();
  FcLangSetAdd(ja, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddLangSet(p, FC_LANG, ja);
  FcLangSetDestroy(ja);
  std::optional<Candidate> any = MatchPattern(config, p);
  FcPatternDestroy(p);
  if (!any) return std::nullopt;
  return any->match;
}

std::vector<std::string> JapaneseFontFamilies() {
  std::vector<std::string> families;
  FcConfig* config = EngineFontConfig();
  if (config == nullptr) return families;
  FcPattern* pattern = FcPatternCreate();
  FcLangSet* langs = FcLangSetCreate();
  FcLangSetAdd(langs, reinterpret_cast<const FcChar8*>("ja"));
  FcPatternAddLangSet(pattern, FC_LANG, langs);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
  FcFontSet* set = FcFontList(config, pattern, objects);
  for (int i = 0; set && i < set->nfont; ++i) {
    FcChar8* name = nullptr;
    std::string chosen;
    for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &name) == FcResultMatch; ++n) {
      FcChar8* lang = nullptr;
      bool ja = FcPatternGetString(set->fonts[i], FC_FAMILYLANG, n, &lang) == FcResultMatch &&
                std::string_view(reinterpret_cast<const char*>(lang)) == "ja";
      if (n == 0 || ja) chosen = reinterpret_cast<const char*>(name);
      if (ja) break;
    }
    if (chosen.empty() || chosen[0] == '@') continue;
    if (std::find(families.begin(), families.end(), chosen) == families.end()) {
      families.push_back(chosen);
    }
  }
  if (set) FcFontSetDestroy(set);
  FcObjectSetDestroy(objects);
  FcLangSetDestroy(langs);
  FcPatternDestroy(pattern);
  std::sort(families.begin(), families.end());
  return families;
}

std::vector<std::string> StoredFontNames() {
  return {"ＭＳ ゴシック", "ＭＳ Ｐゴシック", "ＭＳ 明朝", "ＭＳ Ｐ明朝"};
}

char32_t SjisCodeToCodePoint(uint32_t code) {
  char bytes[2];
  size_t n = 0;
  if (code > 0xFF) bytes[n++] = static_cast<char>(code >> 8);
  bytes[n++] = static_cast<char>(code & 0xFF);
  Conversion c = SjisToUtf8(std::string_view(bytes, n));
  if (!c.ok() || c.text.empty()) return 0;
  const auto* s = reinterpret_cast<const uint8_t*>(c.text.data());
  size_t len = c.text.size();
  if (s[0] < 0x80) return s[0];
  if ((s[0] & 0xE0) == 0xC0 && len >= 2) return ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);
  if ((s[0] & 0xF0) == 0xE0 && len >= 3)
    return ((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
  if ((s[0] & 0xF8) == 0xF0 && len >= 4)
    return ((s[0] & 0x07) << 18) | ((s[1] & 0x3F) << 12) | ((s[2] & 0x3F) << 6) | (s[3] & 0x3F);
  return 0;
}

TextFont::~TextFont() { Close(); }

TextFont::TextFont(TextFont&& other) noexcept { *this = std::move(other); }

TextFont& TextFont::operator=(TextFont&& other) noexcept {
  if (this != &other) {
    Close();
    face_ = other.face_;
    match_ = std::move(other.match_);
    synthetic_bold_ = other.synthetic_bold_;
    em_pixels_ = other.em_pixels_;
    ascent_ = other.ascent_;
    descent_ = other.descent_;
    other.face_ = nullptr;
    other.em_pixels_ = other.ascent_ = other.descent_ = 0;
  }
  return *this;
}

void TextFont::Close() {
  if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
  face_ = nullptr;
  em_pixels_ = ascent_ = descent_ = 0;
}

bool TextFont::Open(std::string_view face_sjis, bool bold) {
  Close();
  FT_Library lib = FreeType();
  if (lib == nullptr) return false;
  std::optional<FontMatch> match = ResolveFontName(face_sjis, bold);
  if (!match) return false;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, match->path.c_str(), match->index, &face) != 0) return false;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return false;
  }
  face_ = face;
  match_ = std::move(*match);
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if ((face->style_flags & FT_STYLE_FLAG_BOLD) == 0 &&
      (os2 == nullptr || os2->usWeightClass < 600)) {
    match_.bold_face = false;
  }
  synthetic_bold_ = bold && !match_.bold_face;
  return true;
}

namespace {

// The Windows ascent and descent of a face in font units: the OS/2 "win" metrics, which is what
// the platform's text metrics are made of; the horizontal header where there is no OS/2 table.
void WindowsMetrics(FT_Face face, int* ascent, int* descent) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    *ascent = os2->usWinAscent;
    *descent = os2->usWinDescent;
  } else {
    *ascent = face->ascender;
    *descent = -face->descender;
  }
}

}  // namespace

void TextFont::SetEmPixels(int pixels) {
  if (face_ == nullptr || pixels <= 0 || pixels == em_pixels_) return;
  ApplyEm(pixels);
}

void TextFont::SetCellPixels(int pixels) {
  if (face_ == nullptr || pixels <= 0) return;
  auto* face = static_cast<FT_Face>(face_);
  int a = 0, d = 0;
  WindowsMetrics(face, &a, &d);
  int em = a + d > 0 ? MulDiv(pixels, face->units_per_EM, a + d) : pixels;
  SetEmPixels(em > 0 ? em : 1);
}

void TextFont::ApplyEm(int pixels) {
  auto* face = static_cast<FT_Face>(face_);
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) return;
  em_pixels_ = pixels;
  int a = 0, d = 0;
  WindowsMetrics(face, &a, &d);
  int upem = face->units_per_EM > 0 ? face->units_per_EM : 1;
  ascent_ = MulDiv(a, pixels, upem);
  descent_ = MulDiv(d, pixels, upem);
}

bool TextFont::RenderGray(char32_t code_point, GrayBitmap* out) const {
  *out = GrayBitmap{};
  if (face_ == nullptr || em_pixels_ == 0) return false;
  auto* face = static_cast<FT_Face>(face_);
  FT_UInt index = FT_Get_Char_Index(face, code_point);
  // Fixed flags rather than the desktop's hinting settings: the same text gives the same pixels
  // on every machine.
  if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  FT_Pos advance = slot->advance.x;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && synthetic_bold_) {
    // Thicken the strokes by one pixel to the right, keeping the left edge, as the platform's
    // simulated bold does; the advance grows by that pixel.
    FT_Outline_EmboldenXY(&slot->outline, 64, 0);
    FT_Outline_Translate(&slot->outline, 32, 0);
    advance += 64;
  }
  out->advance = static_cast<int>((advance + 32) >> 6);
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE && slot->outline.n_contours == 0) return true;
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
  const FT_Bitmap& bm = slot->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return true;
  out->width = static_cast<int>(bm.width);
  out->rows = static_cast<int>(bm.rows);
  out->left = slot->bitmap_left;
  out->top = slot->bitmap_top;
  out->pixels.resize(static_cast<size_t>(out->width) * out->rows);
  int levels = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
  for (int r = 0; r < out->rows; ++r) {
    const unsigned char* src = bm.buffer + static_cast<ptrdiff_t>(r) * bm.pitch;
    uint8_t* dst = out->pixels.data() + static_cast<size_t>(r) * out->width;
    for (int c = 0; c < out->width; ++c) {
      dst[c] = levels == 255 ? src[c] : static_cast<uint8_t>(src[c] * 255 / levels);
    }
  }
  return true;
}

}  // namespace quill
