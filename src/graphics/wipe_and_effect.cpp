#include "graphics/wipe_and_effect.h"

#include <string>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/game_config.h"

namespace quill {
namespace {

int32_t ColourOf(std::string_view digits) {
  return ColourDigit(digits[0]) | (ColourDigit(digits[1]) << 8) | (ColourDigit(digits[2]) << 16);
}

void FillWithColour(Picture& picture, int32_t colour) {
  picture.Fill(static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
               static_cast<uint8_t>(colour));
}

void AddStep(std::vector<EffectStep>& steps, EffectStep step) {
  if (steps.size() < kMaxEffectSteps) steps.push_back(step);
}

// An F line: pairs of (F field, period).
void ReadFLine(const std::string& line, std::vector<EffectStep>& steps) {
  for (int i = 0; i < 200; i += 2) {
    std::string field = CommaField(line, i);
    if (field.empty() || field[0] != 'F') return;
    int period = ParseInt(CommaField(line, i + 1));
    if (field.size() == 1) {
      AddStep(steps, {kEffectShowScreen, period, 0, 0});
    } else if (field.size() == 4) {
      AddStep(steps, {kEffectFill, period, ColourOf(std::string_view(field).substr(1)), 0});
    } else if (field.size() == 5) {
      AddStep(steps, {kEffectTint, period, ColourOf(std::string_view(field).substr(1)),
                      ColourDigit(field[4])});
    }
  }
}

// An N line: periods of negative and normal screens, alternating.
void ReadNLine(const std::string& line, std::vector<EffectStep>& steps) {
  for (int i = 1; i < 100; ++i) {
    std::string field = CommaField(line, i);
    if (field.empty()) return;
    AddStep(steps, {i % 2 == 1 ? kEffectNegative : kEffectShowScreen, ParseInt(field), 0, 0});
  }
}

// An S line: one period, then (x, y) offsets of window moves.
void ReadSLine(const std::string& line, std::vector<EffectStep>& steps) {
  int period = ParseInt(CommaField(line, 1));
  for (int i = 2; i < 200; i += 2) {
    std::string field = CommaField(line, i);
    if (field.empty()) return;
    AddStep(steps, {kEffectMoveWindow, period, ParseInt(field), ParseInt(CommaField(line, i + 1))});
  }
}

}  // namespace

int ColourDigit(char c) {
  if (c >= '0' && c <= '9') return 16 * (c - '0');
  if (c >= 'a' && c <= 'f') return 16 * (10 + c - 'a');
  if (c >= 'A' && c <= 'F') return 16 * (10 + c - 'A');
  if (c == 'g' || c == 'G') return 255;
  return 0;
}

std::vector<EffectStep> ReadEffectSteps(std::span<const uint8_t> script, std::string_view name) {
  std::vector<EffectStep> steps;
  const std::string wanted = ":" + ToUpperSjis(name);
  bool in_section = false;
  size_t pos = 0;
  while (pos < script.size()) {
    size_t end = pos;
    while (end < script.size() && script[end] != 0) ++end;
    std::string line = ToUpperSjis(
        std::string_view(reinterpret_cast<const char*>(script.data()) + pos, end - pos));
    pos = end + 1;
    if (!in_section) {
      in_section = line == wanted;
      continue;
    }
    if (line.empty()) continue;
    if (line[0] == ':') break;
    if (line[0] == 'F') {
      ReadFLine(line, steps);
    } else if (line[0] == 'N') {
      ReadNLine(line, steps);
    } else if (line[0] == 'S') {
      ReadSLine(line, steps);
    }
  }
  return steps;
}

void WipeSet(Engine& engine, std::string_view name) {
  std::string wanted(name);
  engine.transitions().set_overlay_name(wanted);
  Picture loaded;
  if (!engine.picture_loader().LoadPicture(wanted, loaded)) return;
  // Transition 5 reads the pattern as a whole screen: a picture of another size is laid at the
  // top left of a black one.
  Picture& wipe = engine.pictures().wipe;
  if (loaded.width() == kScreenWidth && loaded.height() == kScreenHeight) {
    wipe = std::move(loaded);
  } else {
    wipe.Create(kScreenWidth, kScreenHeight);
    CopyPicture(wipe, 0, 0, loaded);
  }
}

void EffectCommand(Engine& engine, std::string_view name) {
  std::string wanted(name);
  if (!engine.LoadScript("effect", ScriptTarget::Aux)) return;
  std::vector<EffectStep> steps = ReadEffectSteps(engine.aux_script().script(), wanted);
  if (steps.empty()) return;
  Platform& platform = engine.platform();
  ScreenPictures& pics = engine.pictures();
  FrameClock& clock = engine.frame_clock();
  Picture colour_fill;
  bool negative_ready = false;
  clock.ClockStart();
  for (const EffectStep& step : steps) {
    switch (step.kind) {
      case kEffectMoveWindow:
        platform.SetShakeOffset(step.value1, step.value2);
        break;
      case kEffectShowScreen:
        platform.Present(pics.screen);
        break;
      case kEffectFill:
        colour_fill.Create(kScreenWidth, kScreenHeight);
        FillWithColour(colour_fill, step.value1);
        platform.Present(colour_fill);
        break;
      case kEffectTint:
        FillWithColour(pics.saved, step.value1);
        FillWithColour(pics.fade_output, step.value1);
        CrossFade(pics.fade_output, pics.saved, pics.screen, step.value2);
        platform.Present(pics.fade_output);
        negative_ready = false;
        break;
      case kEffectNegative:
        if (!negative_ready) {
          const std::vector<uint8_t>& src = pics.screen.bytes();
          pics.fade_output = pics.screen;
          std::vector<uint8_t>& out = pics.fade_output.bytes();
          for (size_t i = 0; i < src.size(); ++i) out[i] = static_cast<uint8_t>(255 - src[i]);
          negative_ready = true;
        }
        platform.Present(pics.fade_output);
        break;
      default:
        break;
    }
    clock.ClockWait(step.period);
  }
  platform.Present(pics.screen);
  platform.SetShakeOffset(0, 0);
}

}  // namespace quill
