#include "ui/popup_menu_view.h"

#include <SDL.h>
#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/sjis.h"

namespace quill {
namespace {

ImFont* g_menu_font = nullptr;

// A light desktop-menu look.
constexpr int kJitter = 3;  // pixels of pointer motion that do not count as a move

constexpr ImU32 kMenuBack = IM_COL32(242, 242, 242, 255);
constexpr ImU32 kMenuBorder = IM_COL32(160, 160, 160, 255);
constexpr ImU32 kMenuShadow = IM_COL32(0, 0, 0, 48);
constexpr ImU32 kHoverFill = IM_COL32(204, 232, 255, 255);
constexpr ImU32 kHoverBorder = IM_COL32(153, 209, 255, 255);
constexpr ImU32 kText = IM_COL32(0, 0, 0, 255);
constexpr ImU32 kTextDisabled = IM_COL32(150, 150, 150, 255);

// The code point at s[i], advancing i; bad bytes count as one narrow character.
uint32_t NextCodePoint(const std::string& s, size_t& i) {
  auto c = static_cast<unsigned char>(s[i]);
  int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
  uint32_t cp = extra == 0 ? c : c & (0x3F >> extra);
  ++i;
  for (int k = 0; k < extra && i < s.size(); ++k, ++i) {
    cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  }
  return cp;
}

}  // namespace

ImFont* LoadMenuFont(const std::string& font_file) {
  g_menu_font = nullptr;
  if (font_file.empty() || !ImGui::GetCurrentContext()) return nullptr;
  ImGuiIO& io = ImGui::GetIO();
  g_menu_font = io.Fonts->AddFontFromFileTTF(font_file.c_str(), kMenuFontPixels, nullptr,
                                             io.Fonts->GetGlyphRangesJapanese());
  return g_menu_font;
}

ImFont* MenuFont() { return g_menu_font; }

int MenuTextWidth(const std::string& utf8) {
  int half_ems = 0;
  for (size_t i = 0; i < utf8.size();) {
    uint32_t cp = NextCodePoint(utf8, i);
    bool narrow = cp < 0x2E80 || (cp >= 0xFF61 && cp <= 0xFF9F);
    half_ems += narrow ? 1 : 2;
  }
  return static_cast<int>(half_ems * kMenuFontPixels / 2 + 0.5f);
}

void PopupMenuView::Open(const std::vector<MenuEntry>& entries, int x, int y, int window_width,
                         int window_height) {
  items_.clear();
  int text_width = 0;
  for (const MenuEntry& e : entries) {
    items_.push_back(Item{e.id, SjisToUtf8Lossy(e.caption), e.enabled});
    text_width = std::max(text_width, MenuTextWidth(items_.back().caption));
  }
  int w = kTextLeft + text_width + kTextRight + 2 * kBorder;
  int h = static_cast<int>(items_.size()) * kRowHeight + 2 * kBorder;
  if (x + w > window_width) x -= w;
  if (y + h > window_height) y -= h;
  x = std::max(0, std::min(x, window_width - w));
  y = std::max(0, std::min(y, window_height - h));
  rect_ = Rect{x, y, w, h};
  open_ = true;
  hovered_ = -1;
  armed_ = false;
  has_origin_ = false;
  chosen_id_ = -1;
}

void PopupMenuView::SetPointerOrigin(int x, int y) {
  has_origin_ = true;
  origin_x_ = x;
  origin_y_ = y;
}

void PopupMenuView::Close() {
  open_ = false;
  items_.clear();
  hovered_ = -1;
}

Rect PopupMenuView::ItemRect(int index) const {
  return Rect{rect_.x + kBorder, rect_.y + kBorder + index * kRowHeight, rect_.w - 2 * kBorder,
              kRowHeight};
}

int PopupMenuView::HitTest(int x, int y) const {
  if (!open_) return -1;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    Rect r = ItemRect(i);
    if (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h) return i;
  }
  return -1;
}

void PopupMenuView::MoveHover(int direction) {
  int n = static_cast<int>(items_.size());
  int i = hovered_;
  for (int step = 0; step < n; ++step) {
    i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
    if (items_[i].enabled) {
      hovered_ = i;
      return;
    }
  }
}

PopupMenuView::Outcome PopupMenuView::HandleEvent(const SDL_Event& event) {
  if (!open_) return Outcome::None;
  auto inside = [&](int x, int y) {
    return x >= rect_.x && x < rect_.x + rect_.w && y >= rect_.y && y < rect_.y + rect_.h;
  };
  auto choose = [&](int index) {
    if (index < 0 || !items_[index].enabled) return Outcome::None;
    chosen_id_ = items_[index].id;
    return Outcome::Chosen;
  };
  switch (event.type) {
    case SDL_MOUSEMOTION:
      if (!has_origin_ || std::abs(event.motion.x - origin_x_) > kJitter ||
          std::abs(event.motion.y - origin_y_) > kJitter) {
        armed_ = true;
      }
      hovered_ = HitTest(event.motion.x, event.motion.y);
      return Outcome::None;
    case SDL_MOUSEBUTTONDOWN:
      // A press anywhere off the menu dismisses it, and is not passed on.
      if (!inside(event.button.x, event.button.y)) return Outcome::Dismissed;
      armed_ = true;
      hovered_ = HitTest(event.button.x, event.button.y);
      return Outcome::None;
    case SDL_MOUSEBUTTONUP:
      if (!armed_ || !inside(event.button.x, event.button.y)) return Outcome::None;
      return choose(HitTest(event.button.x, event.button.y));
    case SDL_KEYDOWN:
      switch (event.key.keysym.sym) {
        case SDLK_ESCAPE:
          return Outcome::Dismissed;
        case SDLK_UP:
          MoveHover(-1);
          return Outcome::None;
        case SDLK_DOWN:
          MoveHover(1);
          return Outcome::None;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
        case SDLK_SPACE:
          return choose(hovered_);
        default:
          return Outcome::None;
      }
    default:
      return Outcome::None;
  }
}

void PopupMenuView::Draw(ImDrawList* list) const {
  if (!open_ || !list) return;
  ImFont* font = MenuFont() ? MenuFont() : ImGui::GetFont();
  float size = MenuFont() ? kMenuFontPixels : ImGui::GetFontSize();
  ImVec2 a(static_cast<float>(rect_.x), static_cast<float>(rect_.y));
  ImVec2 b(static_cast<float>(rect_.x + rect_.w), static_cast<float>(rect_.y + rect_.h));
  list->AddRectFilled(ImVec2(a.x + 3, a.y + 3), ImVec2(b.x + 3, b.y + 3), kMenuShadow);
  list->AddRectFilled(a, b, kMenuBack);
  list->AddRect(a, b, kMenuBorder);
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    Rect r = ItemRect(i);
    ImVec2 ra(static_cast<float>(r.x), static_cast<float>(r.y));
    ImVec2 rb(static_cast<float>(r.x + r.w), static_cast<float>(r.y + r.h));
    if (i == hovered_) {
      list->AddRectFilled(ra, rb, kHoverFill);
      list->AddRect(ra, rb, kHoverBorder);
    }
    float ty = std::floor(static_cast<float>(r.y) + (kRowHeight - size) / 2.0f);
    list->AddText(font, size, ImVec2(static_cast<float>(r.x + kTextLeft - kBorder), ty),
                  items_[i].enabled ? kText : kTextDisabled, items_[i].caption.c_str());
  }
}

}  // namespace quill
