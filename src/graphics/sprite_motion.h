#pragma once
// `sprmv N1,X1,Y1,F1[,N2,X2,Y2,F2 …]`: the standing pictures glide from their layout positions to
// targets over F frames of 30 ms (5 ms in skip mode); `sprmv INIT` resets the layout positions.
#include <string_view>

namespace quill {

class Engine;

void SpriteMotion(Engine& engine, std::string_view argument);

}  // namespace quill
