// The `map` script and the choice blocks after clickmap and select: at most 32 zones or choices,
// names and texts within their limits, and every resume position inside the script.
#include "engine/choice_blocks.h"
#include "engine/click_map_script.h"
#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::span<const uint8_t> script = fuzz::Bytes(data, size);
  // The first line names the map to look for; the rest is the script.
  std::string_view text = fuzz::Text(data, size);
  std::string_view name = text.substr(0, std::min<size_t>(text.find('\0'), 16));
  std::vector<ClickZone> zones = ReadClickMap(script, name);
  FUZZ_CHECK(zones.size() <= static_cast<size_t>(kMaxChoices));
  for (const ClickZone& z : zones) {
    FUZZ_CHECK(z.name.size() <= kZoneNameLimit);
    FUZZ_CHECK(z.left <= z.right && z.top <= z.bottom);
    // Coordinates stay where their differences cannot overflow.
    FUZZ_CHECK(z.left >= -(1 << 20) && z.right <= (1 << 20) && z.top >= -(1 << 20) &&
               z.bottom <= (1 << 20));
  }
  auto test = [](std::string_view c) { return !c.empty() && c[0] == '1'; };
  auto slot = [](int n) { return n == 3 ? std::string_view("slot three") : std::string_view(); };
  uint32_t from = size > 0 ? static_cast<uint32_t>(data[0] % size) : 0;
  SelectBlock select = ReadSelectBlock(script, from, test, slot);
  FUZZ_CHECK(select.choices.size() <= static_cast<size_t>(kMaxChoices));
  for (const SelectChoice& c : select.choices) {
    FUZZ_CHECK(c.text.size() <= kSelectTextLimit && c.resume <= size);
  }
  ClickmapBlock block = ReadClickmapBlock(script, from, test);
  FUZZ_CHECK(block.lines.size() <= static_cast<size_t>(kMaxChoices));
  for (const ClickmapLine& l : block.lines) {
    FUZZ_CHECK(l.text.size() <= kZoneNameLimit && l.resume <= size);
  }
  uint32_t taken = FindSwitchCase(script, from, size % 2 ? name : std::string_view(), test);
  FUZZ_CHECK(taken <= size || taken == 16777215);
  return 0;
}
