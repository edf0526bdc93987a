#pragma once
// The settings dialog in the game window: the four tabs with their radio groups, check boxes,
// bars, the font size spin box, the font list, the colour sample and the credits, and "閉じる".

namespace quill {

// Makes the window backend draw every settings dialog with this view.
void InstallSettingsView();

}  // namespace quill
