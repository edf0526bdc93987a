#include "platform/sdl/letterbox.h"

#include <algorithm>
#include <cstdint>

#include "platform/platform.h"

namespace quill {
namespace {

// Floor division for possibly negative numerators (points left of or above the picture).
int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
  return q;
}

// Maps the centre of pixel `p` of a span of `from` pixels onto a span of `to` pixels.
int MapCentre(int p, int from, int to) {
  return static_cast<int>(FloorDiv((2 * static_cast<int64_t>(p) + 1) * to, 2 * int64_t{from}));
}

}  // namespace

Rect FitAspect(Rect area, int picture_width, int picture_height) {
  if (area.w <= 0 || area.h <= 0 || picture_width <= 0 || picture_height <= 0) {
    return Rect{area.x, area.y, 0, 0};
  }
  int64_t w, h;
  if (int64_t{area.w} * picture_height <= int64_t{area.h} * picture_width) {
    w = area.w;  // width-limited: bars above and below
    h = (w * picture_height * 2 + picture_width) / (2 * int64_t{picture_width});
  } else {
    h = area.h;  // height-limited: bars left and right
    w = (h * picture_width * 2 + picture_height) / (2 * int64_t{picture_height});
  }
  w = std::clamp<int64_t>(w, 1, area.w);
  h = std::clamp<int64_t>(h, 1, area.h);
  return Rect{area.x + static_cast<int>((area.w - w) / 2),
              area.y + static_cast<int>((area.h - h) / 2), static_cast<int>(w),
              static_cast<int>(h)};
}

WindowLayout ComputeLayout(int window_width, int window_height, bool toolbar_shown) {
  WindowLayout layout;
  window_width = std::max(window_width, 0);
  window_height = std::max(window_height, 0);
  int bar = toolbar_shown ? std::min(kToolbarHeight, window_height) : 0;
  layout.toolbar = Rect{0, 0, bar > 0 ? window_width : 0, bar};
  layout.game_area = Rect{0, bar, window_width, window_height - bar};
  layout.picture = FitAspect(layout.game_area, kScreenWidth, kScreenHeight);
  return layout;
}

ScreenPoint WindowToScreen(Rect picture, int wx, int wy) {
  ScreenPoint p;
  if (picture.w <= 0 || picture.h <= 0) return p;
  p.x = MapCentre(wx - picture.x, picture.w, kScreenWidth);
  p.y = MapCentre(wy - picture.y, picture.h, kScreenHeight);
  p.inside = wx >= picture.x && wx < picture.x + picture.w && wy >= picture.y &&
             wy < picture.y + picture.h;
  return p;
}

void ScreenToWindow(Rect picture, int sx, int sy, int& wx, int& wy) {
  wx = picture.x + MapCentre(sx, kScreenWidth, picture.w);
  wy = picture.y + MapCentre(sy, kScreenHeight, picture.h);
}

void ClampToScreen(int& x, int& y) {
  x = std::clamp(x, 0, kScreenWidth - 1);
  y = std::clamp(y, 0, kScreenHeight - 1);
}

}  // namespace quill
