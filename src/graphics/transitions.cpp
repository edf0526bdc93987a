// RunTransition: the driver, the speed table, the cut check and the blended types.
#include "graphics/transitions.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/fades.h"

namespace quill {
namespace {

constexpr int kRowBytes = kScreenWidth * 3;
constexpr size_t kRowGroups = kRowBytes / 8;

constexpr std::array<TransitionSpeed, 17> kSpeeds = {{
    {4, 8, 20},
    {32, 4, 1},
    {32, 8, 2},
    {32, 12, 3},
    {16, 8, 5},
    {16, 12, 8},
    {8, 8, 12},
    {8, 12, 16},
    {4, 8, 20},
    {4, 10, 30},
    {4, 12, 40},
    {2, 8, 60},
    {2, 12, 70},
    {1, 8, 80},
    {1, 12, 100},
    {1, 16, 120},
    {1, 20, 140},
}};

// The types read and write whole rows of the screen pictures.
void KeepScreenSized(Picture& picture) {
  if (picture.width() != kScreenWidth || picture.height() != kScreenHeight) {
    picture.Resize(kScreenWidth, kScreenHeight);
  }
}

}  // namespace

TransitionSpeed SpeedFor(int s016) {
  if (s016 < 0 || s016 >= static_cast<int>(kSpeeds.size())) return kSpeeds[0];
  return kSpeeds[static_cast<size_t>(s016)];
}

void Transitions::set_overlay_name(std::string_view name) {
  overlay_name_ = std::string(name.substr(0, 29));
}

bool Transitions::Interrupted() const { return engine_.transition_interrupt != 0; }

void Transitions::Show(const Picture& picture) { engine_.platform().Present(picture); }

void Transitions::ShowFrame() { Show(engine_.pictures().fade_output); }

bool Transitions::CutCheck() {
  if (!Interrupted()) return false;
  Show(engine_.pictures().screen);
  engine_.banks().SetS(19, 1);
  return true;
}

void Transitions::RunTransition(int t) {
  Engine& e = engine_;
  ValueBanks& banks = e.banks();
  e.busy = true;
  e.transition_running = true;
  e.transition_interrupt = 0;
  banks.SetS(19, 0);
  if (t < 0) t = 1;
  if (e.settings().Int(SettingId::GMode) != 0 || e.skip_mode) t = 4;
  ScreenPictures& pics = e.pictures();
  for (Picture* p : {&pics.saved, &pics.screen, &pics.fade_output, &pics.wipe}) {
    KeepScreenSized(*p);
  }
  e.frame_clock().ClockStart();
  speed_ = SpeedFor(banks.S(16));
  switch (t) {
    case 1:
      CrossFadeDisplay(e, 16, 10);
      break;
    case 2:
      CrossFadeDisplay(e, 8, 15);
      break;
    case 3:
      CrossFadeDisplay(e, speed_.level_step, speed_.period_ms);
      break;
    case 4:
      Show(e.pictures().screen);
      break;
    case 5:
      RuleWipe();
      break;
    case 6:
      Stripes();
      break;
    case 7:
      Iris();
      break;
    case 8:
      RandomTiles();
      break;
    case 9:
      Lines(false);
      break;
    case 10:
      Lines(true);
      break;
    case 11:
      GrowingSquares();
      break;
    case 12:
      Mosaic();
      break;
    case 13:
      SoftWipe();
      break;
    case 14:
      SplitRows();
      break;
    case 15:
      Converge();
      break;
    case 16:
      SlantedStrips();
      break;
    case 17:
      DitheredFade();
      break;
    case 18:
      HalvesSlideIn();
      break;
    case 19:
      PushFromLeft();
      break;
    case 20:
      ZoomFade();
      break;
    case 21:
      SlideFade(true);
      break;
    case 22:
      SlideFade(false);
      break;
    default:
      break;  // 0 and unknown numbers draw nothing
  }
  // The cross-fades stop early on an interruption and show the new picture themselves.
  if (t >= 1 && t <= 3) CutCheck();
  banks.SetS(16, 0);
  if (banks.S(150) != 0) e.pictures().saved = e.pictures().screen;
  e.busy = false;
  e.transition_running = false;
}

// Each pixel passes from old to new as the pattern value plus the sweep crosses 0…255: bright
// pattern areas change first.
void Transitions::RuleWipe() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  const int a = speed_.level_step;
  Picture& fo = pics.fade_output;
  for (int v = 256 - a; v > 0; v -= a * clock.ClockWait(speed_.period_ms)) {
    Darken(fo, pics.wipe, v);
    MaskedBlend(fo, pics.saved, pics.screen, fo);
    ShowFrame();
    if (CutCheck()) return;
  }
  int v = 0;
  do {
    Brighten(fo, pics.wipe, v);
    MaskedBlend(fo, pics.saved, pics.screen, fo);
    ShowFrame();
    if (CutCheck()) return;
    v += a * clock.ClockWait(speed_.period_ms);
  } while (v < 256);
  Show(pics.screen);
}

