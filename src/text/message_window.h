#pragma once
// The message window and the page text on the screen: the window skin and its tint, the window
// image blended over the scene (kept in a cache until the scene changes), the characters put into
// the screen buffer and copied cell by cell to the display, the speaker's name plate, ruby, the
// click-wait icon, the fades of win_open / win_close and the switch between the window layout
// and the full-screen layout.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/picture.h"
#include "text/page_grid.h"

namespace quill {

class Engine;

// The window's geometry from the game configuration (pixels, screen coordinates).
struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;  // TXW_OFS_*, TXW_SIZE_*
  int plate_x = 0, plate_y = 0;             // NP_OFS_*
  int plate_width = 0, plate_height = 0;    // NP_SZ_*
  int icon_x = 0, icon_y = 0;               // CLICK_WAIT_OFS_*
  int icon_width = 0, icon_height = 0;      // CLICK_WAIT_SIZE_*
  int icon_frames = 1, icon_timing = 0;     // CLICK_WAIT_PAT, CLICK_WAIT_TIMING
};

class MessageWindow {
 public:
  explicit MessageWindow(Engine& engine);

  // Start-up: the name plate pictures, the window image and its cache, the skin (tinted), the
  // click-wait sheet and its work picture. The window is closed and its cache invalid.
  void StartUp();
  // Reloads sys_tw / sys_tw1 and recolours the masked parts of the skin with the player's
  // window colour and opacity (TXBG_*), when they differ from the game's own.
  void TintWindowSkin();

  // The window image blended over the scene (window layout), or the darkened full-screen overlay.
  void ComposeWindow();
  // Lays the window image (or the overlay) and the page over the screen buffer; only while the
  // window is open.
  void PresentWindow();
  // Draws the page again from the page grid (nothing while the page is empty).
  void RedrawPage();
  // Draws a page's rows (20 rows of 100 bytes) as RedrawPage does: in the window layout the name
  // plate from row 0 and the text rows below it, in the full-screen layout the text rows.
  void DrawPageRows(const std::array<std::string_view, kPageGridRows>& rows);
  // The speaker's colour from the speaker table, and the plate with the name centred on it.
  void DrawNamePlate(std::string_view name);

  // DrawTextChar's drawing: the glyph into the screen buffer at (x, y), its cell to the display.
  void PutTextGlyph(std::string_view character, int x, int y);
  // A ruby reading: white, 9 pixels high, into the screen buffer and onto the display.
  void DrawRuby(std::string_view text, int x, int y);
  // NewPage's drawing (the page has been reset; was_open tells whether the window was shown).
  void PresentNewPage(bool was_open);
  // The mode command's side here (the layout cell and the page have been updated).
  void LayoutChanged(bool switched);

  // win_open / win_close: fade the window in or out.
  void OpenWindow();
  void CloseWindow();

  // The click-wait icon, only on the display.
  void ShowClickIcon();
  void EraseClickIcon();

  // The scene changed: the next ComposeWindow blends again.
  void InvalidateWindowCache() { cache_valid_ = false; }
  bool window_cache_valid() const { return cache_valid_; }

  WindowGeometry Geometry() const;
  const Picture& skin() const { return skin_; }
  const Picture& tint_mask() const { return tint_mask_; }
  const Picture& window_image() const { return window_image_; }
  Picture& window_image() { return window_image_; }
  const Picture& clean_plate() const { return plate_clean_; }
  // The clean window's backgrounds of the quick-button strip, its corner button and the auto
  // bar, cut out at every fresh composition for the quick buttons to restore.
  const Picture& strip_backing() const { return strip_backing_; }
  const Picture& corner_backing() const { return corner_backing_; }
  const Picture& auto_bar_backing() const { return auto_bar_backing_; }
  void set_auto_bar_size(int width, int height);
  // The last name line's text (save data).
  const std::string& speaker_name() const { return speaker_name_; }
  void set_speaker_name(std::string_view name) { speaker_name_ = std::string(name); }
  bool icon_erased() const { return icon_erased_; }
  int icon_counter() const { return icon_counter_; }

 private:
  // Fades the display from `from` to `to`: level rises by `step` per elapsed `period` ms, shown
  // as level × to + (256 − level) × from; a click ends it early. Input is held off meanwhile.
  void FadeDisplay(const Picture& to, const Picture& from, int step, int period_ms);
  // The speaker colour (S037 and the glyph drawing's colour 0).
  void SetSpeakerColour(uint32_t colour_ref);
  // What the display shows: the screen buffer, or a running background animation's frame.
  const Picture& DisplaySource();
  void CopyToDisplay(int x, int y, int w, int h);
  // The skin blended over a window area (the window image, an animation frame's window).
  void ApplySkin(Picture& image, const WindowGeometry& g);
  // While a background animation runs, its frames carry the window and the text as the screen
  // buffer does: each frame's window image into the frame, a glyph into every frame.
  void LayWindowIntoAnimationFrames(const WindowGeometry& g);
  void PutIntoAnimationFrames(int x, int y);
  void DrawGridRow(int row, std::string_view bytes, int limit, bool full_screen);

  Engine& engine_;
  Picture skin_;       // colour image above, opacity mask below
  Picture tint_mask_;  // where the player's colour applies
  Picture window_image_, window_cache_;
  bool cache_valid_ = false;
  Picture plate_, plate_clean_;
  Picture strip_backing_, corner_backing_, auto_bar_backing_;
  int auto_bar_width_ = 0, auto_bar_height_ = 0;
  Picture click_sheet_, icon_work_;
  Picture icon_display_;  // the display's icon area is assembled here, then presented
  int icon_x_ = 0, icon_y_ = 0;
  bool icon_erased_ = true;
  int icon_counter_ = 0;
  std::string speaker_name_;
};

}  // namespace quill
