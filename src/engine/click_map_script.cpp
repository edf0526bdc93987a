#include "engine/click_map_script.h"

#include <algorithm>

#include "common/text_util.h"
#include "engine/choice_blocks.h"
#include "graphics/game_config.h"

namespace quill {
namespace {

int HexNibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

// Coordinates far off the screen are cut, so the sizes worked out from them cannot overflow.
constexpr int kCoordinateLimit = 1 << 20;

int Field(std::string_view line, int n) {
  return std::clamp<int32_t>(ParseInt(CommaField(line, n)), -kCoordinateLimit, kCoordinateLimit);
}

ClickZone ReadZone(std::string_view line) {
  ClickZone z;
  z.name = std::string(line.substr(0, std::min(line.find(','), kZoneNameLimit)));
  if (!line.empty() && line[0] == '$') {
    z.colour_zone = true;
    auto nibble = [&](size_t i) { return i < line.size() ? HexNibble(line[i]) : 0; };
    z.colour = (nibble(1) << 20) | (nibble(2) << 12) | (nibble(3) << 4);
    z.cursor = Field(line, 1);
    return z;
  }
  z.left = Field(line, 1), z.top = Field(line, 2), z.right = Field(line, 3);
  z.bottom = Field(line, 4);
  if (z.left > z.right) std::swap(z.left, z.right);
  if (z.top > z.bottom) std::swap(z.top, z.bottom);
  if (!line.empty() && line[0] == '#') {
    z.src_left = Field(line, 5), z.src_top = Field(line, 6);
    z.src_right = Field(line, 7), z.src_bottom = Field(line, 8);
    bool placed = !CommaField(line, 10).empty();
    z.pop_x = placed ? Field(line, 9) : z.src_left;
    z.pop_y = placed ? Field(line, 10) : z.src_top;
  }
  return z;
}

}  // namespace

std::vector<ClickZone> ReadClickMap(std::span<const uint8_t> script, std::string_view name) {
  std::string_view text(reinterpret_cast<const char*>(script.data()), script.size());
  size_t at = std::string_view::npos;
  for (size_t p = text.find(':'); p != std::string_view::npos; p = text.find(':', p + 1)) {
    if (StartsWithIgnoreCase(text.substr(p + 1), name)) {
      at = p;
      break;
    }
  }
  std::vector<ClickZone> zones;
  if (at == std::string_view::npos) return zones;
  // Lines from the one after the label's: the count, then the zones.
  auto next_line = [&](size_t& p) -> std::string_view {
    size_t end = text.find('\0', p);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(p, end - p);
    p = std::min(end + 1, text.size());
    return line;
  };
  size_t p = at;
  next_line(p);
  if (p >= text.size()) return zones;
  int count = std::clamp<int32_t>(ParseInt(next_line(p)), 0, kMaxChoices);
  while (static_cast<int>(zones.size()) < count && p < text.size()) {
    zones.push_back(ReadZone(next_line(p)));
  }
  return zones;
}

}  // namespace quill
