#pragma once
// Cross-fades of the display from the saved screen to the screen buffer, and the sepia flashback
// of the special-effect command.
namespace quill {

class Engine;

// Shows (s × NEW + (256 − s) × OLD) >> 8 for s = 0, step, 2·step … below 257, one level per
// clock period (late periods skip levels), then the screen buffer. Sets the busy and
// transition-running flags meanwhile; an interruption stops the fade early (the caller reads
// Engine::transition_interrupt).
void CrossFadeDisplay(Engine& engine, int step, int period);
// Kind 1: (24, 40); 3: (5, 50); 4: (2, 50); any other: (12, 40).
void FadeByKind(Engine& engine, int kind);
// Turns the scene sepia, makes it the screen buffer and fades the display to it from the
// current screen.
void SepiaFlashback(Engine& engine);

}  // namespace quill