// Tiles of 80 × 60 fade in over 16 steps each, a new one starting every step, in random order.
void Transitions::RandomTiles() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  fo = pics.saved;
  std::array<int, 100> order;
  for (int i = 0; i < 100; ++i) order[static_cast<size_t>(i)] = i;
  for (int i = 0; i < 100; ++i) {
    int j = engine_.NextRandom() % 100;
    std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
  }
  auto fade_tile = [&](int j, int weight) {
    if (j < 0 || j > 99) return;
    int n = order[static_cast<size_t>(j)];
    CrossFadeTile(fo, pics.saved, pics.screen, (n % 10) * kFadeTileWidth,
                  (n / 10) * kFadeTileHeight, weight);
  };
  clock.ClockStart();
  int i = 0;
  do {
    if (i >= 4) {
      for (int j = i - 19; j <= i - 16; ++j) fade_tile(j, 0);
    }
    for (int k = 0; k <= 16; ++k) fade_tile(i - 16 + k, 16 * k);
    ShowFrame();
    if (CutCheck()) return;
    i += clock.ClockWait(speed_.period_ms);
  } while (i < 116);
  // A late step can jump past a tile's last levels; the end is the new picture all the same.
  Show(pics.screen);
}

void Transitions::Mosaic() {
  static constexpr std::array<int, 10> kSizes = {2, 3, 4, 6, 8, 12, 16, 20, 28, 40};
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  const int period = 3 * speed_.period_ms;
  clock.ClockStart();
  for (int i = 0; i < 10; i += clock.ClockWait(period)) {
    Pixelate(pics.fade_output, pics.saved, kSizes[static_cast<size_t>(i)]);
    ShowFrame();
    if (CutCheck()) return;
  }
  for (int i = 9; i >= 0; i -= clock.ClockWait(period)) {
    Pixelate(pics.fade_output, pics.screen, kSizes[static_cast<size_t>(i)]);
    ShowFrame();
    if (CutCheck()) return;
  }
  Show(pics.screen);
}

// A 256-pixel soft edge led by 32 pixels of pure new picture sweeps from the left.
void Transitions::SoftWipe() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  fo = pics.saved;
  std::array<uint8_t, 288> ramp{};
  for (int j = 32; j < 288; ++j) ramp[static_cast<size_t>(j)] = static_cast<uint8_t>(j - 32);
  std::vector<uint8_t> mask(kRowBytes, 0);
  for (int v = -280; v < 800; v += 8 * clock.ClockWait(speed_.period_ms)) {
    int x0 = std::max(v, 0);
    int x1 = std::min(v + 288, kScreenWidth);
    if (x1 > x0) {
      for (int x = x0; x < x1; ++x) {
        uint8_t m = ramp[static_cast<size_t>(x - v)];
        mask[static_cast<size_t>(3 * x)] = m;
        mask[static_cast<size_t>(3 * x + 1)] = m;
        mask[static_cast<size_t>(3 * x + 2)] = m;
      }
      size_t offset = static_cast<size_t>(3 * x0);
      size_t groups = static_cast<size_t>(3 * (x1 - x0)) / 8;
      for (int r = 0; r < kScreenHeight; ++r) {
        MaskedBlendRow(fo.Row(r) + offset, pics.screen.Row(r) + offset, pics.saved.Row(r) + offset,
                       mask.data() + offset, groups);
      }
    }
    ShowFrame();
    if (CutCheck()) return;
  }
  // A late step can leave the last columns blended; the end is the new picture all the same.
  Show(pics.screen);
}

