#include "ui/name_entry_view.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_internal.h>

#include <algorithm>
#include <cstring>

#include "text/text_font.h"
#include "ui/text_composition.h"

namespace quill {
namespace {

constexpr float kFontPixels = 12.0f;
// "ＭＳ Ｐゴシック"
constexpr std::string_view kFontFace =
    "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

// UTF-8 texts of the controls.
constexpr const char* kCaption = "名前の変更###name_entry";
constexpr const char* kPrompt = "主人公の名前を入力してください。";
constexpr const char* kLimit = "（全角４文字以内）";
constexpr const char* kOk = "ＯＫ";
constexpr const char* kDefault = "デフォルト";

ImFont* g_font = nullptr;

int TrackCursor(ImGuiInputTextCallbackData* data) {
  *static_cast<int*>(data->UserData) = data->CursorPos;
  return 0;
}

}  // namespace

ImFont* LoadNameEntryFont() {
  g_font = nullptr;
  if (!ImGui::GetCurrentContext()) return nullptr;
  std::optional<FontMatch> match = ResolveFontName(kFontFace, false);
  if (!match) return nullptr;
  ImGuiIO& io = ImGui::GetIO();
  ImFontConfig config;
  config.FontNo = match->index;
  g_font = io.Fonts->AddFontFromFileTTF(match->path.c_str(), kFontPixels, &config,
                                        io.Fonts->GetGlyphRangesJapanese());
  return g_font;
}

void ImGuiNameEntryView::Begin(NameEntryForm& form) {
  showing_ = true;
  frames_ = 0;
  text_input_was_active_ = SDL_IsTextInputActive() == SDL_TRUE;
  ClearComposition();
  std::snprintf(buffer_, sizeof buffer_, "%s", form.edit1.c_str());
  synced_ = form.edit1;
  field_active_ = false;
  refocus_ = true;
}

void ImGuiNameEntryView::End() {
  showing_ = false;
  if (!text_input_was_active_) SDL_StopTextInput();
  ClearComposition();
  field_active_ = false;
}

bool ImGuiNameEntryView::DrawFrame(NameEntryForm& form) {
  if (!showing_) Begin(form);
  if (form.closed()) {
    End();
    return false;
  }
  if (g_font) ImGui::PushFont(g_font);
  ImGuiStyle& style = ImGui::GetStyle();
  const float title = ImGui::GetFontSize() + style.FramePadding.y * 2;
  const ImVec2 display = ImGui::GetIO().DisplaySize;
  const int width = NameEntryForm::kClientWidth;
  const int height = NameEntryForm::kClientHeight + static_cast<int>(title);
  // Centred over the game window and kept inside it.
  DialogPlacement at =
      PlaceOverWindow(0, 0, static_cast<int>(display.x), static_cast<int>(display.y), width, height,
                      static_cast<int>(display.x), static_cast<int>(display.y));
  ImGui::SetNextWindowPos(
      ImVec2(static_cast<float>(std::max(at.left, 0)), static_cast<float>(std::max(at.top, 0))),
      ImGuiCond_Appearing);
  ImGui::SetNextWindowSize(ImVec2(static_cast<float>(width), static_cast<float>(height)));
  ImGui::SetNextWindowFocus();
  ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
  // No close box: "ＯＫ" with valid names is the way out.
  ImGui::Begin(kCaption, nullptr,
               ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize |
                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar);
  const ImVec2 origin = ImGui::GetCursorStartPos();
  auto place = [&](float x, float y) { ImGui::SetCursorPos(ImVec2(origin.x + x, origin.y + y)); };

  place(8, 8);
  ImGui::TextUnformatted(kPrompt);
  place(8, 24);
  ImGui::TextUnformatted(kLimit);

  // Edit1. The form may have put text back (a refused name, the defaults).
  if (form.edit1 != synced_) {
    std::snprintf(buffer_, sizeof buffer_, "%s", form.edit1.c_str());
    synced_ = form.edit1;
    if (field_active_) {
      ImGui::ClearActiveID();  // an active field would keep its own copy
      refocus_ = true;
    }
  }
  place(8, 64);
  ImGui::SetNextItemWidth(81);
  ImGui::PushStyleVar(ImGuiStyleVar_FramePadding,
                      ImVec2(style.FramePadding.x, (20 - ImGui::GetFontSize()) / 2));
  if (refocus_) {
    ImGui::SetKeyboardFocusHere();
    refocus_ = false;
  }
  if (ImGui::InputText("##edit1", buffer_, sizeof buffer_, ImGuiInputTextFlags_CallbackAlways,
                       TrackCursor, &cursor_)) {
    form.edit1 = buffer_;
    synced_ = form.edit1;
  }
  const bool active = ImGui::IsItemActive();
  const ImVec2 field_min = ImGui::GetItemRectMin(), field_max = ImGui::GetItemRectMax();
  const ImVec2 padding = ImGui::GetStyle().FramePadding;
  ImGui::PopStyleVar();
  if (active) {
    if (!field_active_) SDL_StartTextInput();
    SDL_Rect rect{static_cast<int>(field_min.x), static_cast<int>(field_min.y),
                  static_cast<int>(field_max.x - field_min.x),
                  static_cast<int>(field_max.y - field_min.y)};
    SDL_SetTextInputRect(&rect);
    input_rect_ = Rect{rect.x, rect.y, rect.w, rect.h};
  }
  field_active_ = active;

  // The text being composed, at the cursor, underlined, with the rest of the field after it.
  shown_composition_.clear();
  const TextComposition& composing = CurrentComposition();
  if (active && !composing.text.empty()) {
    shown_composition_ = composing.text;
    ImDrawList* list = ImGui::GetWindowDrawList();
    size_t at_byte =
        static_cast<size_t>(std::clamp(cursor_, 0, static_cast<int>(std::strlen(buffer_))));
    float x = field_min.x + padding.x + ImGui::CalcTextSize(buffer_, buffer_ + at_byte).x;
    float y = field_min.y + padding.y;
    std::string shown = composing.text + (buffer_ + at_byte);
    list->PushClipRect(field_min, field_max, true);
    list->AddRectFilled(ImVec2(x, field_min.y + 1), ImVec2(field_max.x - 1, field_max.y - 1),
                        ImGui::GetColorU32(ImGuiCol_FrameBgActive));
    list->AddText(ImVec2(x, y), ImGui::GetColorU32(ImGuiCol_Text), shown.c_str());
    float under = ImGui::CalcTextSize(composing.text.c_str()).x;
    list->AddLine(ImVec2(x, y + ImGui::GetFontSize()), ImVec2(x + under, y + ImGui::GetFontSize()),
                  ImGui::GetColorU32(ImGuiCol_Text));
    list->PopClipRect();
  }

  place(192, 56);
  if (ImGui::Button(kOk, ImVec2(75, 33))) form.Button1Click();
  place(192, 16);
  if (ImGui::Button(kDefault, ImVec2(75, 25))) form.Button2Click();

  ImGui::End();
  ImGui::PopStyleVar();
  if (g_font) ImGui::PopFont();
  ++frames_;
  if (form.closed()) {
    End();
    return false;
  }
  return true;
}

}  // namespace quill
