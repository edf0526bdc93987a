#pragma once
// Dear ImGui in the game window: the context, the SDL and SDL_Renderer backends, and a font that
// covers Japanese, so that dialogs and menus can draw over the game picture.
#include <cstdint>
#include <string>

#include "common/picture.h"

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

namespace quill {

class ImGuiLayer {
 public:
  ImGuiLayer() = default;
  ~ImGuiLayer();
  ImGuiLayer(const ImGuiLayer&) = delete;
  ImGuiLayer& operator=(const ImGuiLayer&) = delete;

  // Creates the context for the window. False (and *error) when a backend does not start; the
  // layer is then unusable. A missing Japanese font is not an error: ImGui's own font is used.
  bool Init(SDL_Window* window, SDL_Renderer* renderer, std::string* error);
  void Shutdown();
  bool ready() const { return ready_; }

  // Makes the renderer objects again after the renderer lost its textures.
  void ResetDeviceObjects();

  // Feeds one SDL event to ImGui.
  void ProcessEvent(const SDL_Event& event);
  // Brackets one ImGui frame: widgets are drawn between the two. EndFrame finishes the frame's
  // draw lists and returns a digest of them, equal for frames that look the same, so that the
  // caller redraws only when something changed.
  void BeginFrame();
  uint64_t EndFrame();
  bool has_frame() const { return has_frame_; }
  // Renders the last finished frame into the renderer (the caller presents); with a clip, only
  // the part inside it (window pixels).
  void RenderFrame(const Rect* clip = nullptr);

  // The font file in use; empty when ImGui's built-in font is.
  const std::string& font_file() const { return font_file_; }

 private:
  bool ready_ = false;
  bool in_frame_ = false;
  bool has_frame_ = false;
  std::string font_file_;
};

// The file of an installed font with Japanese coverage, IPA Gothic first, through fontconfig.
// Empty when there is none.
std::string FindJapaneseFontFile();

}  // namespace quill
