#!/usr/bin/env bash
# Reruns the fault tests on Linux (no sanitizers) and both DLLs under Wine and prints their figures
# as the Markdown table of docs/reliability.md. As root, ctest mounts the small tmpfs the full-disk
# test needs; otherwise that row reads "skipped".
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1
source scripts/wine-prefix.sh
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
builds=(native mingw-i686 mingw-x86_64)

for preset in "${builds[@]}"; do
  mkdir -p "$out/$preset"
  json_dir=$out/$preset/
  [[ $preset == mingw-* ]] && json_dir=Z:$json_dir
  echo "--- $preset" >&2
  { cmake --preset "$preset" && cmake --build --preset "$preset"; } >/dev/null || exit 1
  # Each test binary writes its results, with the figures it recorded, to $json_dir/NAME.json.
  GTEST_OUTPUT=json:$json_dir timeout 900 \
    ctest --preset "$preset" -R '^(log_test|frame_test|full_disk_.*)$' >&2
done

# One test's entry in GoogleTest's JSON report, its recorded figures among its fields:
# result PRESET BINARY TEST JQ-FILTER
result() {
  jq -r --arg test "$3" "first(.testsuites[].testsuite[] | select(.name == \$test)) | $4" \
    "$out/$1/$2.json" 2>/dev/null
}
figure() {  # figure PRESET BINARY TEST NAME: one figure a test recorded, or "-"
  local value
  value=$(result "$1" "$2" "$3" ".[\"$4\"] // empty")
  echo "${value:--}"
}
outcome() {  # outcome PRESET BINARY TEST
  local value
  value=$(result "$@" 'if .failures then "FAILED" elif .result == "SKIPPED" then "skipped"
                        else "passed" end')
  echo "${value:-not run}"
}
records() {  # records PRESET TEST: written | whole | lost | torn
  local written whole torn
  written=$(figure "$1" log_test "$2" records_written)
  whole=$(figure "$1" log_test "$2" records_whole)
  torn=$(figure "$1" log_test "$2" records_torn)
  if [ "$written" = - ]; then echo "- | - | - | -"; return; fi
  echo "$written | $whole | $((written - whole - torn)) | $torn"
}
build_name() { case $1 in native) echo Linux ;; mingw-i686) echo "32-bit DLL" ;; *) echo "64-bit DLL" ;; esac; }

echo "| Fault | Build | Records written | Whole | Lost | Torn | Wait | Outcome |"
echo "|---|---|---|---|---|---|---|---|"
for preset in "${builds[@]}"; do
  test=KeepsRecordsWholeAcrossThreadsAndProcesses
  echo "| 8 threads and 4 processes log 500 records each | $(build_name "$preset") |" \
    "$(records "$preset" $test) | - | $(outcome "$preset" log_test $test) |"
done
for preset in "${builds[@]}"; do
  test=RotatesTheLogTogetherAndKeepsEveryRecord
  echo "| 12 writers log 500 records each to a log rotated at 16 KiB | $(build_name "$preset") |" \
    "$(records "$preset" $test) | - | $(outcome "$preset" log_test $test)," \
    "$(figure "$preset" log_test $test generations) generations |"
done
for preset in mingw-i686 mingw-x86_64; do
  test=RotatesOnlyOnceAHandleWithoutDeleteSharingLetsGo
  echo "| A handle without delete sharing holds the log past its size | $(build_name "$preset") |" \
    "3 | - | - | - | - | $(outcome "$preset" log_test $test), rotated while held:" \
    "$(figure "$preset" log_test $test rotated_while_held) |"
done
for preset in "${builds[@]}"; do
  test=KeepsEveryConfirmedRecordOnADiskThatFillsAndFrees
  written=$(figure "$preset" log_test $test records_written)
  whole=$(figure "$preset" log_test $test records_whole)
  lost=-
  [[ $written =~ ^[0-9]+$ && $whole =~ ^[0-9]+$ ]] && lost=$((written - whole))
  echo "| Big-record writers, zyl log loops and churn share a full disk | $(build_name "$preset") |" \
    "$written | $whole | $lost | $(figure "$preset" log_test $test records_torn) | - |" \
    "$(outcome "$preset" log_test $test) |"
done
declare -A locks=([exclusive]="an exclusive lock on every offset"
  [shared]="a shared lock on every offset" [shared-head]="a shared lock on the bytes it holds")
for lock in exclusive shared shared-head; do
  for preset in mingw-i686 mingw-x86_64; do
    test=WaitsAboutASecondAtMostForALockHeldElsewhere
    landed=$(figure "$preset" log_test $test "landed_$lock")
    lost=-
    [[ $landed =~ ^[01]$ ]] && lost=$((1 - landed))
    echo "| Another handle keeps ${locks[$lock]} | $(build_name "$preset") | 1 | $landed |" \
      "$lost | 0 | $(figure "$preset" log_test $test "wait_ms_$lock") ms |" \
      "$(outcome "$preset" log_test $test) |"
  done
done
for preset in mingw-i686 mingw-x86_64; do
  test=SurvivesAnotherThreadChangingTheEnvironment
  echo "| Another thread churns the environment for 4 s | $(build_name "$preset") | - | - | - |" \
    "- | - | $(outcome "$preset" log_test $test), $(figure "$preset" log_test $test debug_calls)" \
    "calls of Debug() |"
done
for preset in "${builds[@]}"; do
  test=GiveTheirFailureResultWhenMemoryRunsOut
  echo "| Memory runs out: 256 MiB inputs, no room for a copy | $(build_name "$preset") | - | - |" \
    "- | - | - | $(outcome "$preset" frame_test $test) |"
done
