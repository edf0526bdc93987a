// Entry points into subsystems still to be built: empty, or answering "nothing there".
#include "engine/subsystem_entry_points.h"

#include "engine/engine.h"
#include "graphics/overlay_command.h"
#include "graphics/parts_commands.h"
#include "graphics/wipe_and_effect.h"

namespace quill {

void SubsystemEntryPoints::PictureCommand(std::string_view arg) {
  engine_.composition().PictureCommand(arg);
}
void SubsystemEntryPoints::ClearLayers(std::string_view arg) {
  engine_.composition().ClearLayers(arg);
}
int SubsystemEntryPoints::SpriteCommand(std::string_view arg) {
  return engine_.composition().SpriteCommand(arg);
}
// ptset draws on the display: onto the screen buffer, then shown.
void SubsystemEntryPoints::PartsSet(std::string_view arg) {
  Engine& e = engine_;
  PtsetArguments a = ReadPtsetArguments(
      arg, [&e](std::string_view text) { return EvalExpression(text, e.banks(), e); });
  DrawPtset(e.pictures().parts, a, e.screen());
  e.platform().Present(e.screen());
}
void SubsystemEntryPoints::OpenLoadScreen() {}
void SubsystemEntryPoints::CloseWindow() { engine_.message_window().CloseWindow(); }
void SubsystemEntryPoints::GameClear() {}
void SubsystemEntryPoints::PartsLoad(std::string_view arg) {
  Engine& e = engine_;
  e.banks().SetS(15, RunPartsload(arg, e.picture_loader(), e.pictures().parts, e.parts_pressed()));
}
void SubsystemEntryPoints::MovieCommand(std::string_view) {}
void SubsystemEntryPoints::BackgroundCommand(std::string_view arg) {
  engine_.composition().BackgroundCommand(arg);
}
void SubsystemEntryPoints::FixScreen() { engine_.composition().FixScreen(); }
void SubsystemEntryPoints::SelectionTree(std::string_view) {}
void SubsystemEntryPoints::OpenSaveScreen() {}
void SubsystemEntryPoints::OpenWindow() { engine_.message_window().OpenWindow(); }
void SubsystemEntryPoints::StaffRoll(std::string_view) {}
void SubsystemEntryPoints::AnimCommand(std::string_view, bool) {}
void SubsystemEntryPoints::OverlayCommand(std::string_view arg) {
  quill::OverlayCommand(engine_, arg);
}
void SubsystemEntryPoints::GalleryViewer(std::string_view) {}
void SubsystemEntryPoints::ScrollRoll() {}
void SubsystemEntryPoints::RecollectionMode() {}
void SubsystemEntryPoints::EffectCommand(std::string_view arg) {
  quill::EffectCommand(engine_, arg);
}
void SubsystemEntryPoints::WipeSet(std::string_view arg) { quill::WipeSet(engine_, arg); }
void SubsystemEntryPoints::ReturnFromGallery() {}
void SubsystemEntryPoints::ReturnFromRecollection() {}
void SubsystemEntryPoints::PutTextGlyph(std::string_view character, int x, int y) {
  engine_.message_window().PutTextGlyph(character, x, y);
}
void SubsystemEntryPoints::DrawNamePlate(std::string_view name) {
  engine_.message_window().DrawNamePlate(name);
}
void SubsystemEntryPoints::DrawRuby(std::string_view text, int x, int y) {
  engine_.message_window().DrawRuby(text, x, y);
}
void SubsystemEntryPoints::PresentNewPage(bool was_open) {
  engine_.message_window().PresentNewPage(was_open);
}
void SubsystemEntryPoints::LayoutChanged(bool switched) {
  engine_.message_window().LayoutChanged(switched);
}
void SubsystemEntryPoints::UpdateScreen(int transition) {
  engine_.composition().UpdateScreen(transition);
}
// Until the transitions exist every transition but 0 (which draws nothing) is the cut.
void SubsystemEntryPoints::RunTransition(int transition) {
  engine_.transitions().RunTransition(transition);
}
void SubsystemEntryPoints::ComposeWindow() { engine_.message_window().ComposeWindow(); }
void SubsystemEntryPoints::PresentWindow() { engine_.message_window().PresentWindow(); }
void SubsystemEntryPoints::InvalidateWindowCache() {
  engine_.message_window().InvalidateWindowCache();
}
void SubsystemEntryPoints::RebuildScreen() { engine_.composition().RebuildScreen(); }
// A new page empties the name record that wipeset and ovr share.
void SubsystemEntryPoints::ForgetWipe() { engine_.transitions().set_overlay_name(""); }
void SubsystemEntryPoints::MarkPictureSeen(std::string_view) {}
void SubsystemEntryPoints::ShowClickIcon() { engine_.message_window().ShowClickIcon(); }
void SubsystemEntryPoints::EraseClickIcon() { engine_.message_window().EraseClickIcon(); }
void SubsystemEntryPoints::RedrawQuickButtons() { engine_.quick_buttons().DrawQuickBar(1); }
void SubsystemEntryPoints::UpdateMenus() { engine_.menus().UpdateMenus(); }
void SubsystemEntryPoints::GalleryFrame() {}
bool SubsystemEntryPoints::MoviePanelTick() { return false; }
void SubsystemEntryPoints::RecollectionTick() {}
void SubsystemEntryPoints::QuickButtonHover() { engine_.quick_buttons().TrackHover(); }
void SubsystemEntryPoints::SceneScriptUnlock(std::string_view) {}
void SubsystemEntryPoints::UnlockScene(std::string_view) {}
bool SubsystemEntryPoints::FormCloseQuery() { return engine_.FormCloseQuery(); }
void SubsystemEntryPoints::FormDestroy() { engine_.FormDestroy(); }

void SubsystemEntryPoints::StartUpMessageWindow() { engine_.message_window().StartUp(); }
void SubsystemEntryPoints::StartUpQuickBar() { engine_.quick_buttons().StartUp(); }
void SubsystemEntryPoints::StartUpComposition() { engine_.composition().StartUp(); }
void SubsystemEntryPoints::StartUpGallery() {}
void SubsystemEntryPoints::ReadGlobalSave() {}
void SubsystemEntryPoints::WriteGlobalSave() {}
void SubsystemEntryPoints::SignalStaffRoll(int) {}

void SubsystemEntryPoints::OpenRightClickMenu(int x, int y) {
  engine_.menus().OpenRightClickMenu(x, y);
}
// The popup menu is modal, so it is never open while the engine handles input: nothing to close.
void SubsystemEntryPoints::CloseRightClickMenu() {}
void SubsystemEntryPoints::OpenSaveEditScreen() {}
void SubsystemEntryPoints::NextScene() {}
void SubsystemEntryPoints::ShowConfirm(std::string_view question, int action) {
  engine_.confirmations().ShowConfirm(question, action);
}
void SubsystemEntryPoints::QuickSave() {}
void SubsystemEntryPoints::LoadSlot(int, bool) {}
void SubsystemEntryPoints::ResetTitleMenus() { engine_.menus().ResetTitleMenus(); }
void SubsystemEntryPoints::StopScrollRoll(bool) {}
void SubsystemEntryPoints::GalleryMouseDown(int, int, int) {}
void SubsystemEntryPoints::GalleryMouseMove(int, int) {}
void SubsystemEntryPoints::RecollectionMouseDown(int, int, int) {}
void SubsystemEntryPoints::RecollectionMouseMove(int, int) {}
void SubsystemEntryPoints::RecollectionMouseUp(int, int, int) {}
void SubsystemEntryPoints::MapMouseMove(int, int) {}
void SubsystemEntryPoints::SelectionTreeMouseDown(int, int, int) {}
void SubsystemEntryPoints::SelectionTreeHover(int, int) {}
Picture* SubsystemEntryPoints::MessageWindowImage() {
  Picture& image = engine_.message_window().window_image();
  return image.empty() ? nullptr : &image;
}

}  // namespace quill
