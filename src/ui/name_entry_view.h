#pragma once
// The name entry dialog drawn with ImGui in the game window, with Japanese typed through the
// system's input method: text input is started for the edit field, the input method's candidate
// window is placed at the field, and the text being composed is shown in the field until it is
// committed.
#include <string>

#include "platform/platform.h"
#include "text/name_entry.h"

struct ImFont;

namespace quill {

// The dialog's font ("ＭＳ Ｐゴシック", 12 pixels, through the project's font rules), loaded into
// the ImGui atlas before its first frame; nullptr when no Japanese face exists.
ImFont* LoadNameEntryFont();

class ImGuiNameEntryView : public NameEntryView {
 public:
  bool DrawFrame(NameEntryForm& form) override;

  // What the last frame did with the input method (tests).
  bool field_active() const { return field_active_; }
  Rect input_rect() const { return input_rect_; }  // window pixels, given to SDL
  const std::string& shown_composition() const { return shown_composition_; }

 private:
  void Begin(NameEntryForm& form);
  void End();

  bool showing_ = false;
  bool text_input_was_active_ = false;
  int frames_ = 0;
  char buffer_[64] = {};
  std::string synced_;  // the form's edit text the buffer last matched
  bool field_active_ = false;
  bool refocus_ = false;
  int cursor_ = 0;  // the edit's cursor, in bytes of the buffer
  Rect input_rect_{};
  std::string shown_composition_;
};

}  // namespace quill
