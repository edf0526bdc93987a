#include "text/text_output.h"

#include "common/sjis.h"
#include "common/text_util.h"

namespace quill {
namespace {

// Calls f(code, bytes) for each character: a lead byte and its trail, or one byte.
template <typename F>
void ForEachChar(std::string_view text, F f) {
  for (size_t i = 0; i < text.size();) {
    auto lead = static_cast<uint8_t>(text[i]);
    if (IsLeadByte(lead) && i + 1 < text.size()) {
      f((static_cast<uint32_t>(lead) << 8) | static_cast<uint8_t>(text[i + 1]), 2);
      i += 2;
    } else {
      f(lead, 1);
      i += 1;
    }
  }
}

}  // namespace

TextFont* TextOutput::Select(const TextOutputFont& font) {
  Face* face = nullptr;
  for (Face& f : faces_) {
    if (f.bold == font.bold && f.face_sjis == font.face_sjis) face = &f;
  }
  if (face == nullptr) {
    Face f;
    f.face_sjis = font.face_sjis;
    f.bold = font.bold;
    f.font.Open(font.face_sjis, font.bold);
    faces_.push_back(std::move(f));
    face = &faces_.back();
  }
  if (!face->font.is_open()) return nullptr;
  if (font.height < 0) {
    face->font.SetEmPixels(-font.height);
  } else if (font.height > 0) {
    face->font.SetCellPixels(font.height);
  }
  return face->font.em_pixels() > 0 ? &face->font : nullptr;
}

int TextOutput::Ascent(const TextOutputFont& font) {
  TextFont* f = Select(font);
  return f ? f->ascent() : 0;
}

int TextOutput::Descent(const TextOutputFont& font) {
  TextFont* f = Select(font);
  return f ? f->descent() : 0;
}

int TextOutput::TextWidth(std::string_view sjis, const TextOutputFont& font) {
  TextFont* f = Select(font);
  if (f == nullptr) return 0;
  int width = 0;
  ForEachChar(UntilNul(sjis), [&](uint32_t code, int bytes) {
    char32_t cp = SjisCodeToCodePoint(code);
    // A byte pair with no Unicode twin keeps its room (half an em a byte) but shows nothing.
    if (cp == 0 || !f->RenderGray(cp, &bitmap_)) {
      width += bytes * f->em_pixels() / 2;
      return;
    }
    width += bitmap_.advance;
  });
  return width;
}

void TextOutput::DrawText(Picture& picture, int x, int y, std::string_view sjis,
                          const TextOutputFont& font, uint32_t colour) {
  TextFont* f = Select(font);
  if (f == nullptr || picture.empty()) return;
  const uint8_t c[3] = {static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour)};
  int baseline = y + f->ascent();
  int pen = x;
  ForEachChar(UntilNul(sjis), [&](uint32_t code, int bytes) {
    char32_t cp = SjisCodeToCodePoint(code);
    if (cp == 0 || !f->RenderGray(cp, &bitmap_)) {
      pen += bytes * f->em_pixels() / 2;
      return;
    }
    int left = pen + bitmap_.left;
    int top = baseline - bitmap_.top;
    for (int r = 0; r < bitmap_.rows; ++r) {
      int py = top + r;
      if (py < 0 || py >= picture.height()) continue;
      const uint8_t* src = bitmap_.pixels.data() + static_cast<size_t>(r) * bitmap_.width;
      uint8_t* row = picture.Row(py);
      for (int k = 0; k < bitmap_.width; ++k) {
        int px = left + k;
        int a = src[k];
        if (a == 0 || px < 0 || px >= picture.width()) continue;
        uint8_t* d = row + px * 3;
        for (int ch = 0; ch < 3; ++ch)
          d[ch] = static_cast<uint8_t>((d[ch] * (255 - a) + c[ch] * a + 127) / 255);
      }
    }
    pen += bitmap_.advance;
  });
}

}  // namespace quill
