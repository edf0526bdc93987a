#pragma once
// The `map` script: click maps by name, each a ":NAME" line, a line with the zone count and one
// line per zone. Zone lines: "$RGB,cursor" (a colour of the colour map), "name,x1,y1,x2,y2" (a
// rectangle; a name beginning with "*" lights up) and
// "#name,x1,y1,x2,y2,sx1,sy1,sx2,sy2[,px,py]" (lit, with a pop-up from the parts picture).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

struct ClickZone {
  std::string name;  // up to 64 bytes before the first comma
  bool colour_zone = false;
  uint32_t colour = 0;  // colour zones: 0xRRGGBB with each low nibble clear
  int cursor = 0;       // colour zones: the cursor file's number (1-12)
  int left = 0, top = 0, right = 0, bottom = 0;
  int src_left = 0, src_top = 0, src_right = 0, src_bottom = 0;
  int pop_x = 0, pop_y = 0;
};

// The zones of click map `name` (the first ":" anywhere followed by the name, ignoring case).
// A missing map gives none; more than 32 zones are cut to 32; a script that ends early gives
// the zones it holds; missing numbers read as 0.
std::vector<ClickZone> ReadClickMap(std::span<const uint8_t> script, std::string_view name);

}  // namespace quill
