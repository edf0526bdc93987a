// Cost of drawing one game glyph, against copying the glyph cell's bytes into the picture.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "common/picture.h"
#include "common/sjis.h"
#include "text/glyph_drawing.h"

namespace quill {
namespace {

struct Fixture {
  GlyphRenderer renderer;
  GlyphDrawing drawing{renderer};
  Picture screen{800, 600};
  std::string glyph;

  Fixture() {
    TextFont font;
    font.Open("MS Gothic", false);
    renderer.SetFont(std::move(font));
    renderer.set_point_size(19);
    drawing.StartUp();
    glyph = Utf8ToSjisLossy("あ");  // warmed, so always a cache hit
    screen.Fill(80, 60, 40);
  }
};

Fixture& Shared() {
  static Fixture f;
  return f;
}

// The reference: 36 rows of 32 pixels copied into the screen at the same place.
void BM_CellMemcpy(benchmark::State& state) {
  Fixture& f = Shared();
  Picture cell(kGlyphCellWidth, kGlyphCellHeight);
  cell.Fill(1, 2, 3);
  for (auto _ : state) {
    for (int r = 0; r < kGlyphCellHeight; ++r) {
      std::memcpy(f.screen.Pixel(300, 400 + r), cell.Row(r), kGlyphCellWidth * 3);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_CellMemcpy);

// PutGlyph of a prepared glyph: shadow pass and text pass.
void BM_PutGlyph(benchmark::State& state) {
  Fixture& f = Shared();
  f.renderer.RenderGlyph(f.glyph);
  for (auto _ : state) {
    f.drawing.PutGlyph(f.screen, 300, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PutGlyph);

// What each typed character costs: the cache look-up that prepares the masks, then PutGlyph.
void BM_RenderCachedAndPut(benchmark::State& state) {
  Fixture& f = Shared();
  for (auto _ : state) {
    f.renderer.RenderGlyph(f.glyph);
    f.drawing.PutGlyph(f.screen, 300, 400);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RenderCachedAndPut);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
