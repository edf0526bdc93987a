#pragma once
// The layered screen: the background layer, up to four standing pictures, the overlay and the
// scene filter are composed into the scene buffer; the screen update lays the message window
// over it in the screen buffer and shows the result with a transition. Picture commands (gra,
// grb, bg, clrb, spr, fix) are in picture_commands.cpp.
#include <cstdint>
#include <string>
#include <string_view>

#include "graphics/sprite_sets.h"
#include "graphics/standing_pictures.h"

namespace quill {

class Engine;

// Where a layout of n standing pictures keeps its positions: picture k has centre x
// S(base + k) and top y S(base + 10 + k).
int StandingPositionBase(int count);

class Composition {
 public:
  explicit Composition(Engine& engine) : engine_(engine) {}

  // Start-up: the cache slots, the empty records, the default standing-picture positions, the
  // sprite-set list from `_sprset`.
  void StartUp();
  // ResetPictures("INIT") of sprmv, gameinit and start-up, the default layout positions:
  // S080–S089 the centres from TACHI_DEFAULT, S090–S099 (the tops) 0.
  void ResetPictures();

  // Background, overlay and standing pictures into the scene buffer.
  void ComposeScene();
  // The S011 filter over the scene buffer.
  void ApplySceneFilter();
  // Compose, rebuild the screen buffer and show it with transition t (the saved screen keeps the
  // screen as it was before).
  void UpdateScreen(int transition);
  // Scene (or the full-screen overlay) into the screen buffer, then the message window.
  void RebuildScreen();

  // The standing-picture command (spr, gra B…, save loading). Returns the transition number.
  int SetStandingPictures(std::string_view list);

  // Script commands; the picture variant flag (gra 0, grb 1) is the engine's.
  void PictureCommand(std::string_view argument);     // gra, grb, [gra
  void BackgroundCommand(std::string_view argument);  // bg
  void ClearLayers(std::string_view argument);        // clrb
  int SpriteCommand(std::string_view argument);       // spr: the transition for UpdateScreen
  void FixScreen();                                   // fix

  // Rebuilds the layers from the two save-data records (no screen update).
  void RestoreScene(std::string_view background_name, std::string_view sprite_list);

  // Records kept for save data.
  const std::string& background_name() const { return background_name_; }
  void set_background_name(std::string_view name);
  const std::string& sprite_list() const { return standing_.list_text(); }

  StandingPictures& standing() { return standing_; }
  SpriteSetList& sprite_sets() { return sprite_sets_; }
  bool new_background = false;
  // Kept in the global save; counts standing-picture commands outside skip and auto-skip play.
  int32_t sprite_show_count = 0;

 private:
  void DrawStanding(int k, int cell);
  void DrawOverlay();
  void FillBackground(std::string_view name);
  bool LoadBackground(std::string_view name);

  Engine& engine_;
  StandingPictures standing_;
  SpriteSetList sprite_sets_;
  std::string background_name_;
};

}  // namespace quill
