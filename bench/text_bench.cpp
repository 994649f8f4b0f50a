// Each text function against its floor, and a peer where there is one (text_cases.h): all run in
// batches that take turns within one benchmark, so they share the machine's load; `ratio` is the
// function's median batch time over the floor's. See bench/README.md.

#include <benchmark/benchmark.h>

#include <type_traits>

#include "floor.h"
#include "text_cases.h"

namespace {

using zyl::bench::CaseInfo;
using zyl::bench::CompareWithFloor;

template <class Op, class Floor, class Peer>
void Register(const CaseInfo& info, const Op& op, const Floor& floor, const Peer& peer) {
  benchmark::RegisterBenchmark(info.name.c_str(), [=](benchmark::State& state) {
    if constexpr (std::is_same_v<Peer, zyl::bench::NoPeer>) {
      CompareWithFloor(state, info.batch, op, floor);
    } else {
      CompareWithFloor(state, info.batch, op, floor, peer);
    }
    if (info.bytes != 0) {
      state.counters["ns_per_byte"] = state.counters["ns"] / info.bytes;
      state.counters["peer_ns_per_byte"] = state.counters["peer_ns"] / info.bytes;
    }
  })->UseManualTime();
}

}  // namespace

int main(int argc, char** argv) {
  zyl::bench::ForEachTextCase([](const CaseInfo& info, const auto& op, const auto& floor,
                                 const auto& peer) { Register(info, op, floor, peer); });
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
