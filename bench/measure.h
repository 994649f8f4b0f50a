#ifndef ZYL_BENCH_MEASURE_H_
#define ZYL_BENCH_MEASURE_H_

// Timing against a floor, with no benchmark library: the function, its floor and any peer run in
// batches that take turns, the order rotating every round, so all sides share the machine's load
// and none always runs on a warmer cache. Used by the Google Benchmark adapter (floor.h) and by
// the Windows harness, which has no benchmark library to link.

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace zyl::bench {

// Keeps the compiler from dropping the work behind a result it cannot see used.
template <class T>
void Keep(T& value) {
  asm volatile("" : : "g"(&value) : "memory");
}

template <class Op>
double NsPerCall(const Op& op, int calls) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < calls; ++i) op();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::nano>(elapsed).count() / calls;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// Samples of ns per call, one list per side (0: the function, 1: its floor, 2: a peer).
template <std::size_t kSides>
class Rounds {
 public:
  // One batch of `batch` calls of each side; returns the function's ns per call.
  template <class... Ops>
  double Run(int batch, const Ops&... ops) {
    static_assert(sizeof...(Ops) == kSides);
    const std::array<std::function<double()>, kSides> sides = {
        [&ops, batch] { return NsPerCall(ops, batch); }...};
    for (std::size_t i = 0; i < kSides; ++i) {
      const std::size_t side = (round_ + i) % kSides;
      samples_[side].push_back(sides[side]());
    }
    ++round_;
    return samples_[0].back();
  }
  double Median(std::size_t side) const { return zyl::bench::Median(samples_[side]); }

 private:
  std::array<std::vector<double>, kSides> samples_;
  std::size_t round_ = 0;
};

}  // namespace zyl::bench

#endif  // ZYL_BENCH_MEASURE_H_
