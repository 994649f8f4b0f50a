#!/usr/bin/env bash
# Checks the installed package the way users meet it. Each build is installed into a staging
# prefix; tests/consumer, a separate project, then finds it with find_package(ZIZUDUZ CONFIG),
# links it and runs: natively (plus a pkg-config build) and for mingw-x86_64 under Wine. Each
# Windows build's ZIP is made with CPack and its contents checked.
# Builds the presets first when they are not built yet; BUILD_ROOT moves every build directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
builds=${BUILD_ROOT:-$root/build}
work=$builds/consumer-test
rm -rf "$work"

ensure_built() {  # ensure_built PRESET
  if [ ! -f "$builds/$1/CMakeCache.txt" ]; then
    cmake --preset "$1" -B "$builds/$1" >/dev/null
  fi
  cmake --build "$builds/$1" >/dev/null
}

stage() {  # stage PRESET: installs the build into $work/PRESET/prefix
  ensure_built "$1"
  cmake --install "$builds/$1" --prefix "$work/$1/prefix" >/dev/null
}

consumer() {  # consumer PRESET [CMAKE ARGS...]: builds and runs tests/consumer against the stage
  local preset=$1
  shift
  cmake -S tests/consumer -B "$work/$preset/consumer" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" \
    >/dev/null
  cmake --build "$work/$preset/consumer" >/dev/null
  ctest --test-dir "$work/$preset/consumer" --output-on-failure --timeout 120 -V |
    grep -E '^1: (ok|FAIL|consumer)|tests passed|tests failed'
}

echo "--- native: find_package"
stage native
consumer native -DCMAKE_PREFIX_PATH="$work/native/prefix"

echo "--- native: pkg-config"
prefix=$work/native/prefix
flags=$(PKG_CONFIG_PATH="$prefix/lib/pkgconfig" pkg-config --cflags --libs zizuduz)
# shellcheck disable=SC2086  # the flags are words
g++ -std=c++17 tests/consumer/main.cpp $flags -Wl,-rpath,"$prefix/lib" -o "$work/native/pc-consumer"
(cd "$work/native" && DEBUG=On ./pc-consumer | tail -1)
"$prefix/bin/zyl" trim "  the installed zyl runs  "

echo "--- mingw-x86_64 under Wine: find_package"
source scripts/wine-prefix.sh
stage mingw-x86_64
# The toolchain searches packages only below the mingw root, so name the package's directory.
consumer mingw-x86_64 --toolchain "$root/cmake/mingw-x86_64.cmake" \
  -DZIZUDUZ_DIR="$work/mingw-x86_64/prefix/lib/cmake/ZIZUDUZ"

for preset in mingw-i686 mingw-x86_64; do
  echo "--- $preset: ZIP"
  ensure_built "$preset"
  rm -rf "$builds/$preset/package"
  (cd "$builds/$preset" && cpack >/dev/null)
  zip=$(ls "$builds/$preset"/package/*.zip)
  listing=$(cmake -E tar tf "$zip")
  for want in bin/ZIZUDUZ.dll bin/zyl.exe lib/ZIZUDUZ.dll.a include/zyl/zyl.h \
    include/zyl/zyl_string.h include/zyl/export.h README.md lib/cmake/ZIZUDUZ/ZIZUDUZConfig.cmake; do
    if ! grep -q "/$want\$" <<<"$listing"; then
      echo "$(basename "$zip") lacks $want" >&2
      exit 1
    fi
  done
  echo "$(basename "$zip"): $(grep -vc '/$' <<<"$listing") files, all expected ones present"
done
echo "consumer test passed"
