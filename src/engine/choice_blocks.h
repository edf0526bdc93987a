#pragma once
// Reading the choice blocks that follow select, clickmap and switch in the main script: the
// "{" lines up to the first line beginning with "}", with their markup. Pure scans over the
// script bytes; conditions and name slots come from the caller.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

constexpr int kMaxChoices = 32;
constexpr size_t kSelectTextLimit = 63;  // a longer select text drops its choice
constexpr size_t kZoneNameLimit = 64;

// A condition's text from just after its "(" (it ends at ")" or the line's end).
using ConditionTest = std::function<bool(std::string_view)>;
// Name slot n's text.
using SlotText = std::function<std::string_view(int)>;

struct SelectChoice {
  std::string text;
  uint32_t resume = 0;  // where the choice's lines begin
};
struct SelectBlock {
  std::vector<SelectChoice> choices;  // at most kMaxChoices
  uint32_t close = 0;                 // the closing "}" line (past the script when none)
};
// The choices of a select block from `from`: a false "(condition)" or a text of 64 bytes drops
// the choice; "$d" takes slot d's text and resumes after the digit.
SelectBlock ReadSelectBlock(std::span<const uint8_t> script, uint32_t from,
                            const ConditionTest& test, const SlotText& slot);

struct ClickmapLine {
  enum class Kind { kChoice, kDisabled, kTimeout };
  Kind kind = Kind::kChoice;
  std::string text;     // the text after "{" (and a true condition); empty keeps the zone's name
  uint32_t resume = 0;  // the start of the next line
  int timeout = 0;      // kTimeout: the n of "@n"
};
struct ClickmapBlock {
  std::vector<ClickmapLine> lines;  // line k - 1 belongs to zone k; at most kMaxChoices
  uint32_t close = 0;
};
ClickmapBlock ReadClickmapBlock(std::span<const uint8_t> script, uint32_t from,
                                const ConditionTest& test);

// Where switch goes on: the start of the line after the first case taken, or the block's end
// (the "}" line; for a named switch the "}:NAME" line) when none is. `name` empty: the plain
// form, else the cases "{:NAME" (the default) and "{:NAME(condition)".
uint32_t FindSwitchCase(std::span<const uint8_t> script, uint32_t from, std::string_view name,
                        const ConditionTest& test);

}  // namespace quill
