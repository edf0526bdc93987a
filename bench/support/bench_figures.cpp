#include "bench/support/bench_figures.h"

#include <vector>

namespace quill::bench {

double Figures::Seconds(const std::string& name) const {
  auto it = figures_.find(name);
  return it == figures_.end() ? 0.0 : it->second.seconds;
}

void Figures::Keep(const std::string& name, double seconds, const std::string& label) {
  auto [it, fresh] = figures_.emplace(name, Figure{seconds, label});
  if (!fresh && seconds < it->second.seconds) it->second = Figure{seconds, label};
}

namespace {

class FigureReporter : public benchmark::ConsoleReporter {
 public:
  FigureReporter(const BenchOptions& options, Figures& figures)
      : options_(options), figures_(figures) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      std::string name = run.run_name.function_name;
      if (!run.run_name.args.empty()) name += "/" + run.run_name.args;
      double seconds = 0;
      auto counter = run.counters.find(options_.counter);
      if (!options_.counter.empty() && counter != run.counters.end()) {
        seconds = counter->second.value;
      } else {
        double time = options_.real_time ? run.GetAdjustedRealTime() : run.GetAdjustedCPUTime();
        seconds = time / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
      figures_.Keep(name, seconds, run.report_label);
    }
  }

 private:
  const BenchOptions& options_;
  Figures& figures_;
};

}  // namespace

int RunBenchmarks(int argc, char** argv, const std::function<void(const Figures&)>& summary,
                  const BenchOptions& options) {
  std::vector<std::string> flags = options.default_flags;
  std::vector<char*> args = {argv[0]};
  for (std::string& flag : flags) args.push_back(flag.data());
  for (int i = 1; i < argc; ++i) args.push_back(argv[i]);
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
  Figures figures;
  FigureReporter reporter(options, figures);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  summary(figures);
  benchmark::Shutdown();
  return 0;
}

}  // namespace quill::bench
