#include "text/page_view.h"

#include "engine/engine.h"
#include "graphics/game_config.h"
#include "text/page_history.h"

namespace quill {
namespace {

constexpr int kPageViewScreenMode = 9;
constexpr int kFirstOffset = 2;  // the page before the one on screen
constexpr int kLastOffset = kPageHistoryPages;
constexpr int kYellow = 4;
constexpr int kShowAtOnce = 4;

}  // namespace

int PageView::RecordAt(int offset) {
  Engine& e = engine_;
  int page = e.page_history().page_counter + e.banks().S(39) - offset;
  return page < 0 ? -1 : PageHistory::Slot(page);
}

void PageView::OpenPageView() {
  Engine& e = engine_;
  if (e.screen_mode == kPageViewScreenMode || e.banks().S(28) == 0) return;
  // With no page before the one on screen there is nothing to show.
  int k = RecordAt(kFirstOffset);
  if (k < 0) return;
  ValueBanks& banks = e.banks();
  layout_ = banks.S(150);
  for (int i = 0; i < 20; ++i) positions_[i] = banks.S(80 + i);
  Composition& c = e.composition();
  background_name_ = c.background_name();
  sprite_list_ = c.sprite_list();
  background_ = e.pictures().background;
  speaker_name_ = e.message_window().speaker_name();
  e.menus().HoldAll(true);
  e.screen_mode = kPageViewScreenMode;
  offset_ = kFirstOffset;
  DrawHistoryPage(k);
}

void PageView::StepPageView(int direction) {
  Engine& e = engine_;
  if (e.screen_mode != kPageViewScreenMode) return;
  if (direction > 0) {
    // Only pages that were recorded: at most 49 back, and never before the first.
    if (offset_ >= kLastOffset) return;
    int k = RecordAt(offset_ + 1);
    if (k < 0) return;
    offset_ += 1;
    DrawHistoryPage(k);
    return;
  }
  offset_ -= 1;
  if (offset_ <= 1) {
    ClosePageView();
  } else {
    DrawHistoryPage(RecordAt(offset_));
  }
}

void PageView::DrawHistoryPage(int k) {
  Engine& e = engine_;
  const PageHistory& history = e.page_history();
  ValueBanks& banks = e.banks();
  for (int i = 0; i < 20; ++i) banks.SetS(80 + i, history.Position(k, i));
  std::string_view scene = history.SceneText(k);
  size_t comma = scene.find(',');
  std::string_view sprites = comma == std::string_view::npos ? "" : scene.substr(comma + 1);
  Composition& composition = e.composition();
  composition.RestoreScene(CommaField(scene, 0), sprites);
  composition.ComposeScene();

  banks.SetS(150, history.Layout(k));
  MessageWindow& window = e.message_window();
  window.InvalidateWindowCache();
  ScreenPictures& pics = e.pictures();
  window.ComposeWindow();
  if (e.Layout() != 0) {
    pics.screen = pics.full_overlay;
  } else {
    pics.screen = pics.scene;
    WindowGeometry g = window.Geometry();
    CopyPicture(pics.screen, g.x, g.y, window.window_image());
  }
  std::array<std::string_view, kPageGridRows> rows;
  for (int r = 0; r < kPageGridRows; ++r) rows[r] = history.GridRow(k, r);
  e.glyph_drawing().SetTextColour(kYellow);
  window.DrawPageRows(rows);
  e.glyph_drawing().SetTextColour(0);
  voice_ = history.FirstVoice(k);
  if (!voice_.empty()) e.sound_commands().PlayNamed(voice_);
  shown_ = k;
  e.platform().Present(pics.screen);
}

void PageView::ClosePageView() {
  Engine& e = engine_;
  if (e.screen_mode != kPageViewScreenMode) return;
  ValueBanks& banks = e.banks();
  banks.SetS(37, static_cast<int32_t>(ColorRefFromRgb(kWhite)));
  e.glyph_drawing().set_speaker_colour(kWhite);
  e.glyph_drawing().SetTextColour(0);
  banks.SetS(60, 0);
  // The game's own scene comes back as it was, whatever page the view showed last.
  for (int i = 0; i < 20; ++i) banks.SetS(80 + i, positions_[i]);
  Composition& composition = e.composition();
  e.pictures().background = background_;
  composition.set_background_name(background_name_);
  composition.SetStandingPictures(sprite_list_);
  banks.SetS(150, layout_);
  e.message_window().InvalidateWindowCache();
  e.message_window().set_speaker_name(speaker_name_);
  e.screen_mode = 0;
  offset_ = 0;
  shown_ = -1;
  voice_.clear();
  background_ = Picture();
  composition.UpdateScreen(kShowAtOnce);
  e.menus().HoldAll(false);
}

}  // namespace quill
