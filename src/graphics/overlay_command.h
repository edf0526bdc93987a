#pragma once
// ovr NAME[,T[,X,Y]]: chooses the overlay picture the scene composition lays over the background
// (or "OFF" to hide it) and updates the screen.
#include <string_view>

namespace quill {

class Engine;

void OverlayCommand(Engine& engine, std::string_view argument);

}  // namespace quill
