#include "graphics/sprite_sets.h"

#include "common/text_util.h"
#include "graphics/game_config.h"
#include "graphics/masked_drawing.h"

namespace quill {

std::string MaskName(std::string_view name) {
  std::string mask(name);
  if (!mask.empty()) mask[0] = 'M';
  return mask;
}

int ClampPosition(int64_t v) {
  constexpr int64_t kFar = 1 << 20;
  return static_cast<int>(v < -kFar ? -kFar : (v > kFar ? kFar : v));
}

void SpriteSetList::Load(std::span<const uint8_t> script) {
  lines_.clear();
  size_t start = 0;
  while (start < script.size()) {
    size_t end = start;
    while (end < script.size() && script[end] != 0) ++end;
    std::string line = ToUpperSjis(
        std::string_view(reinterpret_cast<const char*>(script.data()) + start, end - start));
    start = end + 1;
    if (line.empty() || line[0] == ';') continue;
    lines_.push_back(line);
    if (line == ":END") break;
  }
}

void SpriteSetList::Draw(std::string_view set_name, Picture& scene, int x, int y,
                         PictureLoader& loader) const {
  std::string header = ":" + ToUpperSjis(set_name);
  size_t i = 0;
  while (i < lines_.size() && lines_[i] != header) ++i;
  if (i == lines_.size()) return;
  Picture picture, mask;
  int centring = 0;
  for (int part = 0; part < kSpriteSetMaxParts; ++part) {
    if (++i >= lines_.size() || lines_[i][0] == ':') break;
    const std::string& line = lines_[i];
    const bool offset_form = line.find(',') != std::string::npos;
    std::string name = offset_form ? CommaField(line, 0) : line;
    int dx = offset_form ? ParseInt(CommaField(line, 1)) : 0;
    int dy = offset_form ? ParseInt(CommaField(line, 2)) : 0;
    loader.LoadPicture(name, picture);
    loader.LoadPicture(MaskName(name), mask);
    if (!offset_form) centring = -(picture.width() / 2);
    DrawMasked(scene, picture, ClampPosition(int64_t{x} + dx + centring),
               ClampPosition(int64_t{y} + dy), mask);
  }
}

}  // namespace quill
