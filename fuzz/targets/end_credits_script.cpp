// The end credits script "endroll": the step time, the second entry's number and at most 99 bytes
// per credit line, whatever the bytes.
#include "engine/end_credits_script.h"
#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<EndCreditsScript> script = ReadEndCredits(fuzz::Bytes(data, size));
  if (!script) return 0;
  size_t bytes = 0;
  for (const std::string& line : script->lines) {
    FUZZ_CHECK(line.size() <= kCreditLineBytes);
    bytes += line.size() + 1;
  }
  FUZZ_CHECK(bytes <= size);
  return 0;
}
