#pragma once
// The pictures of the demo's effects scene: a comic symbol, falling snow, rain for a background
// animation, a wide landscape to scroll across, a note drawn directly, a paper plane object, a
// burst of light for the effect animation.
#include <functional>

#include "common/picture.h"

namespace quill::demo_art {

class Lettering;

// Receives a picture and its member name.
using PictureSink = std::function<void(const char* name, const Picture& picture)>;

// Packed pictures go to `png`, the large backgrounds to `jpeg`.
void DrawEffectsArt(Lettering& letters, const PictureSink& png, const PictureSink& jpeg);

}  // namespace quill::demo_art
