#ifndef ZYL_BENCH_FLOOR_H_
#define ZYL_BENCH_FLOOR_H_

// Measures a function against its floor, the least work any implementation must do for the same
// result. Both run in alternating batches within one benchmark, so they share the machine's load;
// the counters give both medians per call and their ratio.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace zyl::bench {

template <class Op>
double NsPerCall(const Op& op, int calls) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) op();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::nano>(elapsed).count() / calls;
}

inline double Median(std::vector<double> values) {
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Sets counters "ns", "floor_ns" and "ratio"; the benchmark's own time is the function's (use
// UseManualTime). Batches swap order every round so neither side always runs on a warmer cache.
template <class Op, class Floor>
void CompareWithFloor(benchmark::State& state, int batch, const Op& op, const Floor& floor) {
  std::vector<double> op_ns;
  std::vector<double> floor_ns;
  bool floor_first = true;
  for (auto _ : state) {
    if (floor_first) floor_ns.push_back(NsPerCall(floor, batch));
    const double ns = NsPerCall(op, batch);
    op_ns.push_back(ns);
    if (!floor_first) floor_ns.push_back(NsPerCall(floor, batch));
    floor_first = !floor_first;
    state.SetIterationTime(ns * batch * 1e-9);
  }
  const double op_median = Median(op_ns);
  const double floor_median = Median(floor_ns);
  state.counters["ns"] = op_median;
  state.counters["floor_ns"] = floor_median;
  state.counters["ratio"] = op_median / floor_median;
}

}  // namespace zyl::bench

#endif  // ZYL_BENCH_FLOOR_H_
