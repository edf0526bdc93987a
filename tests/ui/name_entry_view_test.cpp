// The name dialog in the window on SDL's dummy video driver: Japanese typed through the input
// method's events (a composition, then the committed text) reaches the edit field.
#include "ui/name_entry_view.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <cstdlib>
#include <memory>

#include "common/sjis.h"
#include "platform/sdl/sdl_platform.h"
#include "text/name_entry.h"

namespace quill {
namespace {

class Sink : public PlatformEvents {
 public:
  void OnMouseDown(MouseButton, int, int) override {}
  void OnMouseUp(MouseButton, int, int) override {}
  void OnMouseMove(int, int) override {}
  void OnMouseWheel(int, int, int) override {}
  void OnKeyDown(int) override {}
  void OnKeyUp(int) override {}
  void OnChar(std::string_view) override {}
  void OnTimer() override {}
  void OnCloseRequest() override {}
  void OnPaint() override {}
  void WriteState(nlohmann::ordered_json&) override {}
};

class Names : public NameTarget {
 public:
  std::string NameInUse(int slot) override { return slot_[slot]; }
  void TakeName(int slot, std::string_view sjis) override { slot_[slot] = std::string(sjis); }
  void StoreNames() override { ++stores; }
  std::string slot_[2] = {"", Utf8ToSjisLossy("ひなた")};
  int stores = 0;
};

// Plays the input method: a composition on frame 3, its commit on frame 6, "ＯＫ" on frame 9; and
// notes what the view showed meanwhile. Gives up after 40 frames.
class InputMethod : public ModalDialog {
 public:
  InputMethod(NameEntryDialog& dialog, NameEntryForm& form, ImGuiNameEntryView& view,
              SDL_Window* window)
      : dialog_(dialog), form_(form), view_(view), window_(window) {}
  std::string_view Kind() const override { return "name"; }
  bool Answer(const std::vector<std::string>&, std::string*) override { return false; }
  bool DrawFrame() override {
    bool open = dialog_.DrawFrame();
    ++frame_;
    if (!view_.shown_composition().empty()) composition_seen = view_.shown_composition();
    if (view_.field_active()) {
      field_was_active = true;
      text_input_active = SDL_IsTextInputActive() == SDL_TRUE;
      rect = view_.input_rect();
    }
    SDL_Event e{};
    if (frame_ == 3) {
      e.type = SDL_TEXTEDITING;
      e.edit.windowID = SDL_GetWindowID(window_);
      std::snprintf(e.edit.text, sizeof e.edit.text, "%s", "やまだ");
      e.edit.start = 3;
      SDL_PushEvent(&e);
    } else if (frame_ == 6) {
      e.type = SDL_TEXTINPUT;
      e.text.windowID = SDL_GetWindowID(window_);
      std::snprintf(e.text.text, sizeof e.text.text, "%s", "山田");
      SDL_PushEvent(&e);
    } else if (frame_ == 9) {
      edit_before_ok = form_.edit1;
      form_.Button1Click();
    }
    gave_up = frame_ >= 40;
    return open && !gave_up;
  }
  std::string composition_seen, edit_before_ok;
  bool field_was_active = false, text_input_active = false, gave_up = false;
  Rect rect{};

 private:
  NameEntryDialog& dialog_;
  NameEntryForm& form_;
  ImGuiNameEntryView& view_;
  SDL_Window* window_;
  int frame_ = 0;
};

TEST(NameEntryView, JapaneseTypedThroughTheInputMethodReachesTheField) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  auto platform = std::make_unique<SdlPlatform>("/nonexistent/game");
  std::string error;
  ASSERT_TRUE(platform->Open(&error)) << error;
  Sink sink;
  platform->SetEventSink(&sink);
  platform->PumpMessages();

  Names names;
  NameEntryForm form(names, Utf8ToSjisLossy("春野"), Utf8ToSjisLossy("ひなた"));
  form.FormShow(0, 0, 800, 624, 1920, 1080);
  ImGuiNameEntryView view;
  NameEntryDialog dialog(form, &view);
  InputMethod ime(dialog, form, view, platform->window());
  platform->RunModal(ime);

  EXPECT_FALSE(ime.gave_up);
  EXPECT_TRUE(ime.field_was_active);
  EXPECT_TRUE(ime.text_input_active);
  EXPECT_EQ(ime.composition_seen, "やまだ");
  EXPECT_EQ(ime.edit_before_ok, "山田");
  // The candidate window goes to the edit field: 81 × 20 inside the window.
  EXPECT_EQ(ime.rect.w, 81);
  EXPECT_EQ(ime.rect.h, 20);
  EXPECT_GE(ime.rect.x, 0);
  EXPECT_LE(ime.rect.x + ime.rect.w, 800);
  EXPECT_GE(ime.rect.y, 0);
  EXPECT_LE(ime.rect.y + ime.rect.h, 624);
  // Committed, converted to Shift-JIS, taken and stored.
  EXPECT_TRUE(form.closed());
  EXPECT_EQ(names.slot_[0], Utf8ToSjisLossy("山田"));
  EXPECT_EQ(names.stores, 1);
  // The game's own typing goes on after the dialog.
  EXPECT_EQ(SDL_IsTextInputActive(), SDL_TRUE);

  // The dialog's font has the kana and kanji a name needs.
  bool covered = false;
  for (ImFont* font : ImGui::GetIO().Fonts->Fonts) {
    if (font->FontSize == 12.0f && font->FindGlyphNoFallback(0x3042) &&
        font->FindGlyphNoFallback(0x5C71)) {
      covered = true;
    }
  }
  EXPECT_TRUE(covered);
}

}  // namespace
}  // namespace quill
