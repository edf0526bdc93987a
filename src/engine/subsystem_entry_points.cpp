// Entry points into subsystems still to be built: empty, or answering "nothing there".
#include "engine/subsystem_entry_points.h"

#include "engine/engine.h"
#include "graphics/parts_commands.h"

namespace quill {

void SubsystemEntryPoints::PictureCommand(std::string_view) {}
void SubsystemEntryPoints::MusicCommand(std::string_view) {}
void SubsystemEntryPoints::VoiceCommand(std::string_view) {}
void SubsystemEntryPoints::ClearLayers(std::string_view) {}
void SubsystemEntryPoints::SelectCommand(std::string_view) {}
void SubsystemEntryPoints::ClickmapCommand(std::string_view) {}
void SubsystemEntryPoints::SwitchCommand(std::string_view) {}
int SubsystemEntryPoints::SpriteCommand(std::string_view) { return 0; }
// ptset draws on the display: onto the screen buffer, then shown.
void SubsystemEntryPoints::PartsSet(std::string_view arg) {
  Engine& e = engine_;
  PtsetArguments a = ReadPtsetArguments(
      arg, [&e](std::string_view text) { return EvalExpression(text, e.banks(), e); });
  DrawPtset(e.pictures().parts, a, e.screen());
  e.platform().Present(e.screen());
}
void SubsystemEntryPoints::OpenLoadScreen() {}
void SubsystemEntryPoints::ResetAnimations(std::string_view) {}
void SubsystemEntryPoints::CloseWindow() {}
void SubsystemEntryPoints::SpecialEffect(std::string_view) {}
void SubsystemEntryPoints::GameClear() {}
void SubsystemEntryPoints::PartsLoad(std::string_view arg) {
  Engine& e = engine_;
  e.banks().SetS(15, RunPartsload(arg, e.picture_loader(), e.pictures().parts, e.parts_pressed()));
}
void SubsystemEntryPoints::MovieCommand(std::string_view) {}
void SubsystemEntryPoints::BackgroundCommand(std::string_view) {}
void SubsystemEntryPoints::FixScreen() {}
void SubsystemEntryPoints::SelectionTree(std::string_view) {}
void SubsystemEntryPoints::DirectDraw(std::string_view) {}
void SubsystemEntryPoints::OpenSaveScreen() {}
void SubsystemEntryPoints::OpenWindow() {}
void SubsystemEntryPoints::MapCommand(std::string_view) {}
void SubsystemEntryPoints::BackgroundAnimation(std::string_view) {}
void SubsystemEntryPoints::StaffRoll(std::string_view) {}
void SubsystemEntryPoints::AnimCommand(std::string_view, bool) {}
void SubsystemEntryPoints::ShakeCommand(std::string_view) {}
void SubsystemEntryPoints::NameEntry() {}
void SubsystemEntryPoints::OverlayCommand(std::string_view) {}
void SubsystemEntryPoints::GalleryViewer(std::string_view) {}
void SubsystemEntryPoints::SoundEffect(std::string_view) {}
void SubsystemEntryPoints::LoopSoundEffect(std::string_view) {}
void SubsystemEntryPoints::StopSoundEffects(int) {}
void SubsystemEntryPoints::StartChoiceRecording() {}
void SubsystemEntryPoints::ObjectControl(std::string_view) {}
void SubsystemEntryPoints::ScrollRoll() {}
void SubsystemEntryPoints::ScrollCommand(std::string_view) {}
void SubsystemEntryPoints::RecollectionMode() {}
void SubsystemEntryPoints::ParameterChange() {}
void SubsystemEntryPoints::MarkAllPicturesSeen() {}
void SubsystemEntryPoints::EffectCommand(std::string_view) {}
void SubsystemEntryPoints::ComicSymbol(std::string_view) {}
void SubsystemEntryPoints::SpriteMotion(std::string_view) {}
void SubsystemEntryPoints::EffectAnimation(std::string_view) {}
void SubsystemEntryPoints::WipeSet(std::string_view) {}
void SubsystemEntryPoints::LoopAnimation(std::string_view) {}
void SubsystemEntryPoints::ReturnFromGallery() {}
void SubsystemEntryPoints::ReturnFromRecollection() {}
void SubsystemEntryPoints::PutTextGlyph(std::string_view, int, int) {}
void SubsystemEntryPoints::DrawNamePlate(std::string_view) {}
void SubsystemEntryPoints::DrawRuby(std::string_view, int, int) {}
void SubsystemEntryPoints::PresentNewPage(bool) {}
void SubsystemEntryPoints::LayoutChanged(bool) {}
void SubsystemEntryPoints::InlineVoice(std::string_view) {}
// The page history ring is still missing; its counter already moves as records are made.
void SubsystemEntryPoints::PageRecord() {
  engine_.page_counter += 1;
  engine_.banks().SetS(39, 0);
}
void SubsystemEntryPoints::UpdateScreen(int) {}
void SubsystemEntryPoints::ShowClickIcon() {}
void SubsystemEntryPoints::EraseClickIcon() {}
void SubsystemEntryPoints::RedrawQuickButtons() {}
void SubsystemEntryPoints::UpdateMenus() {}
void SubsystemEntryPoints::GalleryFrame() {}
void SubsystemEntryPoints::AnimationFrame() {}
void SubsystemEntryPoints::BackgroundAnimationFrame(uint32_t) {}
void SubsystemEntryPoints::SoundUpdate() {}
bool SubsystemEntryPoints::MoviePanelTick() { return false; }
void SubsystemEntryPoints::EffectTick() {}
void SubsystemEntryPoints::RecollectionTick() {}
void SubsystemEntryPoints::ChoiceTick() {}
bool SubsystemEntryPoints::IsVoicePlaying() { return false; }
void SubsystemEntryPoints::QuickButtonHover() {}
void SubsystemEntryPoints::DeferredMusicStart() {}
void SubsystemEntryPoints::EndChoiceWait() {}
void SubsystemEntryPoints::SceneScriptUnlock(std::string_view) {}
void SubsystemEntryPoints::UnlockScene(std::string_view) {}
bool SubsystemEntryPoints::FormCloseQuery() { return engine_.FormCloseQuery(); }
void SubsystemEntryPoints::FormDestroy() { engine_.FormDestroy(); }

void SubsystemEntryPoints::StartUpMessageWindow() {}
void SubsystemEntryPoints::StartUpQuickBar() {}
void SubsystemEntryPoints::StartUpChoicePlates() {}
void SubsystemEntryPoints::StartUpComposition() {}
void SubsystemEntryPoints::StartUpGallery() {}
void SubsystemEntryPoints::StartUpSound() {}
void SubsystemEntryPoints::StartUpCursors() {}
void SubsystemEntryPoints::ReadGlobalSave() {}
void SubsystemEntryPoints::WriteGlobalSave() {}
void SubsystemEntryPoints::StopMusic() {}

}  // namespace quill
