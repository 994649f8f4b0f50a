#!/usr/bin/env bash
# Builds and runs the benchmarks and prints the tables of bench/README.md: `linux` (Google
# Benchmark, build/native), `windows` (bench/windows_bench.cpp under Wine, both DLLs) or `all`.
# REPS repetitions each (default 10); the tables give medians over them.
# Usage: scripts/bench.sh [linux|windows|all] [REPS]
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:-all}
reps=${2:-10}

linux() {
  cmake --preset native >/dev/null
  cmake --build --preset native --target text_bench log_bench >/dev/null
  local json
  json=$(mktemp)
  trap 'rm -f "$json"' RETURN
  local run=(--benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true
             --benchmark_format=json)
  echo "### Linux: text functions"
  echo "| case | floor ns | ns | ratio | peer ratio | ns per byte |"
  echo "|---|---:|---:|---:|---:|---:|"
  build/native/bin/text_bench "${run[@]}" >"$json"
  # A scan's row gives ns per byte, the function's and then the peer's, instead of ratios.
  jq -r 'def r(x; d): x * d | round / d;
         .benchmarks[] | select(.aggregate_name == "median")
         | "| \(.run_name | sub("/manual_time$"; "")) | \(r(.floor_ns; 10)) | \(r(.ns; 10)) | "
           + if .ns_per_byte then " |  | \(r(.ns_per_byte; 1000)) (peer \(r(.peer_ns_per_byte; 1000))) |"
             else "\(r(.ratio; 1000)) | \(if .peer_ratio then r(.peer_ratio; 1000) else "" end) |  |"
             end' "$json"
  echo
  echo "### Linux: SendDebugMsg"
  echo "| case | floor ns | ns | ratio | peer ratio |"
  echo "|---|---:|---:|---:|---:|"
  build/native/bin/log_bench "${run[@]}" >"$json"
  jq -r '.benchmarks[] | select(.aggregate_name == "median")
         | "| \(.run_name | sub("/manual_time$"; "")) | \(.floor_ns | round)"
           + " | \(.ns | round) | \(.ratio * 1000 | round / 1000)"
           + " | \(.peer_ratio * 1000 | round / 1000) |"' "$json"
}

windows() {
  source scripts/wine-prefix.sh
  for preset in mingw-x86_64 mingw-i686; do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" --target windows_bench >/dev/null
    echo
    echo "### Windows ${preset#mingw-} (Wine)"
    timeout 1200 wine "build/$preset/bin/windows_bench.exe" --reps="$reps"
  done
}

case $target in
  linux) linux ;;
  windows) windows ;;
  all) linux && windows ;;
  *) echo "usage: $0 [linux|windows|all] [REPS]" >&2; exit 2 ;;
esac
