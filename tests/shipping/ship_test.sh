#!/usr/bin/env bash
# zyl ship end to end, against an rsyslogd with imrelp (contrib/shipping/collector.conf) that the
# test starts on 127.0.0.1 in a folder of its own. Phases:
#   1 the log does not exist when zyl ship starts; long, two-line and CR LF records, rotating
#   2 the collector stopped, zyl ship stopped and started during the outage, the collector back
#   3 the collector SIGKILLed twice during a steady stream
#   4 zyl ship SIGKILLed twice during a steady stream (under Wine once)
# Every record must arrive whole; none doubled in 1 and 2, at most 1 % in 3 and 4 (2 % under Wine).
# A writer's number is its phase times 1000, plus one.
# Usage: ship_test.sh ZYL LOG_WRITER RSYSLOGD CONTRIB_SHIPPING_DIR [EMULATOR]
# EMULATOR (wine): ZYL and LOG_WRITER are Windows programs; only phases 1 and 4 run.
set -euo pipefail
zyl=$1 writer=$2 rsyslogd=$3 contrib=$4 emulator=${5:-} collector_pid= ship_pid= stream_pid=
tmp=$(mktemp -d) && log=$tmp/app.log
trap 'stop "$stream_pid"; [ -z "$ship_pid" ] || stop_ship; stop "$collector_pid"; rm -rf "$tmp"' EXIT
run() { timeout 60 $emulator "$@"; }  # a foreground program, for a minute at most
# A Windows program names the files by their Windows paths.
winpath() { if [ -n "$emulator" ]; then echo "Z:${1//\//\\}"; else echo "$1"; fi; }

# within SECONDS COMMAND...: polls COMMAND every tenth of a second, for at most SECONDS.
within() {
  local i
  for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0 || sleep 0.1; done
  echo "ship_test: gave up after $1 s waiting for: ${*:2}" >&2 && return 1
}
# reap PID: waits for a child that was told to end, for at most 10 s, then kills it.
gone() { [[ "$(ps -o stat= -p "$1" 2>/dev/null || echo Z)" == Z* ]]; }
reap() { within 10 gone "$1" || kill -KILL "$1" 2>/dev/null || :; wait "$1" 2>/dev/null || :; }
stop() { [ -z "${1:-}" ] || { kill "$1" 2>/dev/null && reap "$1"; } || :; }
listening() { ss -ltnH "sport = :$port" | grep -q .; }
received() { cat "$tmp/records.json" 2>/dev/null | wc -l; }
all_delivered() { [ "$(received)" -ge "$written" ]; }

port=$(/usr/bin/python3 -c 'import socket as s; print(s.create_server(("127.0.0.1", 0)).getsockname()[1])')
start_collector() {
  ZYL_COLLECTOR_PORT=$port ZYL_COLLECTOR_OUT=$tmp/records.json \
    "$rsyslogd" -n -f "$contrib/collector.conf" -i "$tmp/collector.pid" 2>>"$tmp/collector.err" &
  collector_pid=$!
  within 10 listening
}
stop_collector() { stop "$collector_pid"; collector_pid=; }
kill_collector() { kill -KILL "$collector_pid"; reap "$collector_pid"; collector_pid=; }
start_ship() {
  if [ -n "$emulator" ]; then
    $emulator "$zyl" ship --to "127.0.0.1:$port" --state "$(winpath "$tmp/state")" \
      "$(winpath "$log")" 2>>"$tmp/ship.err" &
  else
    ZYL_SHIP_FILE=$log ZYL_SHIP_TARGET=127.0.0.1 ZYL_SHIP_PORT=$port ZYL_SHIP_STATE=$tmp/state \
      ZYL_SHIP_ZYL=$zyl "$contrib/zyl-ship" 2>>"$tmp/ship.err" &
  fi
  ship_pid=$!
}
# Wine runs the 64-bit zyl.exe as a process of its own, the 32-bit one in its launcher's place: both
# found by their command line (its port is this test's), and under Wine only ever SIGKILLed.
killed_ship() {
  if [ -n "$emulator" ]; then
    pkill -KILL -f "zyl\.exe ship --to 127\.0\.0\.1:$port " || :
  else
    kill -KILL "$ship_pid"
  fi
  reap "$ship_pid"
  ship_pid=
}
stop_ship() { if [ -n "$emulator" ]; then killed_ship; else stop "$ship_pid"; ship_pid=; fi; }
mkdir -p "$tmp/state" && touch "$tmp/ship.err"

