#include "engine/one_shot_effects.h"

#include <algorithm>
#include <string>

#include "common/text_util.h"
#include "engine/end_credits.h"
#include "engine/engine.h"
#include "graphics/fades.h"

namespace quill {
namespace {

constexpr int kFlashes = 7;
constexpr uint32_t kFlashMs = 20;
constexpr int kJoltOffset = 20;
constexpr uint32_t kJoltMs = 50;
constexpr int kRateRight = 570;
constexpr int kRateTop = 12;
constexpr int kRateFontHeight = 32;
// "ＭＳ Ｐゴシック"
constexpr std::string_view kRateFace =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

struct FlagRange {
  int first, last;
};
constexpr FlagRange kCompletionRanges[] = {{1, 38},    {101, 131}, {201, 250}, {301, 337},
                                           {401, 444}, {501, 521}, {601, 607}};
constexpr int kCompletionFlags = 228;

void WhiteFlash(Engine& engine) {
  ScreenPictures& pics = engine.pictures();
  Platform& platform = engine.platform();
  pics.fade_output = pics.screen;
  Picture& white = pics.display_work;
  for (int i = 0; i < kFlashes; ++i) {
    white.Fill(255, 255, 255);
    platform.Present(white);
    platform.SleepMs(kFlashMs);
    platform.Present(pics.fade_output);
    platform.SleepMs(kFlashMs);
  }
}

void WindowJolt(Engine& engine) {
  Platform& platform = engine.platform();
  // The same 20 pixels every time, up first and down last.
  for (int c = 20; c > 0; c -= 2) {
    platform.SetShakeOffset(0, (c & 2) != 0 ? kJoltOffset : -kJoltOffset);
    platform.SleepMs(kJoltMs);
  }
  platform.SetShakeOffset(0, 0);
}

// "2,TOP,BOTTOM,LEVEL": the rows above TOP and from BOTTOM on scaled by LEVEL sixteenths.
void DarkenedBands(Engine& engine, std::string_view argument) {
  std::string_view rest = argument.size() > 2 ? argument.substr(2) : std::string_view();
  auto next = [&rest]() {
    size_t comma = rest.find(',');
    rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
  };
  const int top = std::clamp(ParseInt(rest), 0, kScreenHeight);
  next();
  const int bottom = std::clamp(ParseInt(rest), 0, kScreenHeight);
  next();
  const int64_t level = ParseInt(rest);
  Picture& screen = engine.screen();
  auto darken = [&](int from, int to) {
    for (int r = from; r < to; ++r) {
      uint8_t* row = screen.Row(r);
      for (int i = 0; i < screen.stride(); ++i) {
        row[i] = static_cast<uint8_t>((row[i] * level) >> 4);
      }
    }
  };
  darken(0, top);
  darken(bottom, kScreenHeight);
  engine.platform().Present(screen);
}

void ShowCompletionRate(Engine& engine) {
  std::string text = std::to_string(CompletionRate(engine.banks()));
  TextOutputFont font;
  font.face_sjis = std::string(kRateFace);
  font.height = kRateFontHeight;
  TextOutput& out = engine.text_output();
  const int width = out.TextWidth(text, font);
  const int height = std::max(kRateFontHeight, out.Ascent(font) + out.Descent(font));
  // Only on the display: it is laid over a copy of the screen buffer and that area shown.
  Picture& work = engine.pictures().display_work;
  work = engine.screen();
  out.DrawText(work, kRateRight - width, kRateTop, text, font, 0xFFFFFF);
  Rect area{std::max(kRateRight - width, 0), kRateTop, std::min(width, kRateRight), height};
  engine.platform().PresentRect(work, area);
}

}  // namespace

int CompletionRate(const ValueBanks& banks) {
  int set = 0;
  for (const FlagRange& range : kCompletionRanges) {
    for (int n = range.first; n <= range.last; ++n) set += banks.E.Test(n) ? 1 : 0;
  }
  return set * 100 / kCompletionFlags;
}

void SpecialEffect(Engine& engine, std::string_view argument) {
  argument = UntilNul(argument);
  if (argument.empty()) return;
  switch (argument[0]) {
    case '0':
      WhiteFlash(engine);
      break;
    case '1':
      WindowJolt(engine);
      break;
    case '2':
      DarkenedBands(engine, argument);
      break;
    case '3':
    case '4':
      SepiaFlashback(engine);
      break;
    case '5':
      EndCredits(engine);
      break;
    case '6':
      ShowCompletionRate(engine);
      break;
    default:
      break;
  }
}

}  // namespace quill
