#include "persist/cursors.h"

#include <cstdio>

#include "common/file_util.h"
#include "persist/animated_cursor.h"

namespace quill {

void Cursors::StartUp() {
  for (int n = 1; n <= kCursorFileCount; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "icon\\MSCUR%02d.ani", n);
    std::filesystem::path path = ResolveIgnoringCase(platform_.GameFolder(), name);
    std::optional<std::vector<uint8_t>> bytes = ReadFile(path);
    if (!bytes) continue;  // a game without its cursors plays with the arrow
    std::string error;
    std::optional<AnimatedCursor> cursor = ReadAnimatedCursor(*bytes, &error);
    if (!cursor) {
      problems_.push_back(std::string(name) + ": " + error);
      continue;
    }
    platform_.RegisterCursor(kFirstCursorNumber + n - 1, *cursor);
  }
}

void Cursors::Show(int number) {
  if (number == shown_) return;
  shown_ = number;
  platform_.ShowCursorShape(number);
}

}  // namespace quill
