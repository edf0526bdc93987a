#include "ui/toolbar_view.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "common/sjis.h"
#include "ui/popup_menu_view.h"

namespace quill {
namespace {

constexpr ImU32 kPanel = IM_COL32(240, 240, 240, 255);
constexpr ImU32 kPanelLine = IM_COL32(205, 205, 205, 255);
constexpr ImU32 kHoverFill = IM_COL32(229, 243, 255, 255);
constexpr ImU32 kHoverBorder = IM_COL32(204, 232, 255, 255);
constexpr ImU32 kPressedFill = IM_COL32(204, 232, 255, 255);
constexpr ImU32 kPressedBorder = IM_COL32(153, 209, 255, 255);
constexpr ImU32 kText = IM_COL32(0, 0, 0, 255);
constexpr ImU32 kTextDisabled = IM_COL32(160, 160, 160, 255);

constexpr int kFirstButtonX = 2;
constexpr int kButtonGap = 2;
constexpr int kButtonTop = 1;

}  // namespace

void ToolbarView::SetButtons(const std::vector<MenuEntry>& buttons, bool panel_enabled) {
  buttons_.clear();
  int x = kFirstButtonX;
  for (const MenuEntry& b : buttons) {
    std::string caption = SjisToUtf8Lossy(b.caption);
    int w = std::max(kMinButtonWidth, MenuTextWidth(caption) + kButtonPadding);
    buttons_.push_back(Button{b.id, std::move(caption), b.enabled && panel_enabled, x, w});
    x += w + kButtonGap;
  }
  panel_enabled_ = panel_enabled;
  if (hovered_ >= static_cast<int>(buttons_.size())) hovered_ = -1;
  if (pressed_ >= static_cast<int>(buttons_.size()) ||
      (pressed_ >= 0 && !buttons_[pressed_].enabled)) {
    pressed_ = -1;
  }
}

void ToolbarView::SetOverlay(bool overlay) {
  overlay_ = overlay;
  if (!overlay_) revealed_ = false;
}

Rect ToolbarView::ButtonRect(int index) const {
  const Button& b = buttons_[index];
  return Rect{b.x, kButtonTop, b.width, kButtonHeight};
}

int ToolbarView::HitTest(int x, int y) const {
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
    Rect r = ButtonRect(i);
    if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return i;
  }
  return -1;
}

ToolbarView::Result ToolbarView::HandleEvent(const SDL_Event& event, bool may_take) {
  Result result;
  auto set_hover = [&](int h) {
    if (h != hovered_) result.redraw = true;
    hovered_ = h;
  };
  switch (event.type) {
    case SDL_MOUSEMOTION: {
      int x = event.motion.x, y = event.motion.y;
      if (overlay_) {
        bool reveal = x >= 0 && y >= 0 && x < kRevealWidth && y < kRevealHeight;
        if (reveal != revealed_) result.redraw = true;
        revealed_ = reveal;
      }
      bool here = shown() && (may_take || pressed_ >= 0) && InBand(x, y);
      set_hover(here ? HitTest(x, y) : -1);
      result.consumed = here || pressed_ >= 0;
      break;
    }
    case SDL_MOUSEBUTTONDOWN: {
      int x = event.button.x, y = event.button.y;
      if (!may_take || !shown() || !InBand(x, y)) break;
      result.consumed = true;
      int hit = HitTest(x, y);
      if (event.button.button == SDL_BUTTON_LEFT && hit >= 0 && buttons_[hit].enabled) {
        pressed_ = hit;
        result.redraw = true;
      }
      break;
    }
    case SDL_MOUSEBUTTONUP: {
      int x = event.button.x, y = event.button.y;
      if (event.button.button == SDL_BUTTON_LEFT && pressed_ >= 0) {
        if (HitTest(x, y) == pressed_) result.clicked = buttons_[pressed_].id;
        pressed_ = -1;
        result.consumed = true;
        result.redraw = true;
        break;
      }
      result.consumed = may_take && shown() && InBand(x, y);
      break;
    }
    case SDL_MOUSEWHEEL: {
      int x = 0, y = 0;
      SDL_GetMouseState(&x, &y);
#if SDL_VERSION_ATLEAST(2, 26, 0)
      x = event.wheel.mouseX;
      y = event.wheel.mouseY;
#endif
      result.consumed = may_take && shown() && InBand(x, y);
      break;
    }
    default:
      break;
  }
  return result;
}

ToolbarView::Result ToolbarView::PointerLeft() {
  Result result;
  if (hovered_ != -1 || (overlay_ && revealed_)) result.redraw = true;
  hovered_ = -1;
  if (overlay_) revealed_ = false;
  return result;
}

void ToolbarView::Draw(ImDrawList* list) const {
  if (!list || !shown()) return;
  ImFont* font = MenuFont() ? MenuFont() : ImGui::GetFont();
  float size = MenuFont() ? kMenuFontPixels : ImGui::GetFontSize();
  float w = static_cast<float>(width_), h = static_cast<float>(kToolbarHeight);
  list->AddRectFilled(ImVec2(0, 0), ImVec2(w, h), kPanel);
  list->AddRectFilled(ImVec2(0, h - 1), ImVec2(w, h), kPanelLine);
  for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
    const Button& b = buttons_[i];
    Rect r = ButtonRect(i);
    ImVec2 a(static_cast<float>(r.x), static_cast<float>(r.y));
    ImVec2 c(static_cast<float>(r.x + r.w), static_cast<float>(r.y + r.h));
    if (b.enabled && i == pressed_) {
      list->AddRectFilled(a, c, kPressedFill);
      list->AddRect(a, c, kPressedBorder);
    } else if (b.enabled && i == hovered_ && pressed_ < 0) {
      list->AddRectFilled(a, c, kHoverFill);
      list->AddRect(a, c, kHoverBorder);
    }
    ImVec2 text = font->CalcTextSizeA(size, FLT_MAX, 0.0f, b.caption.c_str());
    // Whole pixels keep the glyphs sharp.
    float tx = std::floor(a.x + (static_cast<float>(r.w) - text.x) / 2.0f);
    float ty = std::floor(a.y + (static_cast<float>(r.h) - size) / 2.0f);
    if (b.enabled && i == pressed_) ty += 1.0f;  // the pressed look
    list->AddText(font, size, ImVec2(tx, ty), b.enabled ? kText : kTextDisabled, b.caption.c_str());
  }
}

}  // namespace quill
