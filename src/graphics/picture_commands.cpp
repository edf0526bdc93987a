// The picture commands gra, grb, bg, clrb, spr and fix, and their arguments.
#include "graphics/picture_commands.h"

#include "common/sjis.h"
#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/composition.h"

namespace quill {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

uint8_t ColourDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint8_t>(16 * (c - '0'));
  if (c >= 'a' && c <= 'f') return static_cast<uint8_t>(16 * (10 + c - 'a'));
  if (c >= 'A' && c <= 'F') return static_cast<uint8_t>(16 * (10 + c - 'A'));
  if (c == 'g' || c == 'G') return 255;
  return 0;
}

}  // namespace

PictureArgument ParsePictureArgument(std::string_view argument, bool with_side) {
  PictureArgument out;
  std::string_view a = argument.substr(0, std::min(argument.size(), kPictureArgumentBytes));
  size_t i = 0;
  while (i < a.size() && a[i] != ' ' && a[i] != ',' && a[i] != ']' && a[i] != 0) {
    const size_t step = IsLeadByte(static_cast<uint8_t>(a[i])) && i + 1 < a.size() ? 2 : 1;
    if (out.name.size() + step > kPictureNameMax) break;
    out.name.append(a.substr(i, step));
    i += step;
  }
  bool have_transition = false;
  for (; i < a.size() && a[i] != ']' && a[i] != 0; ++i) {
    const char c = a[i];
    if (IsDigit(c) && !have_transition) {
      int64_t v = 0;
      while (i < a.size() && IsDigit(a[i])) {
        if (v < 1000000000) v = v * 10 + (a[i] - '0');
        ++i;
      }
      out.transition = static_cast<int>(v);
      have_transition = true;
      --i;
    } else if (with_side && (c == 'L' || c == 'l')) {
      out.side = 'L';
    } else if (with_side && (c == 'R' || c == 'r')) {
      out.side = 'R';
    }
  }
  return out;
}

bool IsSolidColourName(std::string_view name) {
  return !name.empty() && (name[0] == 'S' || name[0] == 's');
}

SolidColour SolidColourOf(std::string_view name) {
  auto digit = [&](size_t i) { return i < name.size() ? ColourDigit(name[i]) : uint8_t{0}; };
  return SolidColour{digit(1), digit(2), digit(3)};
}

ClearArgument ParseClearArgument(std::string_view argument) {
  argument = UntilNul(argument);
  ClearArgument out;
  if (!argument.empty()) {
    const char last = argument.back();
    if (last == 'L' || last == 'l') out.side = 'L';
    if (last == 'R' || last == 'r') out.side = 'R';
  }
  out.transition = ParseInt(argument);
  return out;
}

void Composition::FillBackground(std::string_view name) {
  Picture& background = engine_.pictures().background;
  if (background.width() != kScreenWidth || background.height() != kScreenHeight) {
    background.Create(kScreenWidth, kScreenHeight);
  }
  const SolidColour c = SolidColourOf(name);
  background.Fill(c.b, c.g, c.r);
}

bool Composition::LoadBackground(std::string_view name) {
  engine_.subsystems().MarkPictureSeen(name);
  return engine_.picture_loader().LoadPicture(name, engine_.pictures().background);
}

void Composition::PictureCommand(std::string_view argument) {
  SubsystemEntryPoints& sub = engine_.subsystems();
  sub.InvalidateWindowCache();
  const PictureArgument a = ParsePictureArgument(argument, true);
  if (a.name.empty()) return;
  const bool update = engine_.picture_variant == 0;
  switch (a.name[0]) {
    case 'A':
    case 'a':
      new_background = true;
      set_background_name(a.name);
      if (!LoadBackground(a.name)) return;
      if (update) {
        standing_.Clear();
        UpdateScreen(a.transition);
      }
      return;
    case 'S':
    case 's':
      new_background = true;
      set_background_name(a.name);
      FillBackground(a.name);
      if (update) {
        standing_.Clear();
        UpdateScreen(a.transition);
      }
      return;
    case 'B':
    case 'b':
      SetStandingPictures(standing_.PlaceSingle(a.name, a.side));
      if (update) UpdateScreen(a.transition);
      return;
    default:
      return;
  }
}

void Composition::BackgroundCommand(std::string_view argument) {
  engine_.subsystems().InvalidateWindowCache();
  const PictureArgument a = ParsePictureArgument(argument, false);
  set_background_name(a.name);
  new_background = true;
  if (IsSolidColourName(a.name)) {
    FillBackground(a.name);
  } else if (!LoadBackground(a.name)) {
    return;
  }
  if (engine_.picture_variant != 0) return;
  standing_.Clear();
  UpdateScreen(a.transition);
}

void Composition::ClearLayers(std::string_view argument) {
  engine_.subsystems().InvalidateWindowCache();
  const ClearArgument a = ParseClearArgument(argument);
  if (a.side != 0) {
    standing_.ClearSide(a.side == 'L');
  } else {
    standing_.Clear();
  }
  UpdateScreen(a.transition);
}

int Composition::SpriteCommand(std::string_view argument) {
  engine_.subsystems().InvalidateWindowCache();
  return SetStandingPictures(UntilNul(argument));
}

void Composition::FixScreen() {
  // The display shows the screen buffer whenever a command runs (every drawing that reaches the
  // display goes through the screen buffer or ends by showing it).
  ScreenPictures& p = engine_.pictures();
  engine_.subsystems().InvalidateWindowCache();
  CopyPicture(p.scene, 0, 0, p.screen);
  engine_.banks().SetS(23, 0);
  CopyPicture(p.screen, 0, 0, p.scene);
}

void Composition::RestoreScene(std::string_view background_name, std::string_view sprite_list) {
  set_background_name(background_name);
  if (IsSolidColourName(background_name_)) {
    FillBackground(background_name_);
  } else if (!background_name_.empty()) {
    engine_.picture_loader().LoadPicture(background_name_, engine_.pictures().background);
  }
  SetStandingPictures(sprite_list);
  engine_.subsystems().InvalidateWindowCache();
}

}  // namespace quill
