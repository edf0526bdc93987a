#pragma once
// The benchmark programs' common main: Google Benchmark's table as usual, then a summary the
// program prints from the figures of the same run (ratios against a reference measured with it).
#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace quill::bench {

struct Figure {
  double seconds = 0;  // per iteration, the smallest of the repetitions
  std::string label;
};

// By benchmark name with its arguments ("BM_Transition/3"), repetitions folded together.
class Figures {
 public:
  // 0 when the benchmark did not run (filtered out or failed).
  double Seconds(const std::string& name) const;
  const std::map<std::string, Figure>& all() const { return figures_; }
  void Keep(const std::string& name, double seconds, const std::string& label);

 private:
  std::map<std::string, Figure> figures_;
};

struct BenchOptions {
  // What a figure is: this counter (seconds per iteration) when the benchmark sets it, else the
  // CPU time (the machine may be shared, and wall time then measures the neighbours), or the
  // real time when asked.
  std::string counter;
  bool real_time = false;
  // Flags that go before the command line's (which win): repetitions, interleaving …
  std::vector<std::string> default_flags;
};

int RunBenchmarks(int argc, char** argv, const std::function<void(const Figures&)>& summary,
                  const BenchOptions& options = {});

}  // namespace quill::bench
