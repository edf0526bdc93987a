// Whole transitions on the headless platform, whose virtual clock never sleeps: what is left is
// the drawing work. Each type is run from start to end with S016 = 0; the figure that matters is
// the work of one frame against its frame period, and the summary prints it as a ratio to one
// full-screen cross-fade frame (the kernel plus the copy to the display) measured in this run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

#include "bench/support/bench_figures.h"
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

void BM_CrossFadeFrame(benchmark::State& state) {
  CountingPlatform platform("/tmp", {});
  Picture old_pic = RandomPicture(1), new_pic = RandomPicture(2), out(kScreenWidth, kScreenHeight);
  int a = 0;
  for (auto _ : state) {
    CrossFade(out, new_pic, old_pic, a);
    platform.Present(out);
    a = (a + 4) & 255;
  }
  state.counters["frame_time"] =
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
  state.counters["frame_time"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_CrossFadeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Transition)->DenseRange(1, 22)->Unit(benchmark::kMillisecond);

// Each transition's frame against one full-screen cross-fade frame.
void PrintSummary(const bench::Figures& figures) {
  double ref = figures.Seconds("BM_CrossFadeFrame");
  if (ref <= 0) return;
  std::printf("\nwork of one frame / one full-screen cross-fade frame (%.0f us):\n", ref * 1e6);
  for (int type = 1; type <= 22; ++type) {
    double t = figures.Seconds("BM_Transition/" + std::to_string(type));
    if (t > 0) std::printf("  type %2d  %.2f\n", type, t / ref);
  }
}

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  quill::bench::BenchOptions options;
  options.counter = "frame_time";
  return quill::bench::RunBenchmarks(argc, argv, quill::PrintSummary, options);
}
