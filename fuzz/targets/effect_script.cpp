// The special-effect script `effect`: the steps of every section it holds.
#include "fuzz/support/fuzz_support.h"
#include "graphics/wipe_and_effect.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view script = fuzz::Text(data, size);
  int sections = 0;
  size_t start = 0;
  while (start < script.size() && sections < 8) {
    size_t end = script.find('\0', start);
    if (end == std::string_view::npos) end = script.size();
    std::string_view line = script.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] != ':') continue;
    ++sections;
    auto steps = ReadEffectSteps(fuzz::Bytes(data, size), line.substr(1));
    FUZZ_CHECK(steps.size() <= kMaxEffectSteps);
  }
  return 0;
}
