// The animated effects' per-frame work on the headless platform: one step of a running
// background animation (four frames, a page of text in each), one character typed while it runs
// (the glyph goes into every frame), and one frame of an effect animation (the masked blend and
// the copy to the display). The summary prints each as a ratio to one full-screen memcpy of the
// screen picture measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "bench/support/bench_figures.h"
#include "engine/engine.h"
#include "graphics/effect_animation.h"
#include "platform/headless/headless_platform.h"

namespace quill {
namespace {

Picture RandomPicture(unsigned seed, int zero_percent = 0) {
  std::mt19937 rng(seed);
  Picture p(kScreenWidth, kScreenHeight);
  for (auto& b : p.bytes()) {
    b = static_cast<uint8_t>(rng());
    if (static_cast<int>(rng() % 100) < zero_percent) b = 0;
  }
  return p;
}

void Keep(benchmark::State& state) {
  state.counters["time"] =
      benchmark::Counter(static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_FullScreenCopy(benchmark::State& state) {
  Picture src = RandomPicture(1), dst(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    std::memcpy(dst.bytes().data(), src.bytes().data(), src.bytes().size());
    benchmark::ClobberMemory();
  }
  Keep(state);
}

// An engine with a window layout and no game: the frames come out black, which costs the same.
struct AnimatedEngine {
  HeadlessPlatform platform{"/tmp", {}, 0xFFFFFFFFu / 2};
  Engine engine{platform, EngineOptions{}};
  AnimatedEngine() {
    GameConfig& c = engine.config();
    c.TXW_OFS_Y = 420;
    c.TXW_SIZE_X = 800;
    c.TXW_SIZE_Y = 180;
    engine.message_window().StartUp();
    engine.window_open = true;
    engine.background_animation().Command("1,F1,F2,F3,F4");
  }
};

void BM_BackgroundAnimationStep(benchmark::State& state) {
  AnimatedEngine a;
  uint32_t frame = 0;
  for (auto _ : state) a.engine.background_animation().Frame(++frame);
  Keep(state);
}

void BM_CharacterIntoAnimationFrames(benchmark::State& state) {
  AnimatedEngine a;
  for (auto _ : state) a.engine.message_window().PutTextGlyph("\x82\xa0", 100, 470);  // あ
  Keep(state);
}

void BM_EffectAnimationFrame(benchmark::State& state) {
  HeadlessPlatform platform("/tmp", {});
  // A mask that is mostly clear, as a burst's is.
  Picture screen = RandomPicture(2), frame = RandomPicture(3), mask = RandomPicture(4, 80);
  Picture out(kScreenWidth, kScreenHeight);
  for (auto _ : state) {
    BlendEffectFrame(out, screen, frame, mask);
    platform.Present(out);
  }
  Keep(state);
}

BENCHMARK(BM_FullScreenCopy)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BackgroundAnimationStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CharacterIntoAnimationFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EffectAnimationFrame)->Unit(benchmark::kMicrosecond);

void PrintSummary(const bench::Figures& figures) {
  double ref = figures.Seconds("BM_FullScreenCopy");
  if (ref <= 0) return;
  std::printf("\nwork / one full-screen memcpy (%.0f us):\n", ref * 1e6);
  for (const auto& [name, figure] : figures.all()) {
    if (name != "BM_FullScreenCopy") {
      std::printf("  %-34s %.2f\n", name.c_str(), figure.seconds / ref);
    }
  }
}

}  // namespace
}  // namespace quill

int main(int argc, char** argv) {
  quill::bench::BenchOptions options;
  options.counter = "time";
  return quill::bench::RunBenchmarks(argc, argv, quill::PrintSummary, options);
}
