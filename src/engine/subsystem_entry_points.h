#pragma once
// The calls the script machine makes into subsystems that are not built yet: one method per
// routine, named for it. Each is empty (or answers "nothing there") until its subsystem lands
// and fills it in.
#include <cstdint>
#include <string_view>

namespace quill {

class Engine;
class Picture;

class SubsystemEntryPoints {
 public:
  explicit SubsystemEntryPoints(Engine& engine) : engine_(engine) {}

  // Script commands (the argument is the line's text from the command's argument byte on).
  void PictureCommand(std::string_view arg);  // gra, grb, [gra]: the variant flag is set first
  void ClearLayers(std::string_view arg);  // clrb, [clrb]
  int SpriteCommand(std::string_view arg);  // returns the transition number for UpdateScreen
  void PartsSet(std::string_view arg);
  void OpenLoadScreen();
  void CloseWindow();
  void GameClear();
  void PartsLoad(std::string_view arg);
  void MovieCommand(std::string_view arg);
  void BackgroundCommand(std::string_view arg);
  void FixScreen();  // copy the display into the scene and screen buffers
  void SelectionTree(std::string_view arg);
  void OpenSaveScreen();
  void OpenWindow();
  void StaffRoll(std::string_view arg);
  void AnimCommand(std::string_view arg, bool second_player);
  void OverlayCommand(std::string_view arg);
  void GalleryViewer(std::string_view arg);
  void ScrollRoll();
  void RecollectionMode();
  void EffectCommand(std::string_view arg);
  void WipeSet(std::string_view arg);
  void ReturnFromGallery();       // leaving extra mode 1
  void ReturnFromRecollection();  // leaving extra mode 2

  // Text output.
  void PutTextGlyph(std::string_view character, int x, int y);  // DrawTextChar's drawing
  void DrawNamePlate(std::string_view name);
  void DrawRuby(std::string_view text, int x, int y);
  void PresentNewPage(bool was_open);       // NewPage: erase the page, show the window
  void LayoutChanged(bool switched);        // mode: window cache, speaker colour, screen update
  void UpdateScreen(int transition);
  // The screen update's calls out: the saved screen holds the old picture, the screen buffer
  // the new one.
  void RunTransition(int transition);
  void ComposeWindow();
  void PresentWindow();
  void InvalidateWindowCache();
  // The screen rebuild: the scene (or the full-screen overlay) into the screen buffer, then the
  // window composed and laid over it.
  void RebuildScreen();
  void ForgetWipe();         // a new page drops the pending wipe pattern
  void MarkPictureSeen(std::string_view name);  // a gallery picture shown by gra or bg
  void ShowClickIcon();
  void EraseClickIcon();
  void RedrawQuickButtons();

  // Frame loop and timer.
  void UpdateMenus();
  void GalleryFrame();
  bool MoviePanelTick();  // true while a movie panel owns the timer
  void RecollectionTick();
  void QuickButtonHover();

  // Script loading hooks.
  void SceneScriptUnlock(std::string_view name);  // gallery: E flag of a scene script
  void UnlockScene(std::string_view name);        // recollection entries keyed by the name

  // The main window.
  bool FormCloseQuery();  // true: the window may close
  void FormDestroy();

  // Start-up (StartUp calls them in its order).
  void StartUpMessageWindow();  // name plate, window image and skin, sys_clickw and its work
  void StartUpQuickBar();       // sys_qbtn, its strips, sys_qbtn2, sys_autobar
  void StartUpComposition();    // standing-picture cache, recorded names, INIT, _sprset
  void StartUpGallery();        // gallery and recollection lists, VIEW_1/VIEW_2, selection tree
  void ReadGlobalSave();
  void WriteGlobalSave();
  // The close question: 1 stop the staff roll (OK), 2 pause it while asking, 3 end the pause.
  void SignalStaffRoll(int request);

  // Input and play modes: the screens and actions the input handlers open or feed.
  // Opens the menu 16 pixels right of the pointer (x, y) and sets the popup flag itself, before
  // the chosen item acts (the menu is modal: it has closed when this returns).
  void OpenRightClickMenu(int x, int y);
  void CloseRightClickMenu();  // as Escape down and up would
  void OpenSaveEditScreen();   // the save/load dialog in its third mode (セーブ編集)
  void NextScene();            // recollection: leave the replayed scene (シーンスキップ)
  void ShowConfirm(std::string_view question, int action);  // the yes/no band
  void QuickSave();
  void LoadSlot(int slot, bool silent);
  void ResetTitleMenus();  // hide シーンスキップ and 回想モード終了, enable the save and load items
  void StopScrollRoll(bool wait);
  void GalleryMouseDown(int button, int x, int y);
  void GalleryMouseMove(int x, int y);
  void RecollectionMouseDown(int button, int x, int y);
  void RecollectionMouseMove(int x, int y);
  void RecollectionMouseUp(int button, int x, int y);
  void MapMouseMove(int x, int y);
  void SelectionTreeMouseDown(int button, int x, int y);  // a click while the tree is shown
  void SelectionTreeHover(int x, int y);
  // The message window's image (window coordinates), where the quick-button bar is drawn too;
  // nullptr while there is none.
  Picture* MessageWindowImage();

 private:
  Engine& engine_;
};

}  // namespace quill
