#include "text/screen_pauses.h"

#include "common/bmp_file.h"
#include "common/file_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr int kHiddenWindowScreenMode = 1;

}  // namespace

std::optional<Picture> ReadPanicPicture(const std::filesystem::path& game_folder) {
  std::optional<std::vector<uint8_t>> file =
      ReadFile(ResolveIgnoringCase(game_folder, "panic.bmp"));
  if (!file) return std::nullopt;
  std::optional<Picture> decoded = DecodeBmp(*file);
  if (!decoded) return std::nullopt;
  Picture screen(kScreenWidth, kScreenHeight);
  CopyRect(screen, 0, 0, *decoded, 0, 0, kScreenWidth, kScreenHeight);
  return screen;
}

void ScreenPauses::HideWindow() {
  Engine& e = engine_;
  if (e.screen_mode == kHiddenWindowScreenMode || e.banks().S(28) == 0) return;
  e.menus().HoldAll(true);
  kept_screen_ = e.pictures().screen;
  e.platform().Present(e.pictures().scene);
  e.screen_mode = kHiddenWindowScreenMode;
}

void ScreenPauses::ShowWindow() {
  Engine& e = engine_;
  if (e.screen_mode != kHiddenWindowScreenMode) return;
  e.platform().Present(kept_screen_);
  kept_screen_ = Picture();
  e.screen_mode = 0;
  e.subsystems().RedrawQuickButtons();
  e.menus().HoldAll(false);
}

void ScreenPauses::ShowPanic() {
  Engine& e = engine_;
  if (e.panic_shown) return;
  SoundOutput& sound = e.sound();
  sound.PauseSound();
  std::optional<Picture> panic = ReadPanicPicture(e.platform().GameFolder());
  if (!panic) {
    // Without its picture the panic screen does not open at all.
    sound.ResumeSound();
    return;
  }
  ScreenPictures& pics = e.pictures();
  kept_screen_ = pics.screen;
  pics.screen = std::move(*panic);
  e.menus().HoldAll(true);
  e.platform().Present(pics.screen);
  e.panic_shown = true;
  e.busy = true;
  sound.StopVoice();
}

void ScreenPauses::EndPanic() {
  Engine& e = engine_;
  if (!e.panic_shown) return;
  e.sound().ResumeSound();
  ScreenPictures& pics = e.pictures();
  pics.screen = std::move(kept_screen_);
  kept_screen_ = Picture();
  e.platform().Present(pics.screen);
  e.panic_shown = false;
  e.busy = false;
  e.menus().HoldAll(false);
}

}  // namespace quill
