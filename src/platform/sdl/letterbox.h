#pragma once
// Where the 800 × 600 picture sits in a window of any size, and how window pixels map to screen
// pixels and back. Pure arithmetic, so the window backend and its tests share one truth.
#include "common/picture.h"

namespace quill {

struct WindowLayout {
  Rect toolbar;    // the toolbar rows at the top; empty when the toolbar is hidden
  Rect game_area;  // the rest of the window, which the picture is fitted into
  Rect picture;    // the picture, scaled with its aspect kept and centred (letterbox)
};

// The largest rectangle of the picture's aspect that fits in `area`, centred in it. Empty when
// the area is empty.
Rect FitAspect(Rect area, int picture_width, int picture_height);

// The layout of a window of window_width × window_height: the toolbar (kToolbarHeight rows) when
// shown, and the 800 × 600 screen letterboxed below it.
WindowLayout ComputeLayout(int window_width, int window_height, bool toolbar_shown);

struct ScreenPoint {
  int x = 0, y = 0;
  bool inside = false;  // the window pixel lies on the picture
};

// The screen pixel under window pixel (wx, wy) when the picture is drawn at `picture`. Points in
// the bars map beyond the screen's edges (inside = false); an empty picture maps to (0, 0).
ScreenPoint WindowToScreen(Rect picture, int wx, int wy);

// The window pixel at the centre of screen pixel (sx, sy).
void ScreenToWindow(Rect picture, int sx, int sy, int& wx, int& wy);

// (x, y) moved onto the nearest screen pixel.
void ClampToScreen(int& x, int& y);

}  // namespace quill
