#include "engine/end_credits_script.h"

#include <string_view>

#include "common/text_util.h"

namespace quill {
namespace {

std::vector<std::string_view> Lines(std::span<const uint8_t> script) {
  std::vector<std::string_view> lines;
  std::string_view text(reinterpret_cast<const char*>(script.data()), script.size());
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\0', pos);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 1;
  }
  return lines;
}

}  // namespace

std::optional<EndCreditsScript> ReadEndCredits(std::span<const uint8_t> script) {
  std::vector<std::string_view> lines = Lines(script);
  // Only the lines up to the credits' closing "*" are read; each must fit its record.
  size_t i = 0;
  auto next = [&]() -> std::optional<std::string_view> {
    if (i >= lines.size() || lines[i].size() > kCreditLineBytes) return std::nullopt;
    return lines[i++];
  };
  EndCreditsScript out;
  std::optional<std::string_view> line = next();
  if (!line) return std::nullopt;
  out.step_ms = ParseInt(*line);
  int entries = 0;
  while ((line = next()) && *line != "*") {
    if (++entries == 2) {
      size_t comma = line->find(',');
      out.second_entry = comma == std::string_view::npos ? 0 : ParseInt(line->substr(comma + 1));
    }
  }
  if (!line || entries < 2) return std::nullopt;
  while ((line = next()) && !line->starts_with("*")) out.lines.emplace_back(*line);
  if (!line) return std::nullopt;
  return out;
}

}  // namespace quill
