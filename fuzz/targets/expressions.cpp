// Expressions, assignment lists and conditions on their own, over banks that keep what earlier
// items assigned.
#include "engine/expressions.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text = fuzz::Text(data, size);
  ValueBanks banks;
  fuzz::QuietExpressionHost host;
  EvalExpression(text, banks, host);
  Assign(text, banks, host);
  TestCondition(text, banks, host);
  // Pointers (P) read what the assignments wrote.
  EvalExpression(text, banks, host);
  return 0;
}
