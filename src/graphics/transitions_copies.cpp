// The transitions that copy pieces of the new picture over the old one. The display is built in
// the fade output, which starts as the old picture, and shown whole once per frame (one repaint
// per frame instead of one per piece).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "engine/engine.h"
#include "graphics/transitions.h"

namespace quill {
namespace {

// Copies the piece of `from` at (x, y, w, h) to the same place of `to`, clipped to the screen.
void CopyPiece(Picture& to, const Picture& from, int x, int y, int w, int h) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, kScreenWidth), y1 = std::min(y + h, kScreenHeight);
  if (x1 <= x0 || y1 <= y0) return;
  CopyRect(to, x0, y0, from, x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

// Each 16-pixel stripe grows by one pixel per frame, stripe s starting at frame s.
void Transitions::Stripes() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  pics.fade_output = pics.saved;
  for (int f = 0; f < 70; ++f) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(speed_.frame_ms);
    for (int k = 0; k < 16; ++k) {
      int s = f + k - 15;
      if (s >= 0 && s < 80) CopyPiece(pics.fade_output, pics.screen, 16 * s, 0, 16 - k, 600);
    }
    ShowFrame();
    if (CutCheck()) return;
    clock.WaitUntil(deadline);
  }
}

// A disc of the new picture grows from the centre, 10 pixels of radius per frame.
void Transitions::Iris() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  ValueBanks& banks = engine_.banks();
  Picture& fo = pics.fade_output;
  fo = pics.saved;
  // Wide arithmetic: the cells may hold any value.
  const int64_t reach =
      std::max(std::abs(int64_t{banks.S(20)} - 400), std::abs(int64_t{banks.S(21)} - 300)) + 500;
  const int r_max = static_cast<int>(std::min<int64_t>(reach, INT32_MAX - 10));
  // Columns 400 − h … 400 + h inclusive of `row`.
  auto span = [&](int row, int h) { CopyPiece(fo, pics.screen, 400 - h, row, 2 * h + 1, 1); };
  for (int r = 5; r < r_max; r += 10) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(speed_.frame_ms);
    int x = r, y = 0, d = r;
    while (x >= y) {
      if (y <= 300) {
        span(300 - y, std::min(x, 400));
        span(300 + y, std::min(x, 400));
      }
      if (x <= 300) {
        span(300 - x, std::min(y, 400));
        span(300 + x, std::min(y, 400));
      }
      d -= 2 * y - 1;
      y += 1;
      if (d < 0) {
        d += 2 * (x - 1);
        x -= 1;
      }
    }
    ShowFrame();
    if (CutCheck()) return;
    clock.WaitUntil(deadline);
  }
}

// Even rows (columns) fill from the top (left), odd ones from the bottom (right), ten per frame.
void Transitions::Lines(bool columns) {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  pics.fade_output = pics.saved;
  const int end = columns ? kScreenWidth : kScreenHeight;
  const int frame_ms = speed_.frame_ms / (columns ? 3 : 2);
  int at = 0;
  while (at < end) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(frame_ms);
    for (int i = 0; i < 5; ++i) {
      if (columns) {
        CopyPiece(pics.fade_output, pics.screen, at, 0, 1, kScreenHeight);
        CopyPiece(pics.fade_output, pics.screen, end - 1 - at, 0, 1, kScreenHeight);
      } else {
        CopyPiece(pics.fade_output, pics.screen, 0, at, kScreenWidth, 1);
        CopyPiece(pics.fade_output, pics.screen, 0, end - 1 - at, kScreenWidth, 1);
      }
      at += 2;
    }
    ShowFrame();
    if (CutCheck()) return;
    clock.WaitUntil(deadline);
  }
}

// Squares of a 64-pixel grid grow in a diagonal wave from the top left.
void Transitions::GrowingSquares() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  pics.fade_output = pics.saved;
  for (int f = 0; f < 57; ++f) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(speed_.frame_ms);
    for (int k = 0; k < 32; ++k) {
      int h = 32 - k;
      int s = f + k - 32;
      for (int i = 0; i < 10; ++i) {
        int d = s - i;
        if (d >= 0 && d < 25) {
          CopyPiece(pics.fade_output, pics.screen, 64 * d + 32 - h, 64 * i + 32 - h, 2 * h, 2 * h);
        }
      }
    }
    ShowFrame();
    if (CutCheck()) return;
    clock.WaitUntil(deadline);
  }
}

