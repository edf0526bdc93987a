// Headless scenario files: events in time order, every bad line reported.
#include "platform/headless/scenario.h"

#include "fuzz/support/fuzz_support.h"

using namespace quill;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Scenario s = ParseScenario(fuzz::Text(data, size), "/nonexistent/base", "scenario.txt");
  for (size_t i = 1; i < s.events.size(); ++i) {
    FUZZ_CHECK(s.events[i - 1].time_ms <= s.events[i].time_ms);
  }
  return 0;
}
