#include "text/log_view.h"

#include <algorithm>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "graphics/masked_drawing.h"
#include "text/text_output.h"

namespace quill {
namespace {

constexpr int kDarkLevel = 40;
constexpr int kBarX = 680, kBarY = 10, kBarWidth = 32, kBarMaskX = 96;
constexpr int kBarHoverX = 32, kBarPressedX = 64;
constexpr int kUpArrowRows = 18, kDownArrowRow = 554, kDownArrowRows = 20, kDownArrowY = 564;
constexpr int kTrackPixels = 514;
constexpr int kThumbX = 688, kThumbBottom = 537;
constexpr int kTextX = 80, kTextY = 10, kRowPitch = 19;
constexpr int kTextCellHeight = 18;
constexpr int kHighlightWidth = 256;
constexpr int kArrowStep = 2, kWheelStep = 4;
constexpr uint32_t kPressedMs = 50;
constexpr uint32_t kWhiteRef = 0xFFFFFF;

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

int LogView::MaxScroll() const {
  return std::max(engine_.text_log().line_count() - kLogViewRows, 0);
}

int LogView::TopLine() const {
  return std::max(engine_.text_log().line_count() - scroll_ - kLogViewRows, 0);
}

void LogView::OpenLogView() {
  Engine& e = engine_;
  if (open_ || e.banks().S(28) == 0) return;
  e.sound_commands().PlayNamed("SSE09");
  ScreenPictures& pics = e.pictures();
  saved_screen_ = pics.screen;
  background_.Create(pics.scene.width(), pics.scene.height());
  Scale(background_, pics.scene, kDarkLevel);
  PictureLoader& loader = e.picture_loader();
  // A missing picture leaves its element blank.
  for (auto [name, picture] : {std::pair{"sys_bl_bar", &bar_},
                               {"sys_bl_cur", &thumb_},
                               {"sys_blVR", &voice_icon_},
                               {"sys_blVR2", &voice_highlight_}}) {
    *picture = Picture();
    loader.LoadPicture(name, *picture);
  }
  if (bar_.width() >= kBarMaskX + kBarWidth) {
    int rows = std::min(bar_.height(), background_.height() - kBarY);
    for (int r = 0; r < rows; ++r) {
      uint8_t* d = background_.Pixel(kBarX, kBarY + r);
      MaskedBlendRow(d, d, bar_.Pixel(0, r), bar_.Pixel(kBarMaskX, r), kBarWidth * 3 / 8);
    }
  }
  scroll_ = 0;
  replayed_.clear();
  pressed_ = drag_ = 0;
  hover_row_ = -1;
  hover_part_ = kNone;
  open_ = true;
  e.log_view_open = true;
  e.menus().HoldAll(true);
  Draw();
}

void LogView::CloseLogView() {
  Engine& e = engine_;
  if (!open_) return;
  ScreenPictures& pics = e.pictures();
  pics.screen = saved_screen_;
  e.platform().Present(pics.screen);
  for (Picture* p :
       {&background_, &bar_, &thumb_, &voice_icon_, &voice_highlight_, &saved_screen_}) {
    *p = Picture();
  }
  for (std::string& v : row_voices_) v.clear();
  open_ = false;
  e.log_view_open = false;
  pressed_ = drag_ = 0;
  hover_row_ = -1;
  e.menus().HoldAll(false);
  e.banks().SetS(65, 0);
  e.subsystems().RedrawQuickButtons();
}

void LogView::Draw() {
  Engine& e = engine_;
  Picture& screen = e.pictures().screen;
  screen = background_;
  TextOutputFont font;
  font.face_sjis = e.settings().Text(SettingId::FontName);
  if (font.face_sjis.empty()) font.face_sjis = e.config().FONT_NAME;
  font.height = kTextCellHeight;
  const TextLog& log = e.text_log();
  const int count = log.line_count();
  const int first = TopLine();
  for (int i = 0; i < kLogViewRows; ++i) {
    row_voices_[i].clear();
    if (first + i >= count) continue;
    std::string_view line = log.Line(first + i);
    int y = kTextY + kRowPitch * i;
    if (!line.empty() && line[0] == '@') {
      // A voice entry in the top row would have no text of its own below it: left out.
      if (i == 0) continue;
      if (!voice_icon_.empty()) DrawMaskedStacked(screen, kTextX, y, voice_icon_);
      row_voices_[i] = std::string(line.substr(1));
    } else {
      e.text_output().DrawText(screen, kTextX, y, line, font, kWhiteRef);
    }
  }
  if (count >= kLogViewRows + 1 && !thumb_.empty()) {
    int offset = scroll_ * kTrackPixels / (count - kLogViewRows);
    DrawMaskedStacked(screen, kThumbX, kThumbBottom - offset, thumb_);
  }
  e.platform().Present(screen);
}

void LogView::ShowBarPart(int image_x, int row0, int rows, int y) {
  Picture& screen = engine_.pictures().screen;
  if (bar_.width() < kBarMaskX + kBarWidth) return;
  for (int r = 0; r < rows; ++r) {
    int sy = row0 + r;
    if (sy >= bar_.height() || y + r >= screen.height()) break;
    uint8_t* d = screen.Pixel(kBarX, y + r);
    MaskedBlendRow(d, d, bar_.Pixel(image_x, sy), bar_.Pixel(kBarMaskX, sy), kBarWidth * 3 / 8);
  }
  engine_.platform().PresentRect(screen, Rect{kBarX, y, kBarWidth, rows});
}

LogView::Part LogView::HitTest(int x, int y) const {
  if (In(x, 681, 711)) {
    if (In(y, 10, 27)) return kUpArrow;
    if (In(y, 564, 583)) return kDownArrow;
    if (In(y, 28, 563)) return kTrack;
  }
  if (In(x, 80, 359) && In(y, 10, 560)) return kText;
  return kNone;
}

void LogView::SetScroll(int scroll) {
  scroll = std::clamp(scroll, 0, MaxScroll());
  if (scroll == scroll_) return;
  scroll_ = scroll;
  Draw();
}

void LogView::ScrollLogView(int delta) {
  if (!open_) return;
  SetScroll(scroll_ + kWheelStep * delta);
}

void LogView::ScrollFromPointer(int v) {
  v = std::clamp(v, 0, kTrackPixels);
  SetScroll(MaxScroll() * (kTrackPixels - v) / kTrackPixels);
}

void LogView::MouseDown(int button, int x, int y) {
  if (!open_) return;
  if (button == 1) {
    CloseLogView();
    return;
  }
  if (button != 0) return;
  Platform& platform = engine_.platform();
  switch (HitTest(x, y)) {
    case kUpArrow:
      pressed_ = 1;
      ShowBarPart(kBarPressedX, 0, kUpArrowRows, kBarY);
      platform.SleepMs(kPressedMs);
      pressed_ = 0;
      scroll_ = std::min(scroll_ + kArrowStep, MaxScroll());
      Draw();
      drag_ = 1;
      break;
    case kDownArrow:
      pressed_ = 2;
      ShowBarPart(kBarPressedX, kDownArrowRow, kDownArrowRows, kDownArrowY);
      platform.SleepMs(kPressedMs);
      pressed_ = 0;
      scroll_ = std::max(scroll_ - kArrowStep, 0);
      Draw();
      drag_ = 2;
      break;
    case kTrack:
      drag_ = 3;
      ScrollFromPointer(y - 30);
      break;
    case kText: {
      int row = (y - kTextY) / kRowPitch;
      if (row < kLogViewRows && !row_voices_[row].empty()) {
        replayed_ = row_voices_[row];
        engine_.sound_commands().PlayNamed(replayed_);
      }
      break;
    }
    case kNone:
      break;
  }
}

void LogView::MouseMove(int x, int y) {
  if (!open_) return;
  if (drag_ == 3) {
    ScrollFromPointer(y - 40);
    return;
  }
  Hover(x, y);
}

void LogView::Hover(int x, int y) {
  Part part = HitTest(x, y);
  if (part != kUpArrow && part != kDownArrow) part = kNone;
  int row = -1;
  if (In(x, 80, 335) && In(y, 10, 560)) {
    int r = (y - kTextY) / kRowPitch;
    if (r < kLogViewRows && !row_voices_[r].empty()) row = r;
  }
  if (part == hover_part_ && row == hover_row_) return;
  bool redraw = hover_part_ != kNone || hover_row_ >= 0;
  hover_part_ = part;
  hover_row_ = row;
  if (redraw) Draw();
  if (part == kUpArrow) ShowBarPart(kBarHoverX, 0, kUpArrowRows, kBarY);
  if (part == kDownArrow) ShowBarPart(kBarHoverX, kDownArrowRow, kDownArrowRows, kDownArrowY);
  if (row >= 0) {
    Picture& screen = engine_.pictures().screen;
    int ry = kTextY + kRowPitch * row;
    if (!voice_highlight_.empty()) DrawMaskedStacked(screen, kTextX, ry, voice_highlight_);
    engine_.platform().PresentRect(screen, Rect{kTextX, ry, kHighlightWidth, kRowPitch});
  }
}

void LogView::MouseUp(int, int, int) { drag_ = 0; }

}  // namespace quill
