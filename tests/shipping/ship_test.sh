#!/usr/bin/env bash
# zyl-ship end to end: writers append to a log that rotates, zyl-ship carries its records to a
# collector rsyslogd on 127.0.0.1; the collector is away for a while and zyl-ship is restarted.
# Every record must arrive exactly once and whole.
# Usage: ship_test.sh ZYL LOG_WRITER RSYSLOGD CONTRIB_SHIPPING_DIR
set -euo pipefail
zyl=$1 writer=$2 rsyslogd=$3 contrib=$4 collector_pid= ship_pid= per_writer=60
tmp=$(mktemp -d) && log=$tmp/app.log
trap 'for pid in $ship_pid $collector_pid; do kill "$pid" && wait "$pid"; done; rm -rf "$tmp"' EXIT

# within SECONDS COMMAND...: polls COMMAND every tenth of a second, for at most SECONDS.
within() {
  for ((i = 0; i < $1 * 10; i++)); do "${@:2}" && return 0 || sleep 0.1; done
  echo "ship_test: gave up after $1 s waiting for: ${*:2}" >&2 && return 1
}
listening() { ss -ltnH "sport = :$port" | grep -q .; }
# Records arrive in order: once all whole ones are there, the long one in parts, written first, is.
all_delivered() {
  [ "$(cat "$tmp/collector/records.json" 2>/dev/null | grep -c '"app":"zyl",')" -ge $((written - 1)) ]
}

port=$(python3 -c 'import socket as s; print(s.create_server(("127.0.0.1", 0)).getsockname()[1])')
mkdir -p "$tmp/collector"
sed -e "s|/var/spool/rsyslog|$tmp/collector|; s|/var/log/zyl|$tmp/collector|" \
    -e "s|address=\"0.0.0.0\"|address=\"127.0.0.1\"|; s|port=\"10514\"|port=\"$port\"|" \
    "$contrib/collector.conf" >"$tmp/collector.conf"
grep -q "port=\"$port\"" "$tmp/collector.conf"  # the example's port and address were replaced
start_collector() {
  "$rsyslogd" -n -f "$tmp/collector.conf" -i "$tmp/collector.pid" & collector_pid=$!
  within 10 listening
}
stop_collector() { kill "$collector_pid" && wait "$collector_pid" || true; collector_pid=; }
start_ship() {
  ZYL_SHIP_FILE=$log ZYL_SHIP_TARGET=127.0.0.1 ZYL_SHIP_PORT=$port ZYL_SHIP_STATE=$tmp/ship \
    ZYL_SHIP_ZYL=$zyl ZYL_SHIP_RSYSLOGD=$rsyslogd "$contrib/zyl-ship" 2>>"$tmp/ship.err" &
  ship_pid=$!
}
stop_ship() { kill "$ship_pid" && wait "$ship_pid"; ship_pid=; }

# One burst: three writer processes at once and zyl's own multi-line and CR LF messages, the log
# rotating every 16 KiB; every generation is kept to compare against.
burst() {
  local -x ZYL_LOG_ROTATE=16K,1000
  local w pids=()
  for w in 1 2 3; do "$writer" "$log" "$1$w" "$per_writer" & pids+=($!); done
  # Whether each record is in the log, the count of records at the end says.
  "$zyl" log --file="$log" "burst $1: two"$'\n'"lines" || :
  "$zyl" log --file="$log" "burst $1: CR LF"$'\r\n'"ends"$'\r\n' || :
  wait "${pids[@]}"
  written=$((written + 3 * per_writer + 2))
}

# Longer than a TCP frame may be by default (200000 bytes), and than one datagram: in parts.
python3 -c 'import sys; h = "APP: /x: Wed Mar 15 09:05:07 2006\n"
open(sys.argv[1], "a").write(h + "w" * 300000 + "\n" + h + "p" * 1500000 + "\n")' "$log"
written=2
start_collector
start_ship
burst 1
within 20 all_delivered
stop_collector
outage_start=$SECONDS
burst 2
sleep 3
start_collector
outage=$((SECONDS - outage_start))
burst 3
stop_ship
burst 4
start_ship
burst 5
within 30 all_delivered
sleep 1  # for a record sent twice to show
stop_ship
stop_collector

echo "5 bursts of $((3 * per_writer + 2)) records and 2 long ones; collector away ${outage}s" \
  "in burst 2; zyl-ship restarted in 4"
python3 - "$log" "$tmp/collector/records.json" "$written" <<'PY'
import collections, glob, json, re, sys
log, received, written = sys.argv[1], sys.argv[2], int(sys.argv[3])
# The start of a record, as docs/shipping.md gives it to file shippers.
header = re.compile(r"^APP: .*: ([A-Z][a-z]{2} [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{2}:[0-9]{2}:"
                    r"[0-9]{2} [0-9]+|\?{3} \?{3} \?{2} \?{2}:\?{2}:\?{2} \?{4})\r?$", re.M)
files = glob.glob(log[:-4] + "*.log")  # the generations, and the log unless rotated away
records = []
for name in files:
    text = open(name, encoding="utf-8", errors="surrogateescape", newline="").read()
    starts = [0] + [m.start() for m in header.finditer(text) if m.start()]  # bytes before: a stray
    records += [text[a:b] for a, b in zip(starts, starts[1:] + [len(text)])]
messages = [json.loads(line) for line in open(received)]
parts = "".join(m["record"] for m in messages if m["app"] == "zyl-part")  # of the one long record
whole = [m["record"] + "\n" for m in messages if m["app"] == "zyl"]
got = collections.Counter(whole + [parts + "\n"])
want = collections.Counter(records)
doubled = sum(c - want[r] for r, c in got.items() if r in want and c > want[r])
lost = sum((want - got).values())
foreign = sum(c for r, c in got.items() if r not in want)
print(f"written {written}, rotations {sum(f != log for f in files)}, in the log and its "
      f"generations {len(records)}; delivered {sum(got.values())}: doubled {doubled}, "
      f"lost {lost}, not whole {foreign}")
sys.exit(0 if len(records) == written and got == want else 1)
PY
