#include "ui/text_composition.h"

#include <SDL.h>

namespace quill {
namespace {

TextComposition g_composition;

}  // namespace

void TrackComposition(const SDL_Event& event) {
  switch (event.type) {
    case SDL_TEXTEDITING:
      g_composition.text = event.edit.text;
      g_composition.cursor = event.edit.start;
      break;
#if SDL_VERSION_ATLEAST(2, 0, 22)
    case SDL_TEXTEDITING_EXT:
      g_composition.text = event.editExt.text ? event.editExt.text : "";
      g_composition.cursor = event.editExt.start;
      SDL_free(event.editExt.text);
      break;
#endif
    case SDL_TEXTINPUT:
      ClearComposition();
      break;
    default:
      break;
  }
}

const TextComposition& CurrentComposition() { return g_composition; }

void ClearComposition() {
  g_composition.text.clear();
  g_composition.cursor = 0;
}

}  // namespace quill
