#pragma once
// Benchmarks name their baseline: KV_BASELINE(BM_Candidate, BM_Baseline) makes the report end
// with "BM_Candidate / BM_Baseline = ratio" for every run of the candidate.
#include <benchmark/benchmark.h>

#include <string>

namespace kvbench {
bool RegisterBaseline(const std::string& candidate, const std::string& baseline);
}

#define KV_BASELINE(candidate, baseline) \
  [[maybe_unused]] static const bool candidate##_baseline = kvbench::RegisterBaseline(#candidate, #baseline)
