#pragma once
// The sprite-set list of the script `_sprset`: named groups of up to 8 masked pictures drawn as
// one standing picture (a standing-picture name "#" + set name).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/picture.h"
#include "graphics/picture_loader.h"

namespace quill {

constexpr int kSpriteSetMaxParts = 8;

class SpriteSetList {
 public:
  // Reads the unmasked script (lines ending in NUL; a last line without one counts): lines
  // upper-cased, empty lines and lines beginning with ";" left out, up to and including ":END".
  void Load(std::span<const uint8_t> script);
  void Clear() { lines_.clear(); }
  const std::vector<std::string>& lines() const { return lines_; }

  // Draws the set `set_name` (without its "#") with centre x and top y onto scene. A part line
  // "NAME,DX,DY" is placed at (x + DX + c, y + DY); a line "NAME" alone is placed at (x + c, y)
  // and sets c to minus half its width, so later parts follow the base picture's left edge. Masks
  // are the part names with their first letter replaced by "M". An unknown set draws nothing; a
  // missing part picture reuses the previous part's picture.
  void Draw(std::string_view set_name, Picture& scene, int x, int y, PictureLoader& loader) const;

 private:
  std::vector<std::string> lines_;
};

// The mask of a picture: its name with the first letter replaced by "M".
std::string MaskName(std::string_view name);

// A drawing position from script numbers, kept far enough out that a picture placed there stays
// wholly off the screen, and never overflowing (pictures are at most 65535 pixels wide).
int ClampPosition(int64_t v);

}  // namespace quill
