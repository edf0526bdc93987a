#pragma once
// The calls the script machine makes into subsystems that are not built yet: one method per
// routine, named for it. Each is empty (or answers "nothing there") until its subsystem lands
// and fills it in.
#include <cstdint>
#include <string_view>

namespace quill {

class Engine;

class SubsystemEntryPoints {
 public:
  explicit SubsystemEntryPoints(Engine& engine) : engine_(engine) {}

  // Script commands (the argument is the line's text from the command's argument byte on).
  void PictureCommand(std::string_view arg);  // gra, grb, [gra]: the variant flag is set first
  void MusicCommand(std::string_view arg);
  void VoiceCommand(std::string_view arg);
  void ClearLayers(std::string_view arg);  // clrb, [clrb]
  void SelectCommand(std::string_view line);
  void ClickmapCommand(std::string_view arg);
  void SwitchCommand(std::string_view arg);
  int SpriteCommand(std::string_view arg);  // returns the transition number for UpdateScreen
  void PartsSet(std::string_view arg);
  void OpenLoadScreen();
  void ResetAnimations(std::string_view arg);  // gameinit: "INIT"
  void CloseWindow();
  void SpecialEffect(std::string_view arg);
  void GameClear();
  void PartsLoad(std::string_view arg);
  void MovieCommand(std::string_view arg);
  void BackgroundCommand(std::string_view arg);
  void FixScreen();  // copy the display into the scene and screen buffers
  void SelectionTree(std::string_view arg);
  void DirectDraw(std::string_view arg);
  void OpenSaveScreen();
  void OpenWindow();
  void MapCommand(std::string_view arg);
  void BackgroundAnimation(std::string_view arg);
  void StaffRoll(std::string_view arg);
  void AnimCommand(std::string_view arg, bool second_player);
  void ShakeCommand(std::string_view arg);
  void NameEntry();  // setname: the dialog and S006 afterwards
  void OverlayCommand(std::string_view arg);
  void GalleryViewer(std::string_view arg);
  void SoundEffect(std::string_view arg);
  void LoopSoundEffect(std::string_view arg);
  void StopSoundEffects(int selector);
  void StartChoiceRecording();
  void ObjectControl(std::string_view arg);
  void ScrollRoll();
  void ScrollCommand(std::string_view arg);
  void RecollectionMode();
  void ParameterChange();
  void MarkAllPicturesSeen();
  void EffectCommand(std::string_view arg);
  void ComicSymbol(std::string_view arg);
  void SpriteMotion(std::string_view arg);
  void EffectAnimation(std::string_view arg);
  void WipeSet(std::string_view arg);
  void LoopAnimation(std::string_view arg);
  void ReturnFromGallery();       // leaving extra mode 1
  void ReturnFromRecollection();  // leaving extra mode 2

  // Text output.
  void PutTextGlyph(std::string_view character, int x, int y);  // DrawTextChar's drawing
  void DrawNamePlate(std::string_view name);
  void DrawRuby(std::string_view text, int x, int y);
  void PresentNewPage(bool was_open);       // NewPage: erase the page, show the window
  void LayoutChanged(bool switched);        // mode: window cache, speaker colour, screen update
  void InlineVoice(std::string_view name);  // [cv: play, page voice list, last voice
  void PageRecord();
  void UpdateScreen(int transition);
  void ShowClickIcon();
  void EraseClickIcon();
  void RedrawQuickButtons();

  // Frame loop and timer.
  void UpdateMenus();
  void GalleryFrame();
  void AnimationFrame();
  void BackgroundAnimationFrame(uint32_t frame_counter);
  void SoundUpdate();
  bool MoviePanelTick();  // true while a movie panel owns the timer
  void EffectTick();
  void RecollectionTick();
  void ChoiceTick();
  bool IsVoicePlaying();
  void QuickButtonHover();
  void DeferredMusicStart();
  void EndChoiceWait();

  // Script loading hooks.
  void SceneScriptUnlock(std::string_view name);  // gallery: E flag of a scene script
  void UnlockScene(std::string_view name);        // recollection entries keyed by the name

  // The main window.
  bool FormCloseQuery();  // true: the window may close
  void FormDestroy();

  // Start-up (StartUp calls them in its order).
  void StartUpMessageWindow();  // name plate, window image and skin, sys_clickw and its work
  void StartUpQuickBar();       // sys_qbtn, its strips, sys_qbtn2, sys_autobar
  void StartUpChoicePlates();   // sys_sw, sys_sw2; sys_sww, sys_sww2 with SELECT_EXPAND
  void StartUpComposition();    // standing-picture cache, recorded names, INIT, obj_, _sprset
  void StartUpGallery();        // gallery and recollection lists, VIEW_1/VIEW_2, selection tree
  void StartUpSound();          // the sound output (BeginGame)
  void StartUpCursors();        // the mouse cursors
  void ReadGlobalSave();
  void WriteGlobalSave();
  void StopMusic();

 private:
  Engine& engine_;
};

}  // namespace quill