// Every row splits at a random point; its 1200 halves arrive in random order, 24 per frame.
void Transitions::SplitRows() {
  ScreenPictures& pics = engine_.pictures();
  Platform& platform = engine_.platform();
  pics.fade_output = pics.saved;
  std::array<int, kScreenHeight> split{};
  for (int r = 0; r < kScreenHeight; ++r) {
    split[static_cast<size_t>(r)] = engine_.NextRandom() % 600 + 20;
  }
  std::array<int, 2 * kScreenHeight> pieces{};
  for (int i = 0; i < 2 * kScreenHeight; ++i) pieces[static_cast<size_t>(i)] = i;
  for (int i = 0; i < 2 * kScreenHeight; ++i) {
    int j = 2 * (engine_.NextRandom() % 600);
    std::swap(pieces[static_cast<size_t>(i)], pieces[static_cast<size_t>(j)]);
  }
  for (int first = 0; first < 2 * kScreenHeight; first += 24) {
    for (int i = first; i < first + 24; ++i) {
      int piece = pieces[static_cast<size_t>(i)];
      int r = piece % kScreenHeight;
      int s = split[static_cast<size_t>(r)];
      if (piece < kScreenHeight) {
        CopyPiece(pics.fade_output, pics.screen, 0, r, s, 1);
      } else {
        CopyPiece(pics.fade_output, pics.screen, s, r, kScreenWidth - s, 1);
      }
    }
    ShowFrame();
    if (CutCheck()) return;
    platform.SleepMs(static_cast<uint32_t>(speed_.frame_ms));
    platform.PumpMessages();
  }
}

// A band of 128 rows moves down; inside it every byte of the old picture steps 16 towards the
// new one. The saved screen ends as the new picture.
void Transitions::Converge() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& old_pic = pics.saved;
  for (int v = -124; v < 664; v += 8) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(speed_.frame_ms);
    int r0 = std::max(v, 0), r1 = std::min(v + 128, kScreenHeight);
    for (int r = r0; r < r1; ++r) {
      uint8_t* o = old_pic.Row(r);
      const uint8_t* n = pics.screen.Row(r);
      for (int b = 0; b < kScreenWidth * 3; ++b) {
        int diff = n[b] - o[b];
        o[b] = static_cast<uint8_t>(o[b] + std::clamp(diff, -16, 16));
      }
    }
    Show(old_pic);
    if (CutCheck()) return;
    clock.WaitUntil(deadline);
  }
}

// Strips 20 pixels wide, slanted one pixel per row, grow into the old picture (changed in place)
// from the left; every second frame is shown.
void Transitions::SlantedStrips() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& old_pic = pics.saved;
  for (int f = 0; f < 95; ++f) {
    uint32_t deadline = clock.Now() + static_cast<uint32_t>(speed_.frame_ms);
    for (int k = 0; k < 20; ++k) {
      int w = 20 - k;
      int s = f + k - 19;
      for (int r = 0; r < kScreenHeight; ++r) {
        CopyPiece(old_pic, pics.screen, 20 * s - r, r, w, 1);
      }
    }
    if (f % 2 == 1) {
      Show(old_pic);
      clock.WaitUntil(deadline);
    }
    if (CutCheck()) return;
  }
}

// The two halves of the new picture slide in from the sides, 32 pixels per two periods.
void Transitions::HalvesSlideIn() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  fo = pics.saved;
  int v = 32;
  do {
    CopyRect(fo, 0, 0, pics.screen, 400 - v, 0, v, kScreenHeight);
    CopyRect(fo, 800 - v, 0, pics.screen, 400, 0, v, kScreenHeight);
    ShowFrame();
    if (CutCheck()) return;
    v += 32 * clock.ClockWait(2 * speed_.period_ms);
  } while (v <= 400);
  Show(pics.screen);
}

// The new picture pushes the old one out to the right.
void Transitions::PushFromLeft() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  int v = 0;
  do {
    CopyRect(fo, 0, 0, pics.screen, 800 - v, 0, v, kScreenHeight);
    CopyRect(fo, v, 0, pics.saved, 0, 0, 800 - v, kScreenHeight);
    ShowFrame();
    if (CutCheck()) return;
    v += 20 * clock.ClockWait(speed_.period_ms);
  } while (v < 800);
  Show(pics.screen);
}

}  // namespace quill
