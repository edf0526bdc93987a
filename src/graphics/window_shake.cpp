#include "graphics/window_shake.h"

#include "common/text_util.h"
#include "engine/engine.h"

namespace quill {
namespace {

constexpr size_t kTypeByte = 7;
constexpr size_t kAmplitudeCommaLimit = 49;
constexpr size_t kPeriodCommaLimit = 50;

// The offset of one step: bit 1 of d picks the side (d = 20 goes up or left first).
int Side(int d) { return (d & 2) != 0 ? d : -d; }

}  // namespace

ShakeArguments ReadShakeArguments(std::string_view line) {
  line = UntilNul(line);
  ShakeArguments a;
  if (line.size() > kTypeByte) a.type = ParseInt(line.substr(kTypeByte));
  size_t first = line.substr(0, kAmplitudeCommaLimit).find(',');
  if (first == std::string_view::npos) return a;
  a.amplitude = ParseInt(line.substr(first + 1));
  size_t second = line.substr(0, kPeriodCommaLimit).find(',', first + 1);
  if (second != std::string_view::npos) a.period = ParseInt(line.substr(second + 1));
  return a;
}

void ShakeCommand(Engine& engine, std::string_view line) {
  ShakeArguments a = ReadShakeArguments(line);
  Platform& platform = engine.platform();
  FrameClock& clock = engine.frame_clock();
  clock.ClockStart();
  for (int d = a.amplitude; d > 0; d -= 2 * clock.ClockWait(a.period)) {
    int dx = 0, dy = 0;
    switch (a.type) {
      case 0:
        dy = Side(d);
        break;
      case 1:
        dx = Side(d);
        break;
      case 2: {
        // (top, left) moves of the eight directions, clockwise from up.
        static constexpr int kTop[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
        static constexpr int kLeft[8] = {0, 1, 1, 1, 0, -1, -1, -1};
        int k = engine.NextRandom() % 8;
        dy = kTop[k] * d;
        dx = kLeft[k] * d;
        break;
      }
      default:
        break;
    }
    platform.SetShakeOffset(dx, dy);
    if (platform.ShouldStop()) break;
  }
  platform.SetShakeOffset(0, 0);
}

}  // namespace quill