# The start pattern docs/shipping.md gives other shippers finds each header, CR LF or LF, and no
# message line, as POSIX extended and as PCRE alike.
pattern=$(grep -m1 '^\^APP: ' "$contrib/../../docs/shipping.md")
printf '%s\r\n' 'APP: C:\A.EXE: Wed Mar 15 09:05:07 2006' 'one' 'APP: C:\B: C.EXE: Thu Mar  2 10:00:00 2006' \
  'APP: x' 'APP: C:\A.EXE: ??? ??? ?? ??:??:?? ????' '' >"$tmp/windows.log"
printf '%s\n' 'APP: /x: Wed Mar 15 09:05:07 2006' 'APP: /x: Wed Mar 15 09:05:07 2006 and more' \
  >>"$tmp/windows.log"
for grep in "grep -E" "grep -P"; do
  [ "$($grep -c "$pattern" "$tmp/windows.log")" = 4 ] || { echo "$grep: not 4 headers" >&2; exit 1; }
done

export ZYL_LOG_ROTATE=16K,1000  # rotating often; every generation kept to compare against
# A stream's records come in bursts, one writer process each; under Wine fewer and one kill.
burst=10 kills=2
[ -z "$emulator" ] || burst=5 kills=1
written=0
# write WRITER COUNT: COUNT records of one writer process.
write() { run "$writer" "$(winpath "$log")" "$1" "$2"; written=$((written + $2)); }
# stream PHASE: records of the phase's writers, a few at a time, until stopped.
stream() {
  local w
  for ((w = $1 * 1000; ; w++)); do run "$writer" "$(winpath "$log")" "$w" "$burst"; sleep 0.05; done
}
start_stream() { stream "$1" & stream_pid=$!; }
stop_stream() { stop "$stream_pid"; stream_pid=; }

start_collector
start_ship
within 20 grep -q "waiting for" "$tmp/ship.err"  # said once, while the log is not there
/usr/bin/python3 -c 'import sys; h = "APP: /x: Wed Mar 15 09:05:07 2006\n"
open(sys.argv[1], "a").write(h + "writer 1000 long " + "w" * 300000 + "\n" +
                             h + "writer 1001 long " + "p" * 1500000 + "\n")' "$log"
written=2
write 1002 40
if [ -z "$emulator" ]; then
  "$zyl" log --file="$log" "writer 1003 two"$'\n'"lines"
  "$zyl" log --file="$log" "writer 1003 CR LF"$'\r\n'"ends"$'\r\n'
  written=$((written + 2))
fi
within 20 all_delivered

if [ -z "$emulator" ]; then
  stop_collector
  write 2000 40
  stop_ship
  write 2001 40
  start_ship
  write 2002 40
  sleep 1
  start_collector
  within 20 all_delivered

  start_stream 3
  for kill in 1 2; do
    sleep 1
    kill_collector
    sleep 0.5
    start_collector
  done
  sleep 1
  stop_stream
fi

start_stream 4
for ((kill = 0; kill < kills; kill++)); do
  sleep 1
  killed_ship
  start_ship
done
sleep 2
# Under Wine a look sends a few bursts at once: 2 % of the stream must exceed what one kill resends.
phase4_written() { (($(cat "$tmp"/app*.log | grep -ac '^writer 4') >= 300)); }
[ -z "$emulator" ] || within 12 phase4_written || :
stop_stream
sleep 2  # for the last records, and for any sent twice to show
stop_ship
stop_collector

expected=$tmp/expected.json
run "$zyl" show --json "$(winpath "$log")" >"$expected"
/usr/bin/python3 - "$expected" "$tmp/records.json" "$emulator" <<'PY'
import collections, json, re, sys
def records(lines):
    out, joined = [], None
    for entry in map(json.loads, lines):
        if entry.get("record") is False: continue
        joined = entry["message"] if entry.get("piece", 1) == 1 else joined + entry["message"]
        if not entry.get("more"): out.append(joined)
    return out
want = collections.Counter(records(open(sys.argv[1])))
got = collections.Counter(json.loads(line)["message"] for line in open(sys.argv[2]))
phase = lambda m: int(re.match(r"writer (\d+)", m).group(1)) // 1000
allowed = {1: 0, 2: 0, 3: 0.01, 4: 0.02 if sys.argv[3] else 0.01}
status = 0
for p in sorted({phase(m) for m in want}):
    mine = lambda c: collections.Counter({m: n for m, n in c.items() if phase(m) == p})
    w, g = mine(want), mine(got)
    lost, doubled = sum((w - g).values()), sum((g - w).values())
    print(f"phase {p}: written {sum(w.values())}, received {sum(g.values())}, lost {lost}, doubled {doubled}")
    status |= lost > 0 or doubled > allowed[p] * sum(w.values())
sys.exit(status)
PY
