#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench.h"

namespace kvbench {
namespace {
std::map<std::string, std::string>& Baselines() {
  static std::map<std::string, std::string> m;
  return m;
}

// Console output as usual, plus the runs kept for the ratio table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && !r.error_occurred) times_[r.benchmark_name()] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatios to baselines (real time):\n");
    for (const auto& [name, time] : times_) {
      std::string family = name.substr(0, name.find('/'));
      auto b = Baselines().find(family);
      if (b == Baselines().end()) continue;
      // Same arguments as the candidate when the baseline has them, else its first run.
      std::string suffix = name.size() > family.size() ? name.substr(family.size()) : "";
      auto base = times_.find(b->second + suffix);
      if (base == times_.end())
        for (auto it = times_.begin(); it != times_.end(); ++it)
          if (it->first.rfind(b->second, 0) == 0) { base = it; break; }
      if (base == times_.end() || base->second <= 0) continue;
      std::printf("  %-50s / %-30s = %8.2f\n", name.c_str(), base->first.c_str(), time / base->second);
    }
  }

private:
  std::map<std::string, double> times_;
};
}  // namespace

bool RegisterBaseline(const std::string& candidate, const std::string& baseline) {
  Baselines()[candidate] = baseline;
  return true;
}
}  // namespace kvbench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  kvbench::RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
