// The quick-button bar: drawing, the hover test, the button actions and the function keys.
#include "engine/quick_buttons.h"

#include <algorithm>
#include <array>

#include "engine/confirmations.h"
#include "engine/engine.h"
#include "graphics/masked_drawing.h"
#include "platform/keys.h"

namespace quill {
namespace {

struct StripButton {
  int n;
  int x;  // strip column; 56 × 16 each
};
constexpr std::array<StripButton, 7> kStripButtons{
    {{1, 530}, {2, 0}, {4, 650}, {5, 710}, {6, 470}, {7, 590}, {9, 410}}};
constexpr int kButtonWidth = 56;

// F1 … F12.
constexpr std::array<int, 12> kFunctionKeyButtons{8, 12, 11, 6, 1, 9, 2, 10, 5, 3, 7, 4};

constexpr uint32_t kPressedMs = 50;

// "クイックロードしますか？"
constexpr std::string_view kQuickLoadQuestion =
    "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xdc\x82\xb7\x82\xa9"
    "\x81\x48";

Picture Crop(const Picture& src, int x, int y, int w, int h) {
  Picture out(w, h);
  CopyRect(out, 0, 0, src, x, y, w, h);
  return out;
}

// Draws the w × h block at (sx, sy) of src through the same-sized mask block at (mx, my).
void DrawPart(Picture& dest, int dx, int dy, const Picture& src, int sx, int sy, int mx, int my,
              int w, int h) {
  if (src.empty() || w <= 0 || h <= 0) return;
  if (sx < 0 || sy < 0 || mx < 0 || my < 0 || sx + w > src.width() || mx + w > src.width() ||
      sy + h > src.height() || my + h > src.height()) {
    return;
  }
  DrawMasked(dest, Crop(src, sx, sy, w, h), dx, dy, Crop(src, mx, my, w, h));
}

}  // namespace

void QuickButtons::StartUp() {
  PictureLoader& loader = engine_.picture_loader();
  loader.LoadPicture("sys_qbtn", buttons_);
  loader.LoadPicture("sys_qbtn2", small_);
  loader.LoadPicture("sys_autobar", auto_bar_);
  strip_clean_.Create(kQuickStripWidth, kQuickStripHeight);
  strip_work_.Create(kQuickStripWidth, kQuickStripHeight);
  small_clean_.Create(kSmallButtonWidth, kSmallButtonHeight);
  small_work_.Create(kSmallButtonWidth, kSmallButtonHeight);
  display_scratch_.Create(kScreenWidth, kScreenHeight);
}

int QuickButtons::State(int n) const {
  if (n < 1 || n > kQuickButtonCount) return 0;
  return engine_.banks().S(59 + n);
}

void QuickButtons::SetState(int n, int state) {
  if (n < 1 || n > kQuickButtonCount) return;
  engine_.banks().SetS(59 + n, state);
}

bool QuickButtons::AutoOn() const { return engine_.AutoLevel() > 0; }

bool QuickButtons::Drawable() const {
  if (engine_.transition_running) return false;
  if (engine_.screen_mode != 0 && engine_.screen_mode != 9) return false;
  return !engine_.background_animation().running();
}

void QuickButtons::ComposeStrip() {
  strip_work_ = strip_clean_;
  for (const StripButton& b : kStripButtons) {
    int state = State(b.n);
    if (state & kQuickHidden) continue;
    int band = std::clamp(state, 0, 2);
    DrawPart(strip_work_, b.x, 0, buttons_, b.x, band * kQuickStripHeight, b.x,
             3 * kQuickStripHeight, kButtonWidth, kQuickStripHeight);
  }
  if (AutoOn() && !auto_bar_.empty()) {
    int half = auto_bar_.height() / 2;
    int w = std::min((11 - std::min(engine_.AutoLevel(), 10)) * 16, auto_bar_.width());
    DrawPart(strip_work_, kAutoGaugeX, kAutoGaugeY, auto_bar_, 0, 0, 0, half, w, half);
  }
}

void QuickButtons::ComposeSmallButton() {
  small_work_ = small_clean_;
  int state = State(3);
  if (state & kQuickHidden) return;
  int band = state == kQuickNormal ? 0 : 1;
  DrawPart(small_work_, 0, 0, small_, 0, band * kSmallButtonHeight, 0, 2 * kSmallButtonHeight,
           kSmallButtonWidth, kSmallButtonHeight);
}

// The two mode buttons show the real modes whatever their cells were set to.
void QuickButtons::ShowModes() {
  auto show = [&](int n, bool on) {
    int s = State(n);
    if (s & kQuickHidden) return;
    if (on) {
      SetState(n, kQuickActive);
    } else if (s == kQuickActive) {
      SetState(n, kQuickNormal);
    }
  };
  show(1, engine_.skip_mode);
  show(2, AutoOn());
}

void QuickButtons::DrawQuickBar(int where) {
  if (!Drawable()) return;
  if (strip_work_.empty()) StartUp();
  ShowModes();

  const TextLayout& l = engine_.text_layout();
  const MessageWindow& window = engine_.message_window();
  if (!window.window_image().empty() && window.strip_backing().width() == kQuickStripWidth &&
      window.strip_backing().height() == kQuickStripHeight &&
      window.corner_backing().width() == kSmallButtonWidth &&
      window.corner_backing().height() == kSmallButtonHeight) {
    // The clean window under the bar, cut out at the window's last fresh composition.
    strip_clean_ = window.strip_backing();
    small_clean_ = window.corner_backing();
  } else {
    // No window image yet: the bar lies over whatever the screen shows there.
    CopyRect(strip_clean_, 0, 0, engine_.screen(), l.txw_ofs_x + kQuickStripX,
             l.txw_ofs_y + kQuickStripY, kQuickStripWidth, kQuickStripHeight);
    CopyRect(small_clean_, 0, 0, engine_.screen(), l.txw_ofs_x + kSmallButtonX,
             l.txw_ofs_y + kSmallButtonY, kSmallButtonWidth, kSmallButtonHeight);
  }
  ComposeStrip();
  ComposeSmallButton();

  if (where == 1 || where == 2) {
    if (Picture* image = engine_.subsystems().MessageWindowImage()) {
      CopyPicture(*image, kQuickStripX, kQuickStripY, strip_work_);
      CopyPicture(*image, kSmallButtonX, kSmallButtonY, small_work_);
    }
  }
  if ((where == 0 || where == 1) && (engine_.window_open || engine_.Layout() == 1)) {
    Rect strip{l.txw_ofs_x + kQuickStripX, l.txw_ofs_y + kQuickStripY, kQuickStripWidth,
               kQuickStripHeight};
    Rect small{l.txw_ofs_x + kSmallButtonX, l.txw_ofs_y + kSmallButtonY, kSmallButtonWidth,
               kSmallButtonHeight};
    CopyPicture(display_scratch_, strip.x, strip.y, strip_work_);
    CopyPicture(display_scratch_, small.x, small.y, small_work_);
    engine_.platform().PresentRect(display_scratch_, strip);
    engine_.platform().PresentRect(display_scratch_, small);
  }
}

int QuickButtons::HitTest(int x, int y) const {
  const TextLayout& l = engine_.text_layout();
  int wx = x - l.txw_ofs_x, wy = y - l.txw_ofs_y;
  if (wx >= kSmallButtonX && wx < kSmallButtonX + kSmallButtonWidth && wy >= kSmallButtonY &&
      wy < kSmallButtonY + kSmallButtonHeight) {
    return 3;
  }
  int dx = wx - kQuickStripX, dy = wy - kQuickStripY;
  if (dy < 0 || dy >= kQuickStripHeight) return 0;
  int hit = 0;
  for (const StripButton& b : kStripButtons) {
    if (dx >= b.x && dx < b.x + kButtonWidth && (hit == 0 || b.n < hit)) hit = b.n;
  }
  return hit;
}

bool QuickButtons::HoverRefused(int n) const {
  Engine& e = engine_;
  int s0 = e.banks().S(0);
  bool save_or_load = n == 4 || n == 5 || n == 11 || n == 12;
  if (e.screen_mode == 9 && n != 8 && n != 9) return true;
  if (s0 == 1 && (n == 4 || n == 11)) return true;
  if ((s0 == 2 || s0 == 3) && save_or_load) return true;
  if (n == 1 && !e.block_read && e.seen) return true;
  if (n == 6 && e.choice_mode != 0) return true;
  if (save_or_load && (e.extra_mode != 0 || e.screen_mode != 0 ||
                       engine_.background_animation().running())) {
    return true;
  }
  return false;
}

void QuickButtons::HoverQuickBar(int x, int y) {
  for (int n = 1; n <= kQuickButtonCount; ++n) SetState(n, State(n) & kQuickHidden);
  int hit = HitTest(x, y);
  if (hit != 0 && HoverRefused(hit)) hit = 0;
  bool changed = hit != hovered_;
  hovered_ = hit;
  if (hit != 0) SetState(hit, (State(hit) & kQuickHidden) | kQuickHover);
  ShowModes();
  if (changed) DrawQuickBar(1);
}

void QuickButtons::ShowPressed(int n) {
  SetState(n, kQuickActive);
  DrawQuickBar(1);
}

bool QuickButtons::PressQuickButton(int n) {
  if (n < 1 || n > kQuickButtonCount) return false;
  hovered_ = 0;
  Engine& e = engine_;
  SubsystemEntryPoints& sub = e.subsystems();
  ValueBanks& s = e.banks();
  if (e.screen_mode == 9) {
    e.page_view().StepPageView(n == 9 ? -1 : 1);
    DrawQuickBar(1);
    return true;
  }
  switch (n) {
    case 1:
      if (e.skip_mode) {
        e.skip_mode = false;
        s.SetS(60, 0);
      } else {
        e.skip_mode = true;
        s.SetS(60, 2);
      }
      s.SetS(61, 0);
      DrawQuickBar(1);
      return true;
    case 2:
      if (AutoOn()) {
        s.SetS(27, e.AutoLevel());
        s.SetS(26, 0);
        s.SetS(61, 0);
      } else {
        s.SetS(61, 2);
        if (s.S(27) < 1 || s.S(27) > 10) s.SetS(27, 4);
        s.SetS(26, s.S(27));
      }
      DrawQuickBar(1);
      return true;
    case 3:
      s.SetS(26, 0);
      s.SetS(61, 0);
      ShowPressed(3);
      e.platform().SleepMs(kPressedMs);
      SetState(3, kQuickNormal);
      e.screen_pauses().HideWindow();
      return true;
    case 4:
      ShowPressed(4);
      e.platform().SleepMs(kPressedMs);
      sub.QuickSave();
      return true;
    case 5:
      ShowPressed(5);
      e.platform().SleepMs(kPressedMs);
      sub.ShowConfirm(kQuickLoadQuestion, kConfirmQuickLoad);
      DrawQuickBar(1);
      return true;
    case 6:
      s.SetS(26, 0);
      s.SetS(61, 0);
      ShowPressed(6);
      e.log_view().OpenLogView();
      SetState(6, kQuickNormal);
      return true;
    case 7:
      ShowPressed(7);
      SetState(7, kQuickNormal);
      e.sound_commands().ReplayLastVoice();
      return true;
    case 8:
      e.page_view().OpenPageView();
      return true;
    case 9:
      if (AutoOn() && e.AutoLevel() < 10) {
        s.SetS(26, e.AutoLevel() + 1);
        DrawQuickBar(1);
      }
      ShowPressed(9);
      SetState(9, kQuickNormal);
      e.page_view().OpenPageView();
      return true;
    case 10:
      if (e.AutoLevel() > 1) s.SetS(26, e.AutoLevel() - 1);
      DrawQuickBar(1);
      return true;
    case 11:
    case 12:
      ShowPressed(n);
      if (e.transition_running) return false;
      e.sound_commands().PlayNamed(n == 11 ? "SSE05" : "SSE06");
      if (n == 11) {
        sub.OpenSaveScreen();
      } else {
        sub.OpenLoadScreen();
      }
      return true;
    default:
      return false;
  }
}

void QuickButtons::FunctionKey(int key) {
  if (key < kKeyF1 || key > kKeyF12) return;
  int n = kFunctionKeyButtons[key - kKeyF1];
  const ValueBanks& s = engine_.banks();
  int s0 = s.S(0);
  if ((n == 4 || n == 11) && !(s0 == 0 && s.S(28) != 0)) return;
  if ((n == 5 || n == 12) && (s0 == 2 || s0 == 3)) return;
  if ((n == 9 || n == 10) && !AutoOn()) return;
  hovered_ = n;
  PressQuickButton(n);
}

bool QuickButtons::ClickAutoGauge(int x, int y) {
  const TextLayout& l = engine_.text_layout();
  int dx = x - (l.txw_ofs_x + kQuickStripX + kAutoGaugeX);
  int dy = y - (l.txw_ofs_y + kQuickStripY + kAutoGaugeY);
  if (dx < 0 || dx >= kAutoGaugeWidth || dy < 0 || dy >= kAutoGaugeHeight) return false;
  int level = 10 - dx / 16;
  engine_.banks().SetS(26, level);
  engine_.banks().SetS(27, level);
  DrawQuickBar(1);
  return true;
}

void QuickButtons::ReleasePressed() {
  bool changed = false;
  for (int n : {4, 5, 6}) {
    if (State(n) == kQuickActive) {
      SetState(n, kQuickNormal);
      changed = true;
    }
  }
  if (changed) DrawQuickBar(1);
}

void QuickButtons::TrackHover() {
  if (hovered_ == 0) return;
  int x = 0, y = 0;
  if (engine_.platform().GetPointer(x, y) && HitTest(x, y) == hovered_) return;
  for (int n = 1; n <= kQuickButtonCount; ++n) {
    if (State(n) == kQuickHover) SetState(n, kQuickNormal);
  }
  hovered_ = 0;
  DrawQuickBar(1);
}

}  // namespace quill
