// A full headless `state` dump (the engine's keys, serialised) against the budget it must stay
// under, 1 ms, and against a copy of its text measured in the same run.
#include <benchmark/benchmark.h>

#include <cstring>
#include <nlohmann/json.hpp>
#include <string>

#include "engine/engine.h"
#include "platform/headless/headless_platform.h"

namespace quill {
namespace {

std::string DumpText(Engine& engine) {
  nlohmann::ordered_json state;
  engine.WriteState(state);
  return state.dump();
}

void BM_StateDump(benchmark::State& state) {
  HeadlessPlatform platform("/tmp", {});
  Engine engine(platform, EngineOptions{});
  // Every bank cell and flag set, so the dump is as long as a real one can get.
  for (int i = 0; i < 1000; ++i) engine.banks().SetV(i, -1000000 - i);
  size_t bytes = 0;
  for (auto _ : state) {
    std::string text = DumpText(engine);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.counters["share_of_1ms"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / 1000.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_CopyOfDumpText(benchmark::State& state) {
  HeadlessPlatform platform("/tmp", {});
  Engine engine(platform, EngineOptions{});
  const std::string text = DumpText(engine);
  std::string copy(text.size(), '\0');
  for (auto _ : state) {
    std::memcpy(copy.data(), text.data(), text.size());
    benchmark::DoNotOptimize(copy.data());
  }
}

BENCHMARK(BM_StateDump)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyOfDumpText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quill

BENCHMARK_MAIN();
