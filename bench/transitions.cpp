// Whole transitions on the headless platform, whose virtual clock never sleeps: what is left is
// the drawing work. Each type is run from start to end with S016 = 0; the figure that matters is
// the work of one frame against its frame period, and the summary prints it as a ratio to one
// full-screen cross-fade frame (the kernel plus the copy to the display) measured in this run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>

#include "engine/engine.h"
#include "graphics/blend_kernels.h"
#include "platform/headless/headless_platform.h"

namespace quill {
namespace {

class CountingPlatform : public HeadlessPlatform {
 public:
  using HeadlessPlatform::HeadlessPlatform;
  void Present(const Picture& screen) override {
    HeadlessPlatform::Present(screen);
    ++frames;
  }
  long frames = 0;
};

Picture RandomPicture(unsigned seed) {
  std::mt19937 rng(seed);
  Picture p(kScreenWidth, kScreenHeight);
  for (auto& b : p.bytes()) b = static_cast<uint8_t>(rng());
  return p;
}

std::map<int, double> g_ns_per_frame;  // by type; 0 is the reference frame

void BM_CrossFadeFrame(benchmark::State& state) {
  CountingPlatform platform("/tmp", {});
  Picture old_pic = RandomPicture(1), new_pic = RandomPicture(2), out(kScreenWidth, kScreenHeight);
  int a = 0;
  for (auto _ : state) {
    CrossFade(out, new_pic, old_pic, a);
    platform.Present(out);
    a = (a + 4) & 255;
  }
  state.counters["ns_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Transition(benchmark::State& state) {
  const int t = static_cast<int>(state.range(0));
  CountingPlatform platform("/tmp", {}, 0xFFFFFFFFu / 2);
  Engine engine(platform, EngineOptions{});
  Picture old_pic = RandomPicture(3), new_pic = RandomPicture(4);
  engine.pictures().wipe = RandomPicture(5);
  for (auto _ : state) {
    state.PauseTiming();
    engine.pictures().saved = old_pic;
    engine.pictures().screen = new_pic;
    state.ResumeTiming();
    engine.transitions().RunTransition(t);
  }
  double frames = static_cast<double>(platform.frames) / static_cast<double>(state.iterations());
  state.counters["frames"] = frames;
  state.counters["ns_per_frame"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_CrossFadeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Transition)->DenseRange(1, 22)->Unit(benchmark::kMillisecond);

// Keeps the per-frame figures for the summary.
class SummaryReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration) continue;
      auto it = run.counters.find("ns_per_frame");
      if (it == run.counters.end()) continue;
      std::string name = run.benchmark_name();
      int type = 0;
      if (name.rfind("BM_Transition/", 0) == 0) type = std::stoi(name.substr(14));
      double ns = it->second.value * 1e9;
      auto [slot, fresh] = g_ns_per_frame.emplace(type, ns);
      if (!fresh && ns < slot->second) slot->second = ns;
    }
  }
};

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  quill::SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ref = quill::g_ns_per_frame.find(0);
  if (ref != quill::g_ns_per_frame.end() && ref->second > 0) {
    std::printf("\nwork of one frame / one full-screen cross-fade frame (%.0f us):\n",
                ref->second / 1000.0);
    for (const auto& [type, ns] : quill::g_ns_per_frame) {
      if (type != 0) std::printf("  type %2d  %.2f\n", type, ns / ref->second);
    }
  }
  benchmark::Shutdown();
  return 0;
}
