#include "graphics/overlay_command.h"

#include <algorithm>
#include <string>

#include "common/text_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr size_t kNumberFieldBytes = 15;

// A number field: up to the next comma, at most 15 bytes.
int32_t NumberField(std::string_view text) {
  return ParseInt(text.substr(0, std::min(text.find(','), kNumberFieldBytes)));
}

}  // namespace

void OverlayCommand(Engine& engine, std::string_view argument) {
  ValueBanks& banks = engine.banks();
  argument = UntilNul(argument);
  const size_t name_end = argument.find_first_of(", ");
  const std::string name(argument.substr(0, name_end));
  int transition = 1;
  if (name_end != std::string_view::npos) {
    // T after the separator, then X and Y after further commas; a missing comma leaves the rest.
    std::string_view rest = argument.substr(name_end + 1);
    transition = NumberField(rest);
    if (size_t comma = rest.find(','); comma != std::string_view::npos) {
      rest = rest.substr(comma + 1);
      banks.SetS(21, NumberField(rest));
      if (comma = rest.find(','); comma != std::string_view::npos) {
        banks.SetS(22, NumberField(rest.substr(comma + 1)));
      }
    }
  }
  engine.transitions().set_overlay_name(name);
  if (EqualsIgnoreCase(name, "OFF")) {
    banks.SetS(35, 0);
  } else {
    // A name no archive holds keeps the previous overlay picture, shown all the same.
    engine.picture_loader().LoadPicture(name, engine.pictures().overlay);
    banks.SetS(35, 1);
  }
  engine.composition().UpdateScreen(transition);
}

}  // namespace quill
