#pragma once
// The two screen pauses: the hidden message window (the picture alone until the next click) and
// the panic screen (a picture from the game folder over the game, the sound muted, until the
// next click).
#include <filesystem>
#include <optional>

#include "common/picture.h"

namespace quill {

class Engine;

// "panic.bmp" of the game folder as an 800 × 600 picture: a smaller one lies at the top left of
// black, a larger one is cut. Nothing when the file is missing or not a picture.
std::optional<Picture> ReadPanicPicture(const std::filesystem::path& game_folder);

class ScreenPauses {
 public:
  explicit ScreenPauses(Engine& engine) : engine_(engine) {}

  // Nothing while S028 is 0. Screen mode 1 shows the scene buffer.
  void HideWindow();
  void ShowWindow();
  // Always works; a panic picture that cannot be read leaves the game as it was (sound on).
  void ShowPanic();
  void EndPanic();

 private:
  Engine& engine_;
  Picture kept_screen_;
};

}  // namespace quill
