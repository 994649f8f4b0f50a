#ifndef ZYL_BENCH_FLOOR_H_
#define ZYL_BENCH_FLOOR_H_

// Measures a function against its floor, the least work any implementation must do for the same
// result, and optionally against a peer, another way to the same result. All run in batches that
// take turns within one benchmark (measure.h); the counters give each side's median per call and
// the ratios to the floor.

#include <benchmark/benchmark.h>

#include "measure.h"

namespace zyl::bench {

// Sets counters "ns", "floor_ns" and "ratio" (with a peer also "peer_ns" and "peer_ratio"); the
// benchmark's own time is the function's (use UseManualTime).
template <class Op, class Floor, class... Peer>
void CompareWithFloor(benchmark::State& state, int batch, const Op& op, const Floor& floor,
                      const Peer&... peer) {
  Rounds<2 + sizeof...(Peer)> rounds;
  for (auto _ : state) state.SetIterationTime(rounds.Run(batch, op, floor, peer...) * batch * 1e-9);
  state.counters["ns"] = rounds.Median(0);
  state.counters["floor_ns"] = rounds.Median(1);
  state.counters["ratio"] = rounds.Median(0) / rounds.Median(1);
  if constexpr (sizeof...(Peer) != 0) {
    state.counters["peer_ns"] = rounds.Median(2);
    state.counters["peer_ratio"] = rounds.Median(2) / rounds.Median(1);
  }
}

}  // namespace zyl::bench

#endif  // ZYL_BENCH_FLOOR_H_
