#include "ui/imgui_layer.h"

#include <SDL.h>
#include <fontconfig/fontconfig.h>
#include <imgui.h>
#include <imgui_impl_sdl.h>
#include <imgui_impl_sdlrenderer.h>

#include <algorithm>

#include "ui/text_composition.h"

namespace quill {
namespace {

constexpr float kFontPixels = 18.0f;

// The matched file when the best match for `pattern_text` can draw Japanese kana.
std::string MatchWithKana(FcConfig* config, const char* pattern_text) {
  std::string file;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(pattern_text));
  if (!pattern) return file;
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  if (match) {
    FcChar8* path = nullptr;
    FcCharSet* charset = nullptr;
    // Plain fontconfig sends unknown families to a Latin face, so check the coverage.
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
        FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
        FcCharSetHasChar(charset, 0x3042) && FcCharSetHasChar(charset, 0x6F22)) {
      file = reinterpret_cast<const char*>(path);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return file;
}

}  // namespace

std::string FindJapaneseFontFile() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (!config) return {};
  std::string file;
  for (const char* name : {"IPAGothic", "IPAPGothic", ":lang=ja"}) {
    file = MatchWithKana(config, name);
    if (!file.empty()) break;
  }
  FcConfigDestroy(config);
  return file;
}

ImGuiLayer::~ImGuiLayer() { Shutdown(); }

bool ImGuiLayer::Init(SDL_Window* window, SDL_Renderer* renderer, std::string* error) {
  Shutdown();
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // nothing of the layout is kept between runs
  io.LogFilename = nullptr;
  ImGui::StyleColorsDark();
  // A question box leaves the game picture as it is, as the desktop's message boxes do (and
  // SDL's software renderer cannot darken it anyway).
  ImGui::GetStyle().Colors[ImGuiCol_ModalWindowDimBg] = ImVec4(0, 0, 0, 0);

  font_file_ = FindJapaneseFontFile();
  if (font_file_.empty() || !io.Fonts->AddFontFromFileTTF(font_file_.c_str(), kFontPixels, nullptr,
                                                          io.Fonts->GetGlyphRangesJapanese())) {
    font_file_.clear();
    io.Fonts->AddFontDefault();
  }

  if (!ImGui_ImplSDL2_InitForSDLRenderer(window)) {
    if (error) *error = "the ImGui SDL backend did not start";
    ImGui::DestroyContext();
    return false;
  }
  if (!ImGui_ImplSDLRenderer_Init(renderer)) {
    if (error) *error = "the ImGui renderer backend did not start";
    ImGui_ImplSDL2_Shutdown();
    ImGui::DestroyContext();
    return false;
  }
  ready_ = true;
  return true;
}

void ImGuiLayer::Shutdown() {
  if (!ready_) return;
  if (in_frame_) ImGui::EndFrame();
  in_frame_ = false;
  has_frame_ = false;
  ImGui_ImplSDLRenderer_Shutdown();
  ImGui_ImplSDL2_Shutdown();
  ImGui::DestroyContext();
  ready_ = false;
}

void ImGuiLayer::ResetDeviceObjects() {
  if (!ready_) return;
  ImGui_ImplSDLRenderer_DestroyDeviceObjects();
  ImGui_ImplSDLRenderer_CreateDeviceObjects();
}

void ImGuiLayer::ProcessEvent(const SDL_Event& event) {
  if (!ready_) return;
  TrackComposition(event);  // this ImGui's backend passes on committed text only
  ImGui_ImplSDL2_ProcessEvent(&event);
}

void ImGuiLayer::BeginFrame() {
  if (!ready_ || in_frame_) return;
  ImGui_ImplSDLRenderer_NewFrame();
  ImGui_ImplSDL2_NewFrame();
  ImGui::NewFrame();
  in_frame_ = true;
}

uint64_t ImGuiLayer::EndFrame() {
  if (!in_frame_) return 0;
  in_frame_ = false;
  ImGui::Render();
  has_frame_ = true;
  // FNV-1a over what the frame would draw: vertices, indices and the commands' fields.
  uint64_t digest = 0xcbf29ce484222325ull;
  auto mix = [&digest](const void* data, size_t size) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) digest = (digest ^ p[i]) * 0x100000001b3ull;
  };
  const ImDrawData* data = ImGui::GetDrawData();
  for (int n = 0; n < data->CmdListsCount; ++n) {
    const ImDrawList* list = data->CmdLists[n];
    mix(list->VtxBuffer.Data, list->VtxBuffer.size_in_bytes());
    mix(list->IdxBuffer.Data, list->IdxBuffer.size_in_bytes());
    for (const ImDrawCmd& cmd : list->CmdBuffer) {
      mix(&cmd.ClipRect, sizeof cmd.ClipRect);
      mix(&cmd.TextureId, sizeof cmd.TextureId);
      mix(&cmd.VtxOffset, sizeof cmd.VtxOffset);
      mix(&cmd.IdxOffset, sizeof cmd.IdxOffset);
      mix(&cmd.ElemCount, sizeof cmd.ElemCount);
    }
    mix(&n, sizeof n);  // a list boundary
  }
  return digest;
}

void ImGuiLayer::RenderFrame(const Rect* clip) {
  if (!ready_ || !has_frame_) return;
  ImDrawData* data = ImGui::GetDrawData();
  if (!data) return;
  if (clip) {
    // Every command's own clip is narrowed to the part asked for; the backend skips the empty.
    float x0 = static_cast<float>(clip->x), y0 = static_cast<float>(clip->y);
    float x1 = x0 + static_cast<float>(clip->w), y1 = y0 + static_cast<float>(clip->h);
    for (int n = 0; n < data->CmdListsCount; ++n) {
      for (ImDrawCmd& cmd : data->CmdLists[n]->CmdBuffer) {
        ImVec4& r = cmd.ClipRect;
        r.x = std::max(r.x, x0);
        r.y = std::max(r.y, y0);
        r.z = std::min(r.z, x1);
        r.w = std::min(r.w, y1);
      }
    }
  }
  ImGui_ImplSDLRenderer_RenderDrawData(data);
  // The clip changed the frame's lists: the next render needs a new frame.
  if (clip) has_frame_ = false;
}

}  // namespace quill
