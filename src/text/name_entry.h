#pragma once
// The name entry (`setname`): the dialog TForm2 with its controls, its placement over the main
// window, "デフォルト", the check of the names (1 to 8 bytes of two-byte characters only), and the
// names taken into the name slots and the settings store. There is no cancel: "ＯＫ" with two
// valid names is the only way out. The window backend draws the dialog through a NameEntryView
// (src/ui/); a headless run answers it from the scenario.
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace quill {

class Engine;

// A valid name: 1 to 8 bytes of Shift-JIS, every character a two-byte one.
bool IsValidName(std::string_view sjis);
// The same for an edit's UTF-8 text: characters Shift-JIS cannot hold make it invalid.
bool IsValidNameUtf8(std::string_view utf8);

struct DialogPlacement {
  int left = 0, top = 0;
};
// FormShow's placement: centred over the main window (truncated toward zero), then kept from
// the desktop's left and top edges, then pushed back inside its right and bottom edges.
DialogPlacement PlaceOverWindow(int main_left, int main_top, int main_width, int main_height,
                                int dialog_width, int dialog_height, int desktop_width,
                                int desktop_height);

// What the dialog reads and writes outside itself.
class NameTarget {
 public:
  virtual ~NameTarget() = default;
  // Name slot 0 (family) or 1 (given), Shift-JIS.
  virtual std::string NameInUse(int slot) = 0;
  // The engine's copy of PlayerName / PlayerName2 and the name slot.
  virtual void TakeName(int slot, std::string_view sjis) = 0;
  // PlayerName, then PlayerName2, written to the settings store.
  virtual void StoreNames() = 0;
};

// TForm2's state and handlers.
class NameEntryForm {
 public:
  static constexpr int kClientWidth = 275, kClientHeight = 96;

  NameEntryForm(NameTarget& target, std::string default_family, std::string default_given)
      : target_(target),
        default_family_(std::move(default_family)),
        default_given_(std::move(default_given)) {}

  // The dialog is shown: placed (see PlaceOverWindow), the edits filled from the names in use.
  void FormShow(int main_left, int main_top, int main_width, int main_height, int desktop_width,
                int desktop_height);
  // "ＯＫ": a name that fails the check is put back to the name in use and the dialog stays open;
  // two valid names are taken, stored, and the dialog closes.
  void Button1Click();
  // "デフォルト": the game's default names into the edits; nothing is checked or stored.
  void Button2Click();

  // The edits' texts, UTF-8 as the dialog's edit controls hold them. Edit2 is hidden.
  std::string edit1, edit2;
  bool closed() const { return closed_; }
  DialogPlacement placement() const { return placement_; }

 private:
  NameTarget& target_;
  std::string default_family_, default_given_;  // Shift-JIS
  bool closed_ = false;
  DialogPlacement placement_;
};

// The window backend's drawing of the dialog.
class NameEntryView {
 public:
  virtual ~NameEntryView() = default;
  // One frame; false once the form has closed.
  virtual bool DrawFrame(NameEntryForm& form) = 0;
};

// The modal dialog the platform runs: headless answers are "name FAMILY [GIVEN]" (typed into the
// edits, then "ＯＫ"), "default" ("デフォルト") and "ok" ("ＯＫ" as the edits stand).
class NameEntryDialog : public ModalDialog {
 public:
  NameEntryDialog(NameEntryForm& form, NameEntryView* view) : form_(form), view_(view) {}
  std::string_view Kind() const override { return "name"; }
  bool Answer(const std::vector<std::string>& words, std::string* error) override;
  bool DrawFrame() override;
  bool StaysOpen() const override { return !form_.closed(); }

 private:
  NameEntryForm& form_;
  NameEntryView* view_;
};

// The engine's side: `setname` and the names it shows and takes.
class NameEntry : public NameTarget {
 public:
  explicit NameEntry(Engine& engine) : engine_(engine) {}

  // `setname` after CancelAutoSkip: the dialog shown modally with the engine busy, then S006 = 0
  // when both names are the game's defaults, else 1.
  void SetnameCommand();
  // Shows the dialog; returns once it has closed.
  void ShowNameEntry();
  void set_view(NameEntryView* view) { view_ = view; }
  // The form while the dialog is open (state dumps); nullptr otherwise.
  const NameEntryForm* open_form() const { return form_; }

  std::string NameInUse(int slot) override;
  void TakeName(int slot, std::string_view sjis) override;
  void StoreNames() override;

 private:
  Engine& engine_;
  NameEntryView* view_ = nullptr;
  NameEntryForm* form_ = nullptr;
};

}  // namespace quill
