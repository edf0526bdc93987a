#pragma once
// The game's twelve animated mouse cursors, "icon/MSCUR01.ani" … "MSCUR12.ani" in the game
// folder, registered with the platform under the cursor numbers 30–41.
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quill {

constexpr int kCursorFileCount = 12;
constexpr int kFirstCursorNumber = 30;

class Cursors {
 public:
  explicit Cursors(Platform& platform) : platform_(platform) {}

  // Reads and registers the cursor files; one that is missing or damaged leaves its number
  // showing the arrow (a damaged one says why in problems()).
  void StartUp();
  // Shows cursor `number` (kDefaultCursor: the arrow) unless it is already shown.
  void Show(int number);

  int shown() const { return shown_; }
  const std::vector<std::string>& problems() const { return problems_; }

 private:
  Platform& platform_;
  int shown_ = kDefaultCursor;
  std::vector<std::string> problems_;
};

}  // namespace quill
