// clickmap: zones from the `map` script over the screen. Colour zones are read from the parts
// picture (the colour map) and show their animated cursor; rectangle zones named "*…" light up
// from the parts picture, "#…" zones also show a pop-up; "@n" takes a choice after n × 20 ticks.
#include <algorithm>

#include "engine/choices.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr int kTicksPerTimeoutUnit = 20;
// Colour zones register their cursors 29 above the file number (MSCUR01 is cursor 30).
constexpr int kZoneCursorBase = 29;

uint32_t ColourAt(const Picture& p, int x, int y) {
  if (x < 0 || y < 0 || x >= p.width() || y >= p.height()) return 0xFFFFFFFF;
  const uint8_t* px = p.Pixel(x, y);
  return (px[0] & 0xF0u) | ((px[1] & 0xF0u) << 8) | ((px[2] & 0xF0u) << 16);
}

}  // namespace

void Choices::ClickmapCommand(std::string_view name) {
  Engine& e = engine_;
  if (!e.LoadScript("map", ScriptTarget::Aux)) e.aux_script().size = 0;
  std::vector<ClickZone> zones = ReadClickMap(e.aux_script().script(), name);
  ClickmapBlock block = ReadClickmapBlock(
      e.main_script().script(), e.main_script().read_position,
      [&e](std::string_view condition) { return TestCondition(condition, e.banks(), e); });
  table_ = {};
  table_[0].resume = block.close;
  timeout_ticks_ = 0;
  timeout_choice_ = 0;
  count_ = static_cast<int>(zones.size());
  for (int k = 1; k <= count_; ++k) {
    ChoiceEntry& entry = table_[k];
    entry.zone = std::move(zones[k - 1]);
    // A zone without a line of its own continues after the block.
    entry.resume = block.close;
  }
  for (size_t n = 0; n < block.lines.size(); ++n) {
    int k = static_cast<int>(n) + 1;
    ClickmapLine& line = block.lines[n];
    ChoiceEntry& entry = table_[k];
    switch (line.kind) {
      case ClickmapLine::Kind::kDisabled:
        entry.enabled = false;
        break;
      case ClickmapLine::Kind::kTimeout:
        timeout_ticks_ = line.timeout * kTicksPerTimeoutUnit;
        timeout_choice_ = k;
        entry.resume = line.resume;
        entry.enabled = false;
        break;
      case ClickmapLine::Kind::kChoice:
        entry.resume = line.resume;
        if (!line.text.empty()) entry.zone.name = std::move(line.text);
        break;
    }
  }
  hover_index_ = 0;
  e.choice_mode = kChoiceClickMap;
  zone_cursor_ = 0;
  e.cursors().Show(kDefaultCursor);
  CopyPicture(display_, 0, 0, e.screen());
  UpdateZoneHover(e.pointer_x, e.pointer_y);
}

bool Choices::ZoneMatches(int i, int x, int y) const {
  const ChoiceEntry& entry = table_[i];
  const ClickZone& z = entry.zone;
  if (z.colour_zone) return ColourAt(engine_.pictures().parts, x, y) == z.colour;
  return entry.enabled && z.left < x && x < z.right && z.top < y && y < z.bottom;
}

void Choices::ShowOnDisplay(const Picture& from, int sx, int sy, int w, int h, int dx, int dy) {
  if (w <= 0 || h <= 0) return;
  CopyRect(display_, dx, dy, from, sx, sy, w, h);
  engine_.platform().PresentRect(display_, Rect{dx, dy, w, h});
}

void Choices::UpdateZoneHover(int x, int y) {
  Engine& e = engine_;
  if (e.choice_mode != kChoiceClickMap) return;
  int i = 0;
  for (int k = 1; k <= count_; ++k) {
    if (!ZoneMatches(k, x, y)) continue;
    const ClickZone& z = table_[k].zone;
    if (z.colour_zone && z.cursor != zone_cursor_) {
      zone_cursor_ = z.cursor;
      e.cursors().Show(z.cursor + kZoneCursorBase);
    }
    i = k;
    break;
  }
  if (i == 0 && zone_cursor_ != 0) {
    e.cursors().Show(kDefaultCursor);
    zone_cursor_ = 0;
  }
  if (i == hover_index_) return;
  const Picture& parts = e.pictures().parts;
  if (hover_index_ > 0) {
    const ClickZone& old = table_[hover_index_].zone;
    if (!old.name.empty() && (old.name[0] == '*' || old.name[0] == '#')) {
      ShowOnDisplay(e.screen(), old.left, old.top, old.right - old.left, old.bottom - old.top,
                    old.left, old.top);
    }
  }
  if (i != 0) {
    ValueBanks& banks = e.banks();
    if (!banks.NameSlot(6).empty()) e.sound_commands().PlayNamed(banks.NameSlot(7));
    const ClickZone& z = table_[i].zone;
    char kind = z.name.empty() ? 0 : z.name[0];
    if (kind == '*' || kind == '#') {
      ShowOnDisplay(parts, z.left, z.top, z.right - z.left, z.bottom - z.top, z.left, z.top);
    }
    if (kind == '#') {
      ShowOnDisplay(parts, z.src_left, z.src_top, z.src_right - z.src_left,
                    z.src_bottom - z.src_top, z.pop_x, z.pop_y);
    }
  } else {
    CopyPicture(display_, 0, 0, e.screen());
    e.platform().Present(display_);
  }
  hover_index_ = i;
}

void Choices::ChoiceTimerTick() {
  Engine& e = engine_;
  if (timeout_ticks_ <= 0 || timeout_choice_ == 0) return;
  if (--timeout_ticks_ > 0) return;
  hover_index_ = timeout_choice_;
  e.banks().SetS(15, 0);
  JumpToChoice();
  EndClickMap();
}

// The click map is over: the pointer takes the arrow again.
void Choices::EndClickMap() {
  Engine& e = engine_;
  e.choice_mode = kChoiceNone;
  timeout_ticks_ = 0;
  timeout_choice_ = 0;
  if (zone_cursor_ != 0) e.cursors().Show(kDefaultCursor);
  zone_cursor_ = 0;
}

}  // namespace quill
