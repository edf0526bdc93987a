#pragma once
// The script's integer expressions, assignment lists and conditions. Evaluation is strictly left
// to right with no precedence; errors never stop the script.
#include <cstdint>
#include <string_view>

#include "engine/value_banks.h"

namespace quill {

// What expressions need from the rest of the engine.
class ExpressionHost {
 public:
  virtual ~ExpressionHost() = default;
  // The next number of the pseudo-random generator, 0..32767.
  virtual int32_t NextRandom() = 0;
  // Developer log entry (kind 3: script errors such as "無効数式"); text is Shift-JIS.
  virtual void DeveloperLog(int kind, std::string_view text) = 0;
  // An assignment changed S cell `index` (S000 and S028 refresh the menus).
  virtual void SystemCellAssigned(int index) = 0;
  // An assignment item was carried out (the developer trace); item is the normalised text.
  virtual void TraceAssignment(std::string_view item) = 0;
};

// Developer log messages (Shift-JIS).
inline constexpr std::string_view kInvalidExpressionMessage =
    "\x96\xb3\x8c\xf8\x90\x94\x8e\xae";  // 無効数式
inline constexpr std::string_view kAssignmentErrorMessage =
    "\x91\xe3\x93\xfc\x83\x47\x83\x89\x81\x5b";  // 代入エラー

// The text ends at its first terminator (NUL ! & , ; < = > ] |) or at the view's end.
// Arithmetic wraps at 32 bits; x / 0 and x % 0 give 0, INT_MIN / -1 gives INT_MIN.
// A bank index takes at most its bank's digits (T 4, G 1, others 3) and stops at the first
// non-digit, so "V1" reads V001; a bank letter with no digit at all makes the expression invalid.
// A P operand whose pointer lies outside V000-V999 reads 0. "R" takes the next byte as its first
// digit whatever it is (except the text's end or NUL), then up to six more digits; a divisor of 0
// gives 0. Every "R" draws one random number.
int32_t EvalExpression(std::string_view text, ValueBanks& banks, ExpressionHost& host);
// An assignment list: items separated by ";", e.g. "V001=V002+1;F003=1". The index follows the
// rule of EvalExpression; an item with no index digit (an empty item too) is an assignment error.
// A P write whose pointer lies outside V000-V999 is ignored. Every item that is not an error is
// traced, and every S item is reported through SystemCellAssigned.
void Assign(std::string_view text, ValueBanks& banks, ExpressionHost& host);
// A condition such as "(V001>=3&F002=1)"; the working text holds at most 100 bytes (after the
// spaces are dropped), the rest is cut off. A value followed by a connector ("&", "|", ",") instead
// of a comparison counts as "value is non-zero". When no operator follows before the end, that
// value is not compared: the condition keeps the result of the comparisons before it, and a
// condition with no comparison at all is "value is non-zero" (so "()" is false).
bool TestCondition(std::string_view text, ValueBanks& banks, ExpressionHost& host);

}  // namespace quill
