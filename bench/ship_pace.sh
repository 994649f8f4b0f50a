#!/usr/bin/env bash
# The pace of `zyl ship`: RECORDS pre-written 200-byte records to a collector rsyslogd with imrelp
# (contrib/shipping/collector.conf) on 127.0.0.1, against rsyslog's own sender at its best
# (imuxsock -> omrelp, queue.dequeueBatchSize="1024" windowSize="1024") fed the same records by a
# blocking writer, to the same collector, in the same run. Prints records per second and CPU
# microseconds per record for each. A benchmark, not a test: run it by hand on a quiet machine.
# Usage: bench/ship_pace.sh ZYL [RECORDS] [RSYSLOGD]
set -euo pipefail
zyl=$(realpath "$1") records=${2:-50000} rsyslogd=${3:-/usr/sbin/rsyslogd}
contrib=$(cd "$(dirname "$0")/../contrib/shipping" && pwd)
tmp=$(mktemp -d) pids=()
# The senders before the collector, so none complains of a session it lost.
trap 'for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || :; wait "${pids[i]}" 2>/dev/null || :; done; rm -rf "$tmp"' EXIT
py=/usr/bin/python3
port=$($py -c 'import socket as s; print(s.create_server(("127.0.0.1", 0)).getsockname()[1])')

# The records: a header and a message, 200 bytes in all, each different.
$py - "$tmp/app.log" "$records" <<'PY'
import sys
header = "APP: /usr/bin/bench: Wed Mar 15 09:05:07 2006\n"
with open(sys.argv[1], "w") as log:
    for i in range(int(sys.argv[2])):
        body = f"record {i} "
        log.write(header + body + "x" * (200 - len(header) - len(body) - 1) + "\n")
PY

ZYL_COLLECTOR_PORT=$port ZYL_COLLECTOR_OUT=$tmp/out.json \
  "$rsyslogd" -n -f "$contrib/collector.conf" -i "$tmp/collector.pid" &
pids+=($!)
for ((i = 0; i < 100; i++)); do ss -ltnH "sport = :$port" | grep -q . && break; sleep 0.1; done

# CPU seconds (user + system) of process `pid` so far.
cpu() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) / hz }' "/proc/$1/stat"; }
# arrived N: waits until the collector has written N lines in all.
arrived() { while [ "$({ wc -l <"$tmp/out.json"; } 2>/dev/null || echo 0)" -lt "$1" ]; do sleep 0.01; done; }
report() {  # NAME SECONDS CPU
  awk -v n="$records" -v name="$1" -v s="$2" -v c="$3" \
    'BEGIN { printf "%-34s %8.0f records/s  %6.2f s  CPU %5.2f us/record\n", name, n / s, s, c * 1e6 / n }'
}

mkdir "$tmp/state"
start=$(date +%s.%N)
"$zyl" ship --to "127.0.0.1:$port" --state "$tmp/state" "$tmp/app.log" 2>"$tmp/ship.err" &
ship=$!
pids+=($ship)
arrived "$records"
seconds=$(echo "$(date +%s.%N) - $start" | bc)
report "zyl ship (RELP)" "$seconds" "$(cpu $ship)"
kill "$ship" && wait "$ship"

# rsyslog's sender: its own socket, a queue, omrelp with a window of 1024.
cat >"$tmp/sender.conf" <<CONF
global(workDirectory="$tmp" maxMessageSize="4m")
module(load="imuxsock" SysSock.Use="off")
module(load="omrelp")
input(type="imuxsock" Socket="$tmp/sender.sock" Ruleset="forward" RateLimit.Interval="0")
ruleset(name="forward" queue.type="LinkedList" queue.dequeueBatchSize="1024") {
  action(type="omrelp" target="127.0.0.1" port="$port" windowSize="1024")
}
CONF
"$rsyslogd" -n -f "$tmp/sender.conf" -i "$tmp/sender.pid" &
sender=$!
pids+=($sender)
for ((i = 0; i < 100; i++)); do [ -S "$tmp/sender.sock" ] && break; sleep 0.1; done
start=$(date +%s.%N)
$py - "$tmp/app.log" "$tmp/sender.sock" <<'PY' &
import socket, sys
out = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
out.connect(sys.argv[2])  # blocking: waits whenever the socket's queue is full
data = open(sys.argv[1], "rb").read()
header = data[:data.index(b"\n") + 1]
for body in data.split(header)[1:]:
    out.send(b"<14>zyl: " + header + body[:-1])
PY
writer=$!
pids+=($writer)
arrived $((2 * records))
seconds=$(echo "$(date +%s.%N) - $start" | bc)
wait "$writer"
report "rsyslog imuxsock -> omrelp (1024)" "$seconds" "$(cpu $sender)"
