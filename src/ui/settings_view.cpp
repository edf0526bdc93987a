#include "ui/settings_view.h"

#include <imgui.h>

#include <string>

#include "persist/credits.h"
#include "persist/settings_dialog.h"

namespace quill {
namespace {

using K = DialogControlKind;

std::string Id(const char* caption, const DialogControl& c) {
  return std::string(caption) + "##" + c.name;
}

void DrawControl(SettingsDialog& dialog, const DialogControl& c) {
  if (c.group[0] != '\0') {
    ImGui::Spacing();
    ImGui::TextUnformatted(c.group);
  }
  int value = dialog.Value(c);
  switch (c.kind) {
    case K::Radio:
      for (size_t i = 0; i < c.captions.size(); ++i) {
        if (i > 0) ImGui::SameLine();
        if (ImGui::RadioButton(Id(c.captions[i], c).c_str(), value == static_cast<int>(i))) {
          dialog.Change(c, static_cast<int>(i));
        }
      }
      break;
    case K::Check: {
      bool on = value != 0;
      if (ImGui::Checkbox(Id(c.captions[0], c).c_str(), &on)) dialog.Change(c, on);
      break;
    }
    case K::Bar:
      // The voice bar sits beside the button that plays the sample voice.
      if (std::string_view(c.name) == "Vol1") {
        if (ImGui::Button(Id(kVoiceButton, c).c_str(), ImVec2(90, 0))) dialog.Press(kVoiceButton);
      } else {
        ImGui::Text("%-10s", c.captions[0]);
      }
      ImGui::SameLine(110);
      ImGui::SetNextItemWidth(300);
      if (ImGui::SliderInt(Id("", c).c_str(), &value, c.low, c.high)) dialog.Change(c, value);
      break;
    case K::Spin:
      ImGui::SetNextItemWidth(120);
      if (ImGui::InputInt(Id(c.captions[0], c).c_str(), &value, 1, 1)) dialog.Change(c, value);
      break;
    case K::FontList: {
      ImGui::TextUnformatted(c.captions[0]);
      const auto& fonts = dialog.fonts();
      if (ImGui::BeginListBox(Id("", c).c_str(), ImVec2(300, 6 * ImGui::GetTextLineHeight()))) {
        for (size_t i = 0; i < fonts.size(); ++i) {
          bool selected = dialog.selected_font() == static_cast<int>(i);
          if (ImGui::Selectable(fonts[i].c_str(), selected)) {
            dialog.ChooseFont(static_cast<int>(i));
          }
          if (selected && ImGui::IsWindowAppearing()) ImGui::SetScrollHereY();
        }
        ImGui::EndListBox();
      }
      break;
    }
    case K::ColourBar: {
      // The bar runs from -255 to 0 and shows its position, the negated value.
      int position = -value;
      ImGui::Text("%-4s", c.captions[0]);
      ImGui::SameLine(60);
      ImGui::SetNextItemWidth(300);
      if (ImGui::SliderInt(Id("", c).c_str(), &position, c.low, c.high)) {
        dialog.Change(c, -position);
      }
      if (std::string_view(c.name) == "TXBG_A") {
        auto rgb = dialog.SampleColour();
        ImGui::ColorButton("##sample", ImVec4(rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f, 1),
                           ImGuiColorEditFlags_NoTooltip, ImVec2(60, 30));
        ImGui::SameLine();
        if (ImGui::Button(kDefaultButton)) dialog.Press(kDefaultButton);
      }
      break;
    }
  }
}

bool DrawSettings(SettingsDialog& dialog) {
  const char* title = "設定##settings";
  if (!ImGui::IsPopupOpen(title)) ImGui::OpenPopup(title);
  ImGui::SetNextWindowPos(ImGui::GetMainViewport()->GetCenter(), ImGuiCond_Appearing,
                          ImVec2(0.5f, 0.5f));
  ImGui::SetNextWindowSize(ImVec2(520, 0), ImGuiCond_Appearing);
  if (!ImGui::BeginPopupModal(title, nullptr, ImGuiWindowFlags_AlwaysAutoResize)) return false;
  if (ImGui::BeginTabBar("tabs")) {
    for (int tab = 0; tab < 4; ++tab) {
      if (!ImGui::BeginTabItem(kSettingsTabs[tab])) continue;
      dialog.set_tab(tab);
      if (tab == 3) {
        ImGui::TextUnformatted(kCreditsHeading);
        ImGui::Separator();
        ImGui::PushTextWrapPos(500);
        for (const LibraryCredit& credit : LibraryCredits()) {
          ImGui::Text("%s: %s", credit.library, credit.line);
        }
        ImGui::PopTextWrapPos();
      }
      for (const DialogControl& c : dialog.controls()) {
        if (c.tab == tab && dialog.Visible(c)) DrawControl(dialog, c);
      }
      ImGui::EndTabItem();
    }
    ImGui::EndTabBar();
  }
  ImGui::Separator();
  if (ImGui::Button(kCloseButton, ImVec2(100, 0)) ||
      ImGui::IsKeyPressed(ImGui::GetKeyIndex(ImGuiKey_Escape))) {
    dialog.Close();
  }
  if (dialog.closed()) ImGui::CloseCurrentPopup();
  ImGui::EndPopup();
  return !dialog.closed();
}

}  // namespace

void InstallSettingsView() { SettingsDialog::SetView(DrawSettings); }

}  // namespace quill
