#!/usr/bin/env bash
# Reruns the fault tests on Linux (no sanitizers) and both DLLs under Wine and prints their figures
# as the Markdown table of docs/reliability.md, then the follower's stress runs (Linux) as the
# second table. As root, ctest mounts the small tmpfs the full-disk test needs; otherwise that row
# reads "skipped". `reliability.sh follow [RUNS]` runs only the follower's stress, RUNS of each
# kind (default 1; ZYL_FOLLOW_SIGNALS="KILL TERM" picks the kinds).
set -uo pipefail
cd "$(dirname "$0")/.."
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# One stress run of a follower: 6 writer processes log 2,000 records each to a log rotated at
# every record (ZYL_LOG_ROTATE=1), while `zyl show --follow --cursor-file` reads it and is stopped
# with SIGNAL and started again every 0.2 to 0.6 s (none: never). Its table row: records written,
# shown, lost, shown twice, restarts, generations.
follow_stress() {
  local signal=$1 bin=build/native/bin dir=$out/follow writers=6 count=2000
  rm -rf "$dir" && mkdir -p "$dir"
  local log=$dir/app.log pid restarts=0 writer_pids=()
  follow() {
    "$bin/zyl" show --json --follow --cursor-file "$dir/cursor" "$log" >>"$dir/out" 2>>"$dir/err" &
    pid=$!
  }
  follow
  until [ -s "$dir/cursor" ]; do sleep 0.05; done  # from the first record on, not the last 10
  for ((w = 0; w < writers; ++w)); do
    ZYL_LOG_ROTATE=1,1000000 "$bin/log_writer" "$log" "$w" "$count" &
    writer_pids+=($!)
  done
  while kill -0 "${writer_pids[@]}" 2>/dev/null; do
    sleep "0.$((RANDOM % 5 + 2))"
    [ "$signal" = none ] && continue
    kill "-$signal" "$pid"
    wait "$pid"
    follow
    ((++restarts))
  done
  wait "${writer_pids[@]}"
  sleep 6  # a late append is read for 5 s
  kill -TERM "$pid"
  wait "$pid"
  "$bin/zyl" show --json --cursor-file "$dir/cursor" "$log" >>"$dir/out" 2>>"$dir/err"
  local shown distinct
  shown=$(grep -o '"message":"writer [0-9]* record [0-9]* ' "$dir/out" | sort)
  distinct=$(uniq <<<"$shown" | grep -c .)
  shown=$(grep -c . <<<"$shown")
  echo "| $signal | $((writers * count)) | $shown | $((writers * count - distinct)) |" \
    "$((shown - distinct)) | $restarts | $(find "$dir" -name 'app.*.log' | wc -l) |"
}

follow_table() {
  { cmake --preset native && cmake --build --preset native; } >/dev/null || exit 1
  echo "| Stopped with | Records written | Shown | Lost | Shown twice | Restarts | Generations |"
  echo "|---|---|---|---|---|---|---|"
  for ((run = 0; run < ${1:-1}; ++run)); do
    for signal in ${ZYL_FOLLOW_SIGNALS:-none TERM INT KILL}; do follow_stress "$signal"; done
  done
}

if [ "${1:-}" = follow ]; then
  follow_table "${2:-1}"
  exit
fi
bash scripts/install-deps.sh || exit 1
source scripts/wine-prefix.sh
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
echo
follow_table 1
