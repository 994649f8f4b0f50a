#!/usr/bin/env bash
# Builds the fuzzers (clang, libFuzzer, ASan + UBSan) and runs each for $1 seconds (default 60),
# starting from the seeds in fuzz/corpus. New inputs stay in the build directory; an input that
# breaks an invariant or trips a sanitizer is saved there as crash-* and fails the run.
# ZYL_FUZZ_BUILD_DIR chooses the build directory (default build/fuzz).
set -uo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${ZYL_FUZZ_BUILD_DIR:-build/fuzz}

cmake --preset fuzz -B "$build" >/dev/null || exit 1
cmake --build "$build" -j2 || exit 1

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for name in trim pad path record; do
  corpus=$build/corpus/$name
  log=$build/${name}_fuzzer.log
  mkdir -p "$corpus"
  echo "--- ${name}_fuzzer, ${seconds} s"
  if "$build/bin/${name}_fuzzer" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/${name}-" \
      "$corpus" "fuzz/corpus/$name" >"$log" 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb)' "$log"
  else
    failed=1
    tail -n 60 "$log"
    echo "FAILED: ${name}_fuzzer (log: $log)"
  fi
done
exit "$failed"
