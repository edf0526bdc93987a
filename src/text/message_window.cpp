#include "text/message_window.h"

#include <algorithm>
#include <vector>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/fades.h"
#include "graphics/frame_clock.h"
#include "text/glyph_drawing.h"
#include "text/text_output.h"

namespace quill {
namespace {

constexpr uint32_t kWhiteRef = 0xFFFFFF;
constexpr uint32_t kYellowRef = 0x00FFFF;  // red and green: the page-back view's plate colour
constexpr int kPageBackScreenMode = 9;
// The icon area that erasing restores at least.
constexpr int kIconEraseSize = 24;
constexpr int kRubyHeight = 9;

// The mask blend row by row: dst bytes move towards colour by mask, in 8-byte groups counted from
// the row's start, a group of zero mask bytes left alone. `bytes` is clipped to the row.
void MaskRow(uint8_t* dst, int dst_bytes, const uint8_t* colour, const uint8_t* mask, int bytes) {
  bytes = std::min(bytes, dst_bytes);
  if (bytes <= 0) return;
  size_t groups = static_cast<size_t>(bytes) / 8;
  if (groups > 0) MaskedBlendRow(dst, dst, colour, mask, groups);
  int done = static_cast<int>(groups * 8);
  if (done < bytes) {
    BlendGlyphRow(dst + done, bytes - done, 0, colour + done, mask + done, bytes - done);
  }
}

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

MessageWindow::MessageWindow(Engine& engine) : engine_(engine) {}

WindowGeometry MessageWindow::Geometry() const {
  const GameConfig& c = engine_.config();
  WindowGeometry g;
  g.x = c.TXW_OFS_X;
  g.y = c.TXW_OFS_Y;
  // Sizes are kept to the screen's; positions may lie anywhere, drawing clips them.
  g.width = Clamp(c.TXW_SIZE_X, 0, kScreenWidth);
  g.height = Clamp(c.TXW_SIZE_Y, 0, kScreenHeight);
  g.plate_x = c.NP_OFS_X;
  g.plate_y = c.NP_OFS_Y;
  g.plate_width = Clamp(c.NP_SZ_X, 0, kScreenWidth);
  g.plate_height = Clamp(c.NP_SZ_Y, 0, kScreenHeight);
  g.icon_x = c.CLICK_WAIT_OFS_X;
  g.icon_y = c.CLICK_WAIT_OFS_Y;
  g.icon_width = Clamp(c.CLICK_WAIT_SIZE_X, 0, kScreenWidth);
  g.icon_height = Clamp(c.CLICK_WAIT_SIZE_Y, 0, kScreenHeight);
  g.icon_frames = std::max(c.CLICK_WAIT_PAT, 1);
  g.icon_timing = Clamp(c.CLICK_WAIT_TIMING, 0, 30);
  return g;
}

void MessageWindow::StartUp() {
  WindowGeometry g = Geometry();
  plate_.Create(g.plate_width, g.plate_height);
  plate_clean_.Create(g.plate_width, g.plate_height);
  window_image_.Create(g.width, g.height);
  window_cache_.Create(g.width, g.height);
  skin_.Create(g.width, 2 * g.height);
  TintWindowSkin();
  engine_.picture_loader().LoadPicture("sys_clickw", click_sheet_);
  icon_work_.Create(g.icon_width, g.icon_height);
  icon_display_.Create(kScreenWidth, kScreenHeight);
  strip_backing_.Create(768, 16);
  corner_backing_.Create(32, 12);
  auto_bar_backing_.Create(auto_bar_width_, auto_bar_height_);
  cache_valid_ = false;
  icon_erased_ = true;
  icon_counter_ = 0;
  speaker_name_.clear();
}

void MessageWindow::set_auto_bar_size(int width, int height) {
  auto_bar_width_ = Clamp(width, 0, kScreenWidth);
  auto_bar_height_ = Clamp(height, 0, kScreenHeight);
  auto_bar_backing_.Create(auto_bar_width_, auto_bar_height_);
}

void MessageWindow::TintWindowSkin() {
  PictureLoader& loader = engine_.picture_loader();
  loader.LoadPicture("sys_tw", skin_);
  loader.LoadPicture("sys_tw1", tint_mask_);
  // Whatever was blended with the old skin is stale now.
  cache_valid_ = false;
  const GameConfig& c = engine_.config();
  const Settings& s = engine_.settings();
  int r = s.Int(SettingId::TXBG_R), gr = s.Int(SettingId::TXBG_G), b = s.Int(SettingId::TXBG_B);
  int a = s.Int(SettingId::TXBG_A);
  if (r == c.TXW_COLOR_R && gr == c.TXW_COLOR_G && b == c.TXW_COLOR_B && a == c.TXW_ALPHA) return;
  int w = tint_mask_.width(), h = tint_mask_.height();
  std::vector<uint8_t> colour(static_cast<size_t>(w) * 3), grey(static_cast<size_t>(w) * 3);
  for (int x = 0; x < w; ++x) {
    colour[x * 3] = static_cast<uint8_t>(b);
    colour[x * 3 + 1] = static_cast<uint8_t>(gr);
    colour[x * 3 + 2] = static_cast<uint8_t>(r);
    grey[x * 3] = grey[x * 3 + 1] = grey[x * 3 + 2] = static_cast<uint8_t>(a);
  }
  // A skin smaller than the tint mask is recoloured where it exists.
  for (int row = 0; row < h; ++row) {
    if (row < skin_.height()) {
      MaskRow(skin_.Row(row), skin_.stride(), colour.data(), tint_mask_.Row(row), w * 3);
    }
    if (h + row < skin_.height()) {
      MaskRow(skin_.Row(h + row), skin_.stride(), grey.data(), tint_mask_.Row(row), w * 3);
    }
  }
}

void MessageWindow::ComposeWindow() {
  ScreenPictures& pics = engine_.pictures();
  if (engine_.Layout() != 0) {
    int a2 = engine_.settings().Int(SettingId::TXBG_A2);
    Scale(pics.full_overlay, pics.scene, 255 - a2);
    return;
  }
  WindowGeometry g = Geometry();
  if (cache_valid_ && !engine_.background_animation().running()) {
    window_image_ = window_cache_;
    return;
  }
  if (window_image_.width() != g.width || window_image_.height() != g.height) {
    window_image_.Create(g.width, g.height);
  }
  CopyRect(window_image_, 0, 0, pics.scene, g.x, g.y, g.width, g.height);
  ApplySkin(window_image_, g);
  // Each frame of a running background animation gets its own window, blended over its own
  // window area.
  BackgroundAnimation& animation = engine_.background_animation();
  for (int i = 0; i < animation.active(); ++i) {
    BackgroundFrame& slot = animation.slot(i);
    slot.window_image = slot.clean;
    ApplySkin(slot.window_image, g);
  }
  CopyRect(auto_bar_backing_, 0, 0, window_image_, 86, 161, auto_bar_backing_.width(),
           auto_bar_backing_.height());
  CopyRect(strip_backing_, 0, 0, window_image_, 20, 156, strip_backing_.width(),
           strip_backing_.height());
  CopyRect(corner_backing_, 0, 0, window_image_, 752, 24, corner_backing_.width(),
           corner_backing_.height());
  window_cache_ = window_image_;
  CopyRect(plate_clean_, 0, 0, window_image_, g.plate_x - g.x, g.plate_y - g.y,
           plate_clean_.width(), plate_clean_.height());
  engine_.subsystems().RedrawQuickButtons();
  cache_valid_ = true;
}

void MessageWindow::ApplySkin(Picture& image, const WindowGeometry& g) {
  // Only rows and columns the skin has, image and mask both, take the skin.
  int rows = std::min({g.height, skin_.height() - g.height, image.height()});
  int bytes = std::min(g.width, skin_.width()) * 3;
  for (int r = 0; r < rows; ++r) {
    MaskRow(image.Row(r), image.stride(), skin_.Row(r), skin_.Row(g.height + r), bytes);
  }
}

void MessageWindow::LayWindowIntoAnimationFrames(const WindowGeometry& g) {
  BackgroundAnimation& animation = engine_.background_animation();
  for (int i = 0; i < animation.active(); ++i) {
    BackgroundFrame& slot = animation.slot(i);
    CopyPicture(slot.frame, g.x, g.y, slot.window_image);
  }
}

void MessageWindow::PutIntoAnimationFrames(int x, int y) {
  BackgroundAnimation& animation = engine_.background_animation();
  GlyphDrawing& drawing = engine_.glyph_drawing();
  for (int i = 0; i < animation.active(); ++i) drawing.PutGlyph(animation.slot(i).frame, x, y);
}

void MessageWindow::PresentWindow() {
  if (!engine_.window_open) return;
  ScreenPictures& pics = engine_.pictures();
  if (engine_.Layout() != 0) {
    pics.screen = pics.full_overlay;
    engine_.subsystems().RedrawQuickButtons();
  } else {
    // The bar goes into the window image first: the screen buffer then carries it, and the
    // whole-screen copies that follow do not wipe it from the display.
    engine_.subsystems().RedrawQuickButtons();
    WindowGeometry g = Geometry();
    CopyPicture(pics.screen, g.x, g.y, window_image_);
    LayWindowIntoAnimationFrames(g);
  }
  RedrawPage();
  if (engine_.Layout() == 0 && engine_.screen_mode == 0 && engine_.banks().S(4) != 0) {
    engine_.meter().ShowMeter(0);
  }
}

void MessageWindow::DrawGridRow(int row, std::string_view bytes, int limit, bool full_screen) {
  const TextLayout& l = engine_.text_layout();
  GlyphDrawing& drawing = engine_.glyph_drawing();
  Picture& screen = engine_.pictures().screen;
  // Two-byte characters need their second byte inside the row.
  limit = std::min(limit, kPageGridColumns);
  for (int column = 0; column < limit;) {
    uint8_t b = static_cast<uint8_t>(bytes[column]);
    int n = (b >= 0x80 && column + 1 < kPageGridColumns) ? 2 : 1;
    if (b != 0) {
      int x, y;
      if (full_screen) {
        x = column * l.tx2_pitch_x + l.tx2_ofs_x;
        y = row * l.tx2_pitch_y + l.tx2_ofs_y;
      } else {
        x = column * l.tx_pitch_x + l.txw_ofs_x + l.tx_ofs_x;
        y = row * l.tx_pitch_y + l.txw_ofs_y + l.tx_ofs_y;
      }
      drawing.renderer().RenderGlyph(bytes.substr(column, n));
      drawing.PutGlyph(screen, x, y);
      PutIntoAnimationFrames(x, y);
      CopyToDisplay(x, y, kGlyphCellWidth, kGlyphCellHeight);
    }
    column += n;
  }
}

void MessageWindow::RedrawPage() {
  PageGrid& grid = engine_.page_grid();
  if (grid.page_empty) return;
  std::array<std::string_view, kPageGridRows> rows;
  for (int r = 0; r < kPageGridRows; ++r) rows[r] = grid.Row(r);
  DrawPageRows(rows);
}

void MessageWindow::DrawPageRows(const std::array<std::string_view, kPageGridRows>& rows) {
  const TextLayout& l = engine_.text_layout();
  if (engine_.Layout() != 0) {
    int count = std::min(l.moji_max2_y, kPageGridRows);
    for (int r = 0; r < count; ++r) DrawGridRow(r, rows[r], l.moji_max2_x + 2, true);
    return;
  }
  std::string name(rows[0]);
  DrawNamePlate(std::string_view(name.c_str()));
  int count = std::min(l.moji_max_y, kPageGridRows);
  for (int r = 1; r < count; ++r) DrawGridRow(r, rows[r], l.moji_max_x + 2, false);
}

void MessageWindow::SetSpeakerColour(uint32_t colour_ref) {
  engine_.banks().SetS(37, static_cast<int32_t>(colour_ref));
  engine_.glyph_drawing().set_speaker_colour(RgbFromColorRef(colour_ref));
}

void MessageWindow::DrawNamePlate(std::string_view name) {
  name = std::string_view(name.data(), std::min(name.size(), name.find('\0')));
  uint32_t colour = kWhiteRef;
  const SpeakerTable& speakers = engine_.speakers();
  for (int k = 1; k < kSpeakerCount; ++k) {
    if (speakers[k].defined && speakers[k].name == name) {
      colour = speakers[k].colour & 0xFFFFFF;
      break;
    }
  }
  if (engine_.screen_mode == kPageBackScreenMode) colour = kYellowRef;
  SetSpeakerColour(colour);
  speaker_name_ = std::string(name);
  plate_ = plate_clean_;
  engine_.glyph_drawing().DrawGlyphText(name, plate_.width() / 2 - 12, plate_, 0, 5);
  WindowGeometry g = Geometry();
  CopyPicture(engine_.pictures().screen, g.plate_x, g.plate_y, plate_);
  BackgroundAnimation& animation = engine_.background_animation();
  for (int i = 0; i < animation.active(); ++i) {
    CopyPicture(animation.slot(i).frame, g.plate_x, g.plate_y, plate_);
  }
  CopyToDisplay(g.plate_x, g.plate_y, plate_.width(), plate_.height());
}

void MessageWindow::PutTextGlyph(std::string_view character, int x, int y) {
  GlyphDrawing& drawing = engine_.glyph_drawing();
  drawing.renderer().RenderGlyph(character);
  drawing.PutGlyph(engine_.pictures().screen, x, y);
  PutIntoAnimationFrames(x, y);
  CopyToDisplay(x, y, kGlyphCellWidth, kGlyphCellHeight);
}

void MessageWindow::DrawRuby(std::string_view text, int x, int y) {
  if (text.empty()) return;
  TextOutputFont font;
  font.face_sjis = engine_.settings().Text(SettingId::FontName);
  if (font.face_sjis.empty()) font.face_sjis = engine_.config().FONT_NAME;
  font.height = kRubyHeight;
  TextOutput& out = engine_.text_output();
  out.DrawText(engine_.pictures().screen, x, y, text, font, kWhiteRef);
  int h = std::max(kRubyHeight, out.Ascent(font) + out.Descent(font));
  CopyToDisplay(x, y, out.TextWidth(text, font) + 1, h);
}

const Picture& MessageWindow::DisplaySource() {
  // While a background animation runs the display shows its frames, which carry the text too.
  BackgroundAnimation& animation = engine_.background_animation();
  return animation.running() && engine_.screen_mode == 0 ? animation.current_frame()
                                                         : engine_.pictures().screen;
}

void MessageWindow::CopyToDisplay(int x, int y, int w, int h) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = std::min(x + w, kScreenWidth), y1 = std::min(y + h, kScreenHeight);
  if (x0 >= x1 || y0 >= y1) return;
  engine_.platform().PresentRect(DisplaySource(), Rect{x0, y0, x1 - x0, y1 - y0});
}

void MessageWindow::PresentNewPage(bool was_open) {
  SetSpeakerColour(kWhiteRef);
  engine_.glyph_drawing().SetTextColour(0);
  ScreenPictures& pics = engine_.pictures();
  Platform& platform = engine_.platform();
  if (engine_.Layout() == 0) {
    WindowGeometry g = Geometry();
    if (!was_open) {
      // A window never blended over this scene (start-up, after win_close) is blended now.
      ComposeWindow();
      PresentWindow();
      platform.Present(DisplaySource());
    } else {
      CopyPicture(pics.screen, g.x, g.y, window_image_);
      LayWindowIntoAnimationFrames(g);
      CopyToDisplay(g.x, g.y, window_image_.width(), window_image_.height());
    }
    engine_.window_state = 1;
    speaker_name_.clear();
  } else if (!was_open) {
    ComposeWindow();
    pics.saved = pics.screen;
    pics.screen = pics.full_overlay;
    engine_.subsystems().RedrawQuickButtons();
    if (!engine_.skip_mode) CrossFadeDisplay(engine_, 24, 40);
    platform.Present(pics.screen);
    engine_.window_open = true;
  } else {
    pics.screen = pics.full_overlay;
    engine_.subsystems().RedrawQuickButtons();
    PresentWindow();
    platform.Present(pics.screen);
  }
  engine_.subsystems().ForgetWipe();
}

void MessageWindow::LayoutChanged(bool switched) {
  cache_valid_ = false;
  SetSpeakerColour(kWhiteRef);
  engine_.glyph_drawing().SetTextColour(0);
  if (!switched) return;
  if (engine_.Layout() == 0) {
    engine_.subsystems().RedrawQuickButtons();
  } else {
    engine_.subsystems().RebuildScreen();
  }
  engine_.subsystems().UpdateScreen(6);
}

void MessageWindow::FadeDisplay(const Picture& to, const Picture& from, int step, int period_ms) {
  Platform& platform = engine_.platform();
  Picture& out = engine_.pictures().fade_output;
  bool was_busy = engine_.busy;
  engine_.busy = true;
  engine_.transition_running = true;
  engine_.transition_interrupt = 0;
  FrameClock& clock = engine_.frame_clock();
  clock.ClockStart();
  for (int level = 0; level < 256;) {
    CrossFade(out, to, from, level);
    platform.Present(out);
    if (engine_.transition_interrupt != 0 || platform.ShouldStop()) break;
    level += step * clock.ClockWait(period_ms);
  }
  engine_.transition_running = false;
  engine_.busy = was_busy;
}

void MessageWindow::OpenWindow() {
  if (engine_.window_open) return;
  ScreenPictures& pics = engine_.pictures();
  pics.saved = pics.screen;
  engine_.window_open = true;
  engine_.subsystems().RebuildScreen();
  if (!engine_.skip_mode) FadeDisplay(pics.screen, pics.saved, 8, 10);
  engine_.platform().Present(pics.screen);
  engine_.page_grid().page_empty = true;
}

void MessageWindow::CloseWindow() {
  PageGrid& grid = engine_.page_grid();
  grid.wide_advance = false;
  grid.colour_number = 0;
  grid.column = grid.row = 0;
  engine_.window_state = 0;
  if (!engine_.window_open) return;
  ScreenPictures& pics = engine_.pictures();
  if (!engine_.skip_mode) FadeDisplay(pics.scene, pics.screen, 8, 10);
  pics.screen = pics.scene;
  engine_.platform().Present(pics.screen);
  cache_valid_ = false;
  engine_.window_open = false;
  grid.page_empty = true;
}

void MessageWindow::ShowClickIcon() {
  if (engine_.skip_mode || engine_.background_animation().running()) return;
  if (!icon_erased_) EraseClickIcon();
  WindowGeometry g = Geometry();
  ++icon_counter_;
  int frame = (icon_counter_ >> g.icon_timing) % g.icon_frames;
  if (engine_.Layout() == 0) {
    icon_x_ = g.icon_x;
    icon_y_ = g.icon_y;
  } else {
    const TextLayout& l = engine_.text_layout();
    const PageGrid& grid = engine_.page_grid();
    icon_x_ = grid.column * l.tx2_pitch_x + l.tx2_ofs_x;
    icon_y_ = grid.row * l.tx2_pitch_y + l.tx2_ofs_y;
  }
  const Picture& screen = engine_.pictures().screen;
  if (icon_work_.width() != g.icon_width || icon_work_.height() != g.icon_height) {
    icon_work_.Create(g.icon_width, g.icon_height);
  }
  // The work picture starts as the screen under the icon; the sheet's frame is blended over it
  // where both the sheet and the screen have pixels.
  icon_work_.Fill(0, 0, 0);
  CopyRect(icon_work_, 0, 0, screen, icon_x_, icon_y_, g.icon_width, g.icon_height);
  int sheet_x = frame * g.icon_width;
  int left = std::max(0, -icon_x_);
  int right = std::min({g.icon_width, kScreenWidth - icon_x_, click_sheet_.width() - sheet_x});
  for (int r = 0; r < g.icon_height && left < right; ++r) {
    int y = icon_y_ + r;
    if (y < 0 || y >= kScreenHeight || g.icon_height + r >= click_sheet_.height()) continue;
    MaskRow(icon_work_.Pixel(left, r), (g.icon_width - left) * 3,
            click_sheet_.Pixel(sheet_x + left, r),
            click_sheet_.Pixel(sheet_x + left, g.icon_height + r), (right - left) * 3);
  }
  CopyRect(icon_display_, icon_x_, icon_y_, icon_work_, 0, 0, g.icon_width, g.icon_height);
  int x0 = std::max(icon_x_, 0), y0 = std::max(icon_y_, 0);
  int x1 = std::min(icon_x_ + g.icon_width, kScreenWidth);
  int y1 = std::min(icon_y_ + g.icon_height, kScreenHeight);
  if (x0 < x1 && y0 < y1) {
    engine_.platform().PresentRect(icon_display_, Rect{x0, y0, x1 - x0, y1 - y0});
  }
  icon_erased_ = false;
}

void MessageWindow::EraseClickIcon() {
  WindowGeometry g = Geometry();
  int x = icon_x_, y = icon_y_;
  if (engine_.Layout() == 0) {
    x = g.icon_x;
    y = g.icon_y;
  }
  // An icon larger than the usual 24 pixels is erased whole.
  CopyToDisplay(x, y, std::max(kIconEraseSize, g.icon_width),
                std::max(kIconEraseSize, g.icon_height));
  icon_erased_ = true;
}

}  // namespace quill
