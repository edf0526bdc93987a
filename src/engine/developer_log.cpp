// The developer hooks: script errors and assignment traces, printed only with --trace.
#include <cstdio>

#include "common/sjis.h"
#include "engine/engine.h"

namespace quill {

void Engine::DeveloperLog(int kind, std::string_view text) {
  if (!options_.trace) return;
  std::fprintf(stderr, "quill: log %d: %s\n", kind, SjisToUtf8Lossy(text).c_str());
}

void Engine::TraceAssignment(std::string_view item) {
  if (!options_.trace) return;
  std::fprintf(stderr, "quill: assign %s\n", SjisToUtf8Lossy(item).c_str());
}

}  // namespace quill
