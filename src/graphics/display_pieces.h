#pragma once
// Putting a picture on the display PB at a place: the display only takes whole pictures and
// areas of them, so the piece is laid into a screen-sized work picture first.
#include "common/picture.h"

namespace quill {

class Engine;

// Shows `piece` with its top-left corner at (x, y) on the display, clipped to the screen.
void ShowOnDisplay(Engine& engine, const Picture& piece, int x, int y);
// The same, and the piece goes into the screen buffer there too.
void ShowOnDisplayAndScreen(Engine& engine, const Picture& piece, int x, int y);
// The rectangle of `source` at (x, y), w × h, clipped to it: the part outside stays black.
void CutOut(Picture& out, const Picture& source, int x, int y, int w, int h);

}  // namespace quill
