#include "graphics/display_pieces.h"

#include <algorithm>

#include "engine/engine.h"

namespace quill {

void ShowOnDisplay(Engine& engine, const Picture& piece, int x, int y) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + piece.width(), kScreenWidth);
  int y1 = std::min(y + piece.height(), kScreenHeight);
  if (x0 >= x1 || y0 >= y1) return;
  Picture& work = engine.pictures().display_work;
  CopyPicture(work, x, y, piece);
  engine.platform().PresentRect(work, Rect{x0, y0, x1 - x0, y1 - y0});
}

void ShowOnDisplayAndScreen(Engine& engine, const Picture& piece, int x, int y) {
  CopyPicture(engine.screen(), x, y, piece);
  ShowOnDisplay(engine, piece, x, y);
}

void CutOut(Picture& out, const Picture& source, int x, int y, int w, int h) {
  if (out.width() != w || out.height() != h) {
    out.Create(w, h);
  } else {
    out.Fill(0, 0, 0);
  }
  CopyRect(out, 0, 0, source, x, y, w, h);
}

}  // namespace quill
