#include "graphics/direct_draw.h"

#include <algorithm>

#include "common/text_util.h"
#include "engine/engine.h"
#include "graphics/display_pieces.h"

namespace quill {
namespace {

constexpr uint32_t kWaitSliceMs = 10;

}  // namespace

DirectArguments ReadDirectArguments(std::string_view argument) {
  argument = UntilNul(argument);
  DirectArguments a;
  size_t comma = argument.find(',');
  a.name = std::string(argument.substr(0, std::min(comma, kDirectNameChars)));
  int* numbers[] = {&a.wait, &a.x, &a.y};
  for (int* n : numbers) {
    if (comma == std::string_view::npos) break;
    argument = argument.substr(comma + 1);
    *n = ParseInt(argument);
    comma = argument.find(',');
  }
  return a;
}

void DirectDraw(Engine& engine, std::string_view argument) {
  Platform& platform = engine.platform();
  engine.script_enabled = false;
  const uint32_t start = platform.NowMs();
  DirectArguments a = ReadDirectArguments(argument);
  // A picture no archive holds draws what the parts picture held before.
  Picture& parts = engine.pictures().parts;
  engine.picture_loader().LoadPicture(a.name, parts);
  ShowOnDisplay(engine, parts, a.x, a.y);
  // The wait lets messages through in short sleeps rather than spinning on the clock.
  const uint32_t wait = static_cast<uint32_t>(a.wait > 0 ? a.wait : 0);
  for (uint32_t waited = platform.NowMs() - start; waited < wait && !platform.ShouldStop();
       waited = platform.NowMs() - start) {
    platform.PumpMessages();
    platform.SleepMs(std::min<uint32_t>(wait - waited, kWaitSliceMs));
  }
  engine.script_enabled = true;
}

}  // namespace quill
