#pragma once
// The end credits script "endroll": line 1 the step time in milliseconds, a first section of
// "TEXT,N" entries up to a line "*", then the credit lines up to a line beginning with "*".
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quill {

struct EndCreditsScript {
  int step_ms = 0;
  // The number of the first section's second entry: the background beside the panel is drawn
  // again for a while once the roll reaches its line.
  int32_t second_entry = 0;
  std::vector<std::string> lines;  // Shift-JIS, at most 99 bytes each
};

constexpr size_t kCreditLineBytes = 99;

// The script's plain lines (each ending in NUL). Nothing when a "*" line is missing, a line has
// 100 bytes or more, or the first section has fewer than two entries.
std::optional<EndCreditsScript> ReadEndCredits(std::span<const uint8_t> script);

}  // namespace quill
