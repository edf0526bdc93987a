#include "graphics/composition.h"

#include <algorithm>
#include <array>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/masked_drawing.h"
#include "graphics/picture_commands.h"
#include "graphics/scene_filters.h"

namespace quill {
namespace {

// The whole of src into dst (both the screen's size in practice); a picture of another size is
// laid at the top left of a black screen.
void CopyWhole(Picture& dst, const Picture& src) {
  if (dst.width() == src.width() && dst.height() == src.height()) {
    dst.bytes() = src.bytes();
    return;
  }
  dst.Create(kScreenWidth, kScreenHeight);
  CopyPicture(dst, 0, 0, src);
}

}  // namespace

int StandingPositionBase(int count) {
  switch (count) {
    case 1:
      return 80;
    case 2:
      return 81;
    case 3:
      return 83;
    default:
      return 86;
  }
}

void Composition::StartUp() {
  standing_.StartUp();
  background_name_.clear();
  new_background = false;
  ResetPictures();
  sprite_sets_.Clear();
  // A game without the list has no sets; the auxiliary buffer then holds some other script.
  if (engine_.LoadScript("_sprset", ScriptTarget::Aux)) {
    sprite_sets_.Load(engine_.aux_script().script());
  }
}

void Composition::ResetPictures() {
  // TACHI_DEFAULT starts as the built-in centres, so it covers the built-in reset too.
  ValueBanks& banks = engine_.banks();
  for (int k = 0; k < 10; ++k) {
    banks.SetS(80 + k, engine_.config().TACHI_DEFAULT[k]);
    banks.SetS(90 + k, 0);
  }
}

void Composition::set_background_name(std::string_view name) {
  background_name_ = FitRecord(name, kBackgroundNameBytes);
}

int Composition::SetStandingPictures(std::string_view list) {
  if (!engine_.skip_mode && engine_.banks().S(26) != 1) sprite_show_count += 1;
  ScreenPictures& p = engine_.pictures();
  return standing_.SetStandingPictures(
      list, StandingLoad{engine_.picture_loader(), engine_.config().TACHI_TYPE, p.load_scratch});
}

void Composition::DrawStanding(int k, int cell) {
  const std::string& name = standing_.name(k);
  if (name.empty()) return;
  const ValueBanks& banks = engine_.banks();
  const int base = StandingPositionBase(cell);
  const int64_t centre = banks.S(base + k);
  const int top = banks.S(base + 10 + k);
  Picture& scene = engine_.pictures().scene;
  if (name[0] == '#') {
    sprite_sets_.Draw(std::string_view(name).substr(1), scene, ClampPosition(centre), top,
                      engine_.picture_loader());
    return;
  }
  const StandingSlot& slot = standing_.SlotFor(k);
  DrawMasked(scene, slot.picture, ClampPosition(centre - slot.picture.width() / 2), top, slot.mask);
}

void Composition::DrawOverlay() {
  ValueBanks& banks = engine_.banks();
  Picture& scene = engine_.pictures().scene;
  const Picture& overlay = engine_.pictures().overlay;
  if (overlay.empty()) return;
  const int64_t left = banks.S(21);
  const int64_t top = banks.S(22);
  const int opacity = banks.S(23);
  if (opacity == 0) {
    DrawMaskedPair(scene, ClampPosition(left), ClampPosition(top), overlay);
    return;
  }
  // Blended over the whole rectangle, clipped to the screen; inside the screen every row covers
  // (3 × width) div 8 groups from the overlay's left edge.
  const int64_t x0 = std::max<int64_t>(left, 0);
  const int64_t x1 = std::min<int64_t>(left + overlay.width(), scene.width());
  if (x1 <= x0) return;
  const size_t groups = static_cast<size_t>(x1 - x0) * 3 / 8;
  for (int r = 0; r < overlay.height(); ++r) {
    const int64_t y = top + r;
    if (y < 0) continue;
    if (y >= scene.height()) break;
    uint8_t* d = scene.Pixel(static_cast<int>(x0), static_cast<int>(y));
    const uint8_t* s = overlay.Pixel(static_cast<int>(x0 - left), r);
    CrossFadeRow(d, s, d, groups, opacity);
  }
}

void Composition::ComposeScene() {
  ScreenPictures& p = engine_.pictures();
  ValueBanks& banks = engine_.banks();
  CopyWhole(p.scene, p.background);
  const bool overlay_shown = banks.S(35) != 0;
  if (overlay_shown && banks.S(20) == 0) DrawOverlay();
  const bool reversed = banks.S(24) != 0;
  switch (standing_.count()) {
    case 1:
      DrawStanding(0, 1);
      break;
    case 2:
      for (int k : reversed ? std::array{1, 0} : std::array{0, 1}) DrawStanding(k, 2);
      break;
    case 3:
      for (int k : {0, 2, 1}) DrawStanding(k, 3);
      break;
    case 4:
      for (int k : reversed ? std::array{3, 2, 0, 1} : std::array{0, 1, 3, 2}) DrawStanding(k, 4);
      break;
    default:
      break;
  }
  if (overlay_shown && banks.S(20) == 1) DrawOverlay();
  engine_.subsystems().InvalidateWindowCache();
}

void Composition::ApplySceneFilter() {
  quill::ApplySceneFilter(engine_.pictures().scene, engine_.banks().S(11), engine_.banks().S(13));
}

void Composition::UpdateScreen(int transition) {
  Engine& e = engine_;
  ScreenPictures& p = e.pictures();
  e.busy = true;
  CopyWhole(p.saved, p.screen);
  ComposeScene();
  ApplySceneFilter();
  if (e.Layout() != 0) {
    const int mode = e.banks().S(9);
    if (mode == 2 || (mode == 1 && new_background)) {
      // The new scene first, without the text; the text layer follows with the stripes.
      CopyWhole(p.screen, p.scene);
      e.subsystems().RunTransition(transition);
      CopyWhole(p.saved, p.screen);
      if (mode == 1) new_background = false;
      transition = 6;
      e.busy = true;
    }
  }
  RebuildScreen();
  e.subsystems().RunTransition(transition);
}

void Composition::RebuildScreen() {
  Engine& e = engine_;
  ScreenPictures& p = e.pictures();
  SubsystemEntryPoints& sub = e.subsystems();
  e.comic_symbol().Remove();
  if (e.Layout() != 0) {
    CopyWhole(p.screen, e.window_open ? p.full_overlay : p.scene);
    sub.InvalidateWindowCache();
  } else if (!e.background_animation().RestoreWindowAreas()) {
    CopyWhole(p.screen, p.scene);
  }
  sub.ComposeWindow();
  sub.PresentWindow();
}

}  // namespace quill
