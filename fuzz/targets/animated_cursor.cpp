// Animated cursor files: whatever the bytes, the reader either refuses them or gives frames of
// the size they claim and steps that name existing frames.
#include "persist/animated_cursor.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  std::optional<AnimatedCursor> cursor = ReadAnimatedCursor(fuzz::Bytes(data, size), &error);
  if (!cursor) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  FUZZ_CHECK(!cursor->frames.empty() && !cursor->steps.empty());
  for (const CursorFrame& f : cursor->frames) {
    FUZZ_CHECK(f.width > 0 && f.width <= 256 && f.height > 0 && f.height <= 256);
    FUZZ_CHECK(f.rgba.size() == static_cast<size_t>(f.width) * f.height * 4);
    FUZZ_CHECK(f.hot_x >= 0 && f.hot_x < f.width && f.hot_y >= 0 && f.hot_y < f.height);
  }
  for (const AnimatedCursor::Step& s : cursor->steps) {
    FUZZ_CHECK(s.frame >= 0 && static_cast<size_t>(s.frame) < cursor->frames.size());
    FUZZ_CHECK(s.duration_ms > 0);
  }
  return 0;
}