void Transitions::DitheredFade() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  fo = pics.saved;
  int s016 = engine_.banks().S(16);
  const int n = (s016 >= 1 && s016 <= 128) ? s016 : 16;
  std::vector<uint8_t> table(65536);
  for (int m = 1; m <= n; ++m) {
    for (int old_v = 0; old_v < 256; ++old_v) {
      for (int new_v = 0; new_v < 256; ++new_v) {
        table[static_cast<size_t>(old_v + 256 * new_v)] =
            static_cast<uint8_t>((old_v * (n - m) + new_v * m) / n);
      }
    }
    for (int p = 0; p < 4; ++p) {
      uint32_t deadline = clock.Now() + static_cast<uint32_t>(2 * speed_.frame_ms);
      int first_pixel = (p == 0 || p == 3) ? 0 : 1;
      for (int r = p % 2; r < kScreenHeight; r += 2) {
        uint8_t* out = fo.Row(r);
        const uint8_t* o = pics.saved.Row(r);
        const uint8_t* w = pics.screen.Row(r);
        for (int x = first_pixel; x < kScreenWidth; x += 2) {
          for (int c = 0; c < 3; ++c) {
            size_t b = static_cast<size_t>(3 * x + c);
            out[b] = table[o[b] + 256u * w[b]];
          }
        }
      }
      ShowFrame();
      // This type's interruption shows the new picture without marking S019.
      if (Interrupted()) {
        Show(pics.screen);
        return;
      }
      clock.WaitUntil(deadline);
      engine_.platform().PumpMessages();
    }
  }
}

// The old picture grows around the centre while the new one fades in.
void Transitions::ZoomFade() {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  auto q = [](int n, int d) { return (n / d) / 256; };
  std::array<int, kScreenWidth> source_x{};
  std::vector<uint8_t> zoomed(kRowBytes);
  int v = 8;
  do {
    for (int x = 0; x < kScreenWidth; ++x) {
      source_x[static_cast<size_t>(x)] = std::clamp(400 + q((x - 400) * 76800, v + 300), 0, 799);
    }
    for (int r = 0; r < kScreenHeight; ++r) {
      int sy = std::clamp(300 + q((r - 300) * 76800, v + 300), 0, 599);
      const uint8_t* src = pics.saved.Row(sy);
      for (int x = 0; x < kScreenWidth; ++x) {
        const uint8_t* s = src + 3 * source_x[static_cast<size_t>(x)];
        uint8_t* d = zoomed.data() + 3 * x;
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
      CrossFadeRow(fo.Row(r), pics.screen.Row(r), zoomed.data(), kRowGroups, v);
    }
    ShowFrame();
    if (CutCheck()) return;
    v += 8 * clock.ClockWait(speed_.period_ms);
  } while (v < 256);
  Show(pics.screen);
}

// Both pictures move sideways by v while the new one fades in; each row is laid into two lines of
// 1056 pixels with 256 black pixels on the side the picture moves away from.
void Transitions::SlideFade(bool to_left) {
  ScreenPictures& pics = engine_.pictures();
  FrameClock& clock = engine_.frame_clock();
  Picture& fo = pics.fade_output;
  constexpr int kLine = 1056 * 3;
  constexpr int kPad = 256 * 3;
  std::vector<uint8_t> old_line(kLine, 0), new_line(kLine, 0);
  int v = 8;
  do {
    for (int r = 0; r < kScreenHeight; ++r) {
      const uint8_t* o = pics.saved.Row(r);
      const uint8_t* n = pics.screen.Row(r);
      if (to_left) {
        std::copy(o, o + kRowBytes, old_line.begin());
        std::copy(n, n + kRowBytes, new_line.begin() + kPad);
        CrossFadeRow(fo.Row(r), new_line.data() + 3 * v, old_line.data() + 3 * v, kRowGroups, v);
      } else {
        std::copy(o, o + kRowBytes, old_line.begin() + kPad);
        std::copy(n, n + kRowBytes, new_line.begin());
        int at = 3 * (256 - v);
        CrossFadeRow(fo.Row(r), new_line.data() + at, old_line.data() + at, kRowGroups, v);
      }
    }
    ShowFrame();
    if (CutCheck()) return;
    v += 8 * clock.ClockWait(speed_.period_ms);
  } while (v < 256);
  Show(pics.screen);
}

}  // namespace quill
