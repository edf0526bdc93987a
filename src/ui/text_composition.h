#pragma once
// What the system's input method is composing (SDL's text-editing events), for the edit field
// that shows it until the text is committed.
#include <string>

union SDL_Event;

namespace quill {

struct TextComposition {
  std::string text;  // UTF-8; empty when nothing is being composed
  int cursor = 0;    // in characters from the start of the composition
};

// Follows every event: a text-editing event replaces the composition, committed text ends it.
void TrackComposition(const SDL_Event& event);
const TextComposition& CurrentComposition();
void ClearComposition();

}  // namespace quill
