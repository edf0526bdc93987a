#include "text/name_entry.h"

#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr size_t kMaxNameBytes = 8;
// The main window's outer size, as the placement sees it.
constexpr int kMainWidth = kScreenWidth, kMainHeight = kScreenHeight + kToolbarHeight;

}  // namespace

bool IsValidName(std::string_view sjis) {
  if (sjis.empty() || sjis.size() > kMaxNameBytes) return false;
  // A byte at every even position that is not a lead byte is a one-byte character; so is a lead
  // byte with no second byte.
  if (sjis.size() % 2 != 0) return false;
  for (size_t i = 0; i < sjis.size(); i += 2) {
    if (!IsLeadByte(static_cast<uint8_t>(sjis[i]))) return false;
  }
  return true;
}

bool IsValidNameUtf8(std::string_view utf8) {
  Conversion c = Utf8ToSjis(utf8);
  return c.ok() && IsValidName(c.text);
}

DialogPlacement PlaceOverWindow(int main_left, int main_top, int main_width, int main_height,
                                int dialog_width, int dialog_height, int desktop_width,
                                int desktop_height) {
  DialogPlacement p;
  p.left = main_left + (main_width - dialog_width) / 2;
  p.top = main_top + (main_height - dialog_height) / 2;
  if (p.left < 0) p.left = 0;
  if (p.top < 0) p.top = 0;
  if (p.left + dialog_width > desktop_width) p.left = desktop_width - dialog_width;
  if (p.top + dialog_height > desktop_height) p.top = desktop_height - dialog_height;
  return p;
}

void NameEntryForm::FormShow(int main_left, int main_top, int main_width, int main_height,
                             int desktop_width, int desktop_height) {
  placement_ = PlaceOverWindow(main_left, main_top, main_width, main_height, kClientWidth,
                               kClientHeight, desktop_width, desktop_height);
  edit1 = SjisToUtf8Lossy(target_.NameInUse(0));
  edit2 = SjisToUtf8Lossy(target_.NameInUse(1));
  closed_ = false;
}

void NameEntryForm::Button1Click() {
  if (!IsValidNameUtf8(edit1)) {
    edit1 = SjisToUtf8Lossy(target_.NameInUse(0));
    return;
  }
  target_.TakeName(0, Utf8ToSjis(edit1).text);
  if (!IsValidNameUtf8(edit2)) {
    edit2 = SjisToUtf8Lossy(target_.NameInUse(1));
    return;
  }
  target_.TakeName(1, Utf8ToSjis(edit2).text);
  target_.StoreNames();
  closed_ = true;
}

void NameEntryForm::Button2Click() {
  edit1 = SjisToUtf8Lossy(default_family_);
  edit2 = SjisToUtf8Lossy(default_given_);
}

bool NameEntryDialog::Answer(const std::vector<std::string>& words, std::string* error) {
  if (!words.empty() && words[0] == "name" && (words.size() == 2 || words.size() == 3)) {
    form_.edit1 = words[1];
    if (words.size() == 3) form_.edit2 = words[2];
    form_.Button1Click();
    return true;
  }
  if (words.size() == 1 && words[0] == "default") {
    form_.Button2Click();
    return true;
  }
  if (words.size() == 1 && words[0] == "ok") {
    form_.Button1Click();
    return true;
  }
  *error =
      "the name dialog is open: answer it with 'dialog name FAMILY [GIVEN]', 'dialog default' or "
      "'dialog ok'";
  return false;
}

bool NameEntryDialog::DrawFrame() {
  if (form_.closed() || !view_) return false;
  return view_->DrawFrame(form_);
}

void NameEntry::SetnameCommand() {
  Engine& e = engine_;
  bool was_busy = e.busy;
  e.busy = true;
  ShowNameEntry();
  e.busy = was_busy;
  const GameConfig& c = e.config();
  ValueBanks& banks = e.banks();
  bool defaults = banks.NameSlot(0) == c.DEFAULT_NAME && banks.NameSlot(1) == c.DEFAULT_NAME2;
  banks.SetS(6, defaults ? 0 : 1);
}

void NameEntry::ShowNameEntry() {
  Engine& e = engine_;
  Platform& platform = e.platform();
  NameEntryForm form(*this, e.config().DEFAULT_NAME, e.config().DEFAULT_NAME2);
  int x = 0, y = 0, desktop_w = 0, desktop_h = 0;
  platform.GetWindowPosition(x, y);
  platform.GetDesktopSize(desktop_w, desktop_h);
  form.FormShow(x, y, kMainWidth, kMainHeight, desktop_w, desktop_h);
  NameEntryDialog dialog(form, view_);
  form_ = &form;
  platform.RunModal(dialog);
  form_ = nullptr;
}

std::string NameEntry::NameInUse(int slot) { return std::string(engine_.banks().NameSlot(slot)); }

void NameEntry::TakeName(int slot, std::string_view sjis) {
  engine_.settings().SetText(slot == 0 ? SettingId::PlayerName : SettingId::PlayerName2, sjis);
  engine_.banks().SetNameSlot(slot, sjis);
}

void NameEntry::StoreNames() {
  Engine& e = engine_;
  SettingsStore* store = e.settings_store();
  if (!store) return;
  Settings& s = e.settings();
  for (SettingId id : {SettingId::PlayerName, SettingId::PlayerName2}) {
    std::string value = s.Text(id);
    s.Change(id, value, *store);
  }
}

}  // namespace quill
