#!/usr/bin/env bash
# Follows README.md's "Using the installed package" as a user would: runs its recipes exactly as
# printed (each fenced block marked "<!-- consumer-test: NAME -->"), with a throwaway $HOME to
# install into and tests/consumer/app.cpp as the user's program, which calls every export and
# checks the answers. Then checks the installed layouts and both ZIPs, and that the headers and
# the CMake package refuse callers that cannot work, saying what to do.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
work=$root/build/consumer-test
rm -rf "$work"
mkdir -p "$work/home" "$work/app" "$work/app-c"
source scripts/wine-prefix.sh  # made, if need be, under the real $HOME
export HOME=$work/home
export DEBUG=On  # app.cpp expects debug mode on

recipe() {  # recipe NAME: the fenced block marked NAME in README.md
  awk -v mark="<!-- consumer-test: $1 -->" '
    $0 == mark { armed = 1; next }
    armed && /^```/ { if (inside) exit; inside = 1; next }
    inside { print }' README.md
}

run() {  # run NAME DIR: runs recipe NAME in DIR, its output shown only when it fails
  local lines log=$work/$1.log
  lines=$(recipe "$1")
  [ -n "$lines" ] || { echo "README.md has no recipe '$1'" >&2; return 1; }
  echo "--- $1"
  # Every Wine run gets a timeout; the recipe's lines stay as printed.
  if ! (cd "$2" && timeout 1200 bash -c "set -eo pipefail
      wine() { timeout 120 $(type -P wine) \"\$@\"; }
      $lines") >"$log" 2>&1; then
    cat "$log"
    echo "recipe '$1' failed" >&2
    return 1
  fi
  grep -E '^consumer:' "$log" || true
}

has_all() {  # has_all WHAT LISTING FILE...: each FILE ends a line of LISTING
  local what=$1 listing=$2 want
  shift 2
  for want in "$@"; do
    grep -qE "(^|/)$want\$" <<<"$listing" || { echo "$what lacks $want" >&2; return 1; }
  done
  echo "$what: all expected files present"
}

refuses() {  # refuses WHAT MESSAGE COMMAND...: COMMAND must fail, saying MESSAGE
  local what=$1 message=$2 out
  shift 2
  if out=$("$@" 2>&1); then
    echo "$what was accepted" >&2
    return 1
  fi
  if ! grep -qF "$message" <<<"${out//$'\n'  / }"; then  # CMake wraps its messages
    echo "$out"
    echo "$what failed without saying: $message" >&2
    return 1
  fi
  echo "refused: $what"
}

cp tests/consumer/app.cpp "$work/app/"
recipe CMakeLists.txt >"$work/app/CMakeLists.txt"
run install "$root"
run zip "$root"
run cmake-linux "$work/app"
run cmake-windows "$work/app"
run pkg-config "$work/app"
run mingw-g++ "$work/app"
# The C interface: the README's C program on each target, its Python package on Linux.
recipe app.c >"$work/app-c/app.c"
recipe app.py >"$work/app-c/app.py"
run c "$work/app-c"
[ "$(grep -c '^\[report.txt\] \[00042\]' "$work/c.log")" -eq 3 ] ||
  { cat "$work/c.log"; echo "the C program did not print its answer on each target" >&2; exit 1; }
echo "app.c: [report.txt] [00042] on Linux and under Wine, 64-bit and 32-bit"
run python "$work/app-c"
# The installed package, found through PYTHONPATH alone, and the log it names.
grep -qxF "report.txt 00042" "$work/python.log" && grep -qxF "b'a\x00b'" "$work/python.log" &&
  grep -q 'started$' "$HOME/app.log" || { cat "$work/python.log"; exit 1; }
echo "app.py: $(tr '\n' ' ' <"$work/python.log")and started in ~/app.log"
cat >"$work/app-c/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.25)
project(app_c LANGUAGES C)
find_package(ZIZUDUZ 8 CONFIG REQUIRED)
add_executable(app app.c)
target_link_libraries(app PRIVATE ZIZUDUZ::C)
EOF
(cd "$work/app-c" && cmake -B build -DCMAKE_PREFIX_PATH="$HOME/zizuduz" >/dev/null &&
  cmake --build build >/dev/null && build/app | grep -qF '[report.txt] [00042]') ||
  { echo "a C project could not use ZIZUDUZ::C" >&2; exit 1; }
echo "ZIZUDUZ::C: a C project builds and runs"
"$HOME/zizuduz/bin/zyl" trim "  the installed zyl runs  "

links_resolve() {  # links_resolve DIR: every relative link of DIR/README.md names a file in DIR
  local link missing=0
  for link in $(grep -oE '\]\([^)#]+' "$1/README.md" | sed 's/^](//' | grep -v '://'); do
    [ -e "$1/$link" ] || { echo "$1/README.md links to $link, which is not there" >&2; missing=1; }
  done
  [ "$missing" -eq 0 ] && echo "$1/README.md: every relative link resolves"
}

echo "--- installed layouts"
linux=$HOME/zizuduz
# The version as the build wrote it into the package.
version=$(sed -n 's/^set(PACKAGE_VERSION "\(.*\)")$/\1/p' \
  "$linux/lib/cmake/ZIZUDUZ/ZIZUDUZConfigVersion.cmake")
docs=(docs/api.md docs/reliability.md docs/shipping.md docs/message-box.png examples/debug_log.cpp
  contrib/shipping/zyl-ship)
has_all "Linux install" "$(cd "$linux" && find . -type f -o -type l)" lib/libZIZUDUZ.so \
  "lib/libZIZUDUZ.so.${version%%.*}" "lib/libZIZUDUZ.so.$version" include/zyl/config.h \
  lib/pkgconfig/zizuduz.pc share/doc/ZIZUDUZ/LICENSE "${docs[@]/#/share/doc/ZIZUDUZ/}" \
  lib/libZIZUDUZC.so "lib/libZIZUDUZC.so.${version%%.*}" lib/pkgconfig/zizuduzc.pc \
  include/zyl/zyl_c.h include/zyl/zyl_c.hpp share/man/man1/zyl.1 \
  share/bash-completion/completions/zyl
links_resolve "$linux/share/doc/ZIZUDUZ"
for lib in ZIZUDUZ ZIZUDUZC; do
  objdump -p "$linux/lib/lib$lib.so" | grep -q "SONAME *lib$lib.so.${version%%.*}\$" ||
    { echo "lib$lib.so lacks the SONAME lib$lib.so.${version%%.*}" >&2; exit 1; }
done
for arch in i686 x86_64; do
  zip=build/mingw-$arch/package/ZIZUDUZ-$version-windows-$arch.zip
  has_all "$(basename "$zip")" "$(cmake -E tar tf "$zip")" bin/ZIZUDUZ.dll bin/zyl.exe \
    lib/ZIZUDUZ.dll.a include/zyl/zyl.h include/zyl/zyl_string.h include/zyl/export.h \
    include/zyl/abi_guard.h include/zyl/config.h README.md LICENSE CHANGELOG.md \
    lib/cmake/ZIZUDUZ/ZIZUDUZConfig.cmake lib/cmake/ZIZUDUZ/mingw.cmake \
    "lib/cmake/ZIZUDUZ/mingw-$arch.cmake" "${docs[@]}" bin/ZIZUDUZC.dll lib/ZIZUDUZC.dll.a \
    include/zyl/zyl_c.h include/zyl/zyl_c.hpp
done
w64=$HOME/zizuduz-w64
w32=$HOME/ZIZUDUZ-$version-windows-i686
links_resolve "$w64"
links_resolve "$w32"

echo "--- callers that cannot work are turned away"
probe() { cmake -S "$work/app" -B "$work/refused" --fresh "$@"; }
refuses "the old string ABI" "the old std::string ABI (_GLIBCXX_USE_CXX11_ABI=0)" \
  g++ -std=c++17 -fsyntax-only -D_GLIBCXX_USE_CXX11_ABI=0 -I"$linux/include" "$work/app/app.cpp"
refuses "C++14" "its headers need C++17" \
  g++ -std=c++14 -fsyntax-only -I"$linux/include" "$work/app/app.cpp"
refuses "UCRT against an msvcrt DLL" "the DLL was built for the msvcrt C runtime" \
  x86_64-w64-mingw32-g++-posix -std=c++17 -fsyntax-only -D_UCRT -I"$w64/include" \
  "$work/app/app.cpp"
refuses "32-bit g++ with the 64-bit headers" "another pointer size" \
  i686-w64-mingw32-g++-posix -std=c++17 -fsyntax-only -I"$w64/include" "$work/app/app.cpp"
refuses "Linux with the Windows package" "built for 64-bit Windows, but this project builds for" \
  probe -DZIZUDUZ_DIR="$w64/lib/cmake/ZIZUDUZ"
refuses "Windows with the Linux package" "built for 64-bit Linux, but this project builds for" \
  probe --toolchain "$w64/lib/cmake/ZIZUDUZ/mingw-x86_64.cmake" \
  -DZIZUDUZ_DIR="$linux/lib/cmake/ZIZUDUZ"
refuses "32-bit Windows with the 64-bit package" "builds for 32-bit Windows" \
  probe --toolchain "$w32/lib/cmake/ZIZUDUZ/mingw-i686.cmake" -DZIZUDUZ_DIR="$w64/lib/cmake/ZIZUDUZ"
echo "consumer test passed"
