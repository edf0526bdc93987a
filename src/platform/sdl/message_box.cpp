#include "platform/sdl/message_box.h"

#include <imgui.h>

namespace quill {

OkCancelDialog::OkCancelDialog(std::string caption, std::string text, bool with_cancel)
    : caption_(std::move(caption)), text_(std::move(text)), with_cancel_(with_cancel) {}

bool OkCancelDialog::Answer(const std::vector<std::string>& words, std::string* error) {
  if (words.size() == 1 && (words[0] == "ok" || (with_cancel_ && words[0] == "cancel"))) {
    ok_ = words[0] == "ok";
    return true;
  }
  if (error) *error = with_cancel_ ? "answer with 'ok' or 'cancel'" : "answer with 'ok'";
  return false;
}

bool OkCancelDialog::DrawFrame() {
  // The popup's id must not change with the caption's text: "##box" keeps it fixed.
  std::string title = caption_ + "##box";
  if (!opened_) {
    ImGui::OpenPopup(title.c_str());
    opened_ = true;
  }
  ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Always,
                          ImVec2(0.5f, 0.5f));
  bool open = true;
  if (!ImGui::BeginPopupModal(title.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize)) {
    return false;
  }
  ImGui::TextUnformatted(text_.c_str());
  ImGui::Spacing();
  if (ImGui::Button("OK", ImVec2(100, 0)) ||
      ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Enter))) {
    ok_ = true;
    open = false;
  }
  if (with_cancel_) {
    ImGui::SameLine();
    if (ImGui::Button("キャンセル", ImVec2(100, 0)) ||
        ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) {
      ok_ = false;
      open = false;
    }
  }
  if (!open) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
  return open;
}

}  // namespace quill
