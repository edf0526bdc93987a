#pragma once
// An OK/Cancel box drawn with ImGui inside the game window, for when SDL cannot show a box of
// the window system's.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quill {

class OkCancelDialog : public ModalDialog {
 public:
  // Texts in UTF-8.
  OkCancelDialog(std::string caption, std::string text, bool with_cancel);

  std::string_view Kind() const override { return "message"; }
  bool Answer(const std::vector<std::string>& words, std::string* error) override;
  bool DrawFrame() override;

  bool ok() const { return ok_; }

 private:
  std::string caption_;
  std::string text_;
  bool with_cancel_;
  bool ok_ = false;
  bool opened_ = false;
};

}  // namespace quill
