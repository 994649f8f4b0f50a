#!/usr/bin/env bash
# The README's main command. Installs what is missing, builds the Linux library and both Windows
# DLLs, then calls every export through the zyl tool, on Linux and under Wine, shows the debug
# log records written, and has a window of a demo application raise a real message box under
# Wine and Xvfb, saved as a screenshot (build/demo/message-box.png).
# BUILD_ROOT moves the build directories (default: build/).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builds=${BUILD_ROOT:-$root/build}
out=$builds/demo

# call ARGS...: runs "${zyl[@]}" ARGS, showing each result line in brackets and the exit status.
call() { run_zyl "" "$@" </dev/null; }

# feed INPUT ARGS...: the same with INPUT on standard input.
feed() {
  local input=$1
  shift
  run_zyl "printf $(printf '%q' "$input") | " "$@" < <(printf '%s' "$input")
}

run_zyl() {
  local shown="$1${DEBUG+DEBUG=$DEBUG }zyl" arg status=0
  shift
  for arg in "$@"; do shown+=" $(printf '%q' "$arg")"; done
  printf '  $ %s\n' "$shown"
  "${zyl[@]}" "$@" >"$out/stdout" 2>"$out/stderr" || status=$?
  sed 's/.*/      [&]/' "$out/stdout"
  sed 's/.*/      stderr: &/' "$out/stderr"
  [ "$status" -eq 0 ] || printf '      exit status %d\n' "$status"
}

show_log() {  # show_log FILE: the records, with CR LF line ends made visible
  echo "  records in $1:"
  sed -e 's/\r$/   (CR LF)/' -e 's/^/      /' "$1"
}

# The same tour of the exports on each platform: $long_path exists, $missing_path does not, and
# $box makes a call that shows a box ($box_note says how it is shown).
tour() {
  echo "-- trimming and padding"
  call trim $'\t  padded text  \r\n'
  call trim-left '   left'
  call trim-right 'right   '
  feed $'  one  \r\n\ttwo\n three' trim -
  call pad --width=5 --fill=0 --left 42
  call pad -w 8 -f . abc
  call pad -w 2 'longer than two'
  echo "-- path names"
  call file-name 'C:\Reports\2006\march.txt'
  call file-path 'C:\Reports\2006\march.txt'
  call file-name 'C:march.txt'
  call short-path "$long_path"
  call short-path "$missing_path"
  echo "-- debug switch (environment variable DEBUG)"
  call debug
  DEBUG=On call debug
  echo "-- debug log"
  rm -f demo.log
  call log --file=demo.log 'first record'
  feed $'second record\nthird record\n' log --file=demo.log -
  show_log demo.log
  echo "-- window title (no window: the executable's file name$title_note)"
  call title
  echo "-- bad usage"
  call pad -w 2x abc
  echo "-- message boxes ($box_note)"
  $box msg 'Stock list saved.'
  $box error 'Could not save the stock list.' 'write C:\Exports\stock.csv: disk full'
  DEBUG=on $box error 'Could not save the stock list.' 'write C:\Exports\stock.csv: disk full'
}

linux_part() {
  echo
  echo "=== Linux: build/native/bin/zyl"
  zyl=("$builds/native/bin/zyl")
  long_path=/usr/share/doc
  missing_path=/no/such/file
  title_note="; split at '\\' or ':' only, a Linux path gives none"
  box=call
  box_note="here a stand-in: the text on standard error; no title, so no caption"
  mkdir -p "$out/linux" && cd "$out/linux"
  tour
  cd "$root"
}

# box_call ARGS...: runs zyl.exe ARGS, whose box the demo host reads and closes.
box_call() {
  call "$@" &
  local pid=$!
  timeout 60 wine "$bin/zyl_demo_host.exe" close-box zyl.exe 30 | sed 's/^/      /'
  wait "$pid"
}

# The screenshot: a main window with an owned pop-up in front; the pop-up's thread calls
# ShowZYLMsg, whose box is owned by, and captioned with the title of, the main window.
window_box() {
  echo "-- a box raised from an application's window"
  local host_out=$out/windows/host.out
  timeout 90 wine "$bin/zyl_demo_host.exe" show 'Inventory - ZIZUDUZ demo' 6 \
    'Stock list saved to C:\Exports\stock.csv.' >"$host_out" 2>&1 &
  local pid=$! i
  for i in $(seq 150); do
    grep -q '^box:' "$host_out" 2>/dev/null && break
    sleep 0.2
  done
  sleep 1  # let it paint
  import -window root "$out/screen.png"
  convert "$out/screen.png" -trim +repage -bordercolor black -border 12 "$out/message-box.png"
  local main
  main=$(sed -n 's/^main window \(0x[0-9A-Fa-f]*\).*/\1/p' "$host_out")
  [ -z "$main" ] || call title "$main"
  wait "$pid" || true
  sed 's/^/      /' "$host_out"
  echo "  screenshot: $out/message-box.png"
}

# A virtual X display of our own for the Windows part, stopped when the demo ends. Xvfb picks a
# free display number and writes it to the descriptor -displayfd names once it accepts clients.
start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$out/display" 2>/dev/null &
  local pid=$! i
  trap "kill $pid 2>/dev/null" EXIT
  for i in $(seq 100); do
    [ -s "$out/display" ] && break
    sleep 0.1
  done
  [ -s "$out/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(cat "$out/display")"
}

# Runs with the Wine prefix ready and a display started.
windows_part() {
  bin=$builds/mingw-x86_64/bin
  echo
  echo "=== Windows 64-bit under Wine: build/mingw-x86_64/bin/zyl.exe"
  zyl=(timeout 60 wine "$bin/zyl.exe")
  long_path='C:\Program Files\Common Files'
  missing_path='C:\No Such Folder\file.txt'
  title_note=
  box=box_call
  box_note="real ones: the demo host reads each and presses OK"
  mkdir -p "$out/windows" && cd "$out/windows"
  tour
  window_box
  cd "$root"

  echo
  echo "=== Windows 32-bit under Wine: build/mingw-i686/bin/zyl.exe"
  zyl=(timeout 60 wine "$builds/mingw-i686/bin/zyl.exe")
  call pad --width=5 --fill=0 --left 42
  call file-name 'C:\Reports\2006\march.txt'
  call title
}

unset DEBUG  # the tour sets it where it shows it

bash scripts/install-deps.sh
for preset in native mingw-i686 mingw-x86_64; do
  echo "=== building $preset"
  if [ ! -f "$builds/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" -B "$builds/$preset" >/dev/null
  fi
  cmake --build "$builds/$preset" | tail -1
done
rm -rf "$out"
mkdir -p "$out"
linux_part
source scripts/wine-prefix.sh
start_display
windows_part
