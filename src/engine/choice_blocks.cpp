#include "engine/choice_blocks.h"

#include <algorithm>

#include "common/text_util.h"
#include "engine/script_scans.h"

namespace quill {
namespace {

// The offset of the NUL that ends the line at `at` (the script's end for a last line without one).
uint32_t LineEnd(std::span<const uint8_t> script, uint32_t at) {
  while (at < script.size() && script[at] != 0) ++at;
  return at;
}

std::string_view Bytes(std::span<const uint8_t> script, uint32_t from, uint32_t to) {
  if (from >= to) return {};
  return {reinterpret_cast<const char*>(script.data()) + from, to - from};
}

// Past a condition that starts at the "(" at p: just after its ")" (the line's end if none).
uint32_t AfterCondition(std::span<const uint8_t> script, uint32_t p, uint32_t end) {
  while (p < end && script[p] != ')') ++p;
  return p < end ? p + 1 : end;
}

// The bounds of the next "{" line of the block from `pos`; false once the block has ended.
bool NextChoiceLine(std::span<const uint8_t> script, uint32_t pos, uint32_t& open,
                    uint32_t& close) {
  open = FindLineStart(script, pos, '{');
  close = FindLineStart(script, pos, '}');
  return open < close;
}

}  // namespace

SelectBlock ReadSelectBlock(std::span<const uint8_t> script, uint32_t from,
                            const ConditionTest& test, const SlotText& slot) {
  SelectBlock block;
  uint32_t pos = from, open = 0;
  while (NextChoiceLine(script, pos, open, block.close) &&
         block.choices.size() < static_cast<size_t>(kMaxChoices)) {
    uint32_t end = LineEnd(script, open);
    SelectChoice choice;
    choice.resume = std::min<uint32_t>(end + 1, script.size());
    bool keep = true;
    for (uint32_t p = open + 1; p < end;) {
      uint8_t b = script[p];
      if (b == '(') {
        if (!test(Bytes(script, p + 1, end))) {
          keep = false;
          break;
        }
        p = AfterCondition(script, p, end);
        continue;
      }
      if (b == '$') {
        int n =
            p + 1 < end && script[p + 1] >= '0' && script[p + 1] <= '9' ? script[p + 1] - '0' : 0;
        choice.text = std::string(slot(n).substr(0, kSelectTextLimit));
        choice.resume = std::min<uint32_t>(p + 2, script.size());
        break;
      }
      choice.text.push_back(static_cast<char>(b));
      if (choice.text.size() > kSelectTextLimit) {
        keep = false;
        break;
      }
      ++p;
    }
    if (keep) block.choices.push_back(std::move(choice));
    pos = end + 1;
  }
  return block;
}

ClickmapBlock ReadClickmapBlock(std::span<const uint8_t> script, uint32_t from,
                                const ConditionTest& test) {
  ClickmapBlock block;
  uint32_t pos = from, open = 0;
  while (NextChoiceLine(script, pos, open, block.close) &&
         block.lines.size() < static_cast<size_t>(kMaxChoices)) {
    uint32_t end = LineEnd(script, open);
    ClickmapLine line;
    line.resume = std::min<uint32_t>(end + 1, script.size());
    for (uint32_t p = open + 1; p < end;) {
      uint8_t b = script[p];
      if (b == '(') {
        if (!test(Bytes(script, p + 1, end))) {
          line.kind = ClickmapLine::Kind::kDisabled;
          line.text.clear();
          break;
        }
        p = AfterCondition(script, p, end);
        continue;
      }
      if (b == '@' && line.text.empty()) {
        line.kind = ClickmapLine::Kind::kTimeout;
        line.timeout = std::clamp<int32_t>(ParseInt(Bytes(script, p + 1, end)), 0, 1000000);
        break;
      }
      if (line.text.size() < kZoneNameLimit) line.text.push_back(static_cast<char>(b));
      ++p;
    }
    block.lines.push_back(std::move(line));
    pos = end + 1;
  }
  return block;
}

uint32_t FindSwitchCase(std::span<const uint8_t> script, uint32_t from, std::string_view name,
                        const ConditionTest& test) {
  uint32_t stop =
      name.empty() ? FindLineStart(script, from, '}') : SkipNamedBlock(script, from, name);
  size_t prefix = name.empty() ? 1 : 2 + name.size();
  for (uint32_t pos = from;;) {
    uint32_t open = FindLineStart(script, pos, '{');
    if (open >= stop || open >= script.size()) break;
    uint32_t end = LineEnd(script, open);
    std::string_view line = Bytes(script, open, end);
    bool ours = name.empty() ? line.size() < 2 || line[1] != ':'
                             : line.size() >= prefix && line[1] == ':' &&
                                   EqualsIgnoreCase(line.substr(2, name.size()), name);
    if (ours) {
      std::string_view rest = line.substr(prefix);
      if (rest.empty() || (rest[0] == '(' && test(rest.substr(1)))) {
        return std::min<uint32_t>(end + 1, script.size());
      }
    }
    pos = end + 1;
  }
  return stop;
}

}  // namespace quill
