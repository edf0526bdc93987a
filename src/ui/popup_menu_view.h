#pragma once
// A popup menu over the game window, in the look of a desktop context menu: the geometry, the
// pointer and keys that choose or dismiss it, and its drawing with ImGui. The window backend runs
// it modally (SdlPlatform::RunPopupMenu). Also the font and colours the toolbar shares.
#include <string>
#include <vector>

#include "common/picture.h"
#include "platform/platform.h"

struct ImFont;
struct ImDrawList;
union SDL_Event;

namespace quill {

// The font of the toolbar and the menus: the dialogs' Japanese font at a menu's size. Loaded into
// the ImGui font atlas before the first frame; nullptr (ImGui's default font) when there is no
// font file.
constexpr float kMenuFontPixels = 15.0f;
ImFont* LoadMenuFont(const std::string& font_file);
ImFont* MenuFont();

// The pixel width of UTF-8 text in the menu font: full-width characters take one em, the rest
// half of one (the Japanese font's advances), so that layout needs no ImGui frame.
int MenuTextWidth(const std::string& utf8);

class PopupMenuView {
 public:
  static constexpr int kRowHeight = 22;
  static constexpr int kTextLeft = 28;  // room for a check mark, as desktop menus keep
  static constexpr int kTextRight = 24;
  static constexpr int kBorder = 2;

  enum class Outcome { None, Chosen, Dismissed };

  // Lays the entries out with the top-left corner at window pixel (x, y); a menu that would leave
  // the window opens to the left of or above that point instead, and stays inside the window.
  void Open(const std::vector<MenuEntry>& entries, int x, int y, int window_width,
            int window_height);
  void Close();
  bool open() const { return open_; }
  // Where the pointer was when the menu opened: small jitter from there does not arm the menu.
  void SetPointerOrigin(int x, int y);

  // Feeds one SDL event. Chosen: chosen_id() holds the entry's id.
  Outcome HandleEvent(const SDL_Event& event);
  int chosen_id() const { return chosen_id_; }

  // The entry under window pixel (x, y), -1 for none.
  int HitTest(int x, int y) const;
  Rect rect() const { return rect_; }
  Rect ItemRect(int index) const;
  int hovered() const { return hovered_; }
  size_t size() const { return items_.size(); }

  void Draw(ImDrawList* list) const;

 private:
  struct Item {
    int id;
    std::string caption;  // UTF-8
    bool enabled;
  };
  void MoveHover(int direction);

  std::vector<Item> items_;
  Rect rect_{};
  bool open_ = false;
  int hovered_ = -1;
  // A button release chooses only after the pointer has moved or a button went down on the menu,
  // so that the release of the click that opened it does not choose at once.
  bool armed_ = false;
  bool has_origin_ = false;
  int origin_x_ = 0, origin_y_ = 0;
  int chosen_id_ = -1;
};

}  // namespace quill
