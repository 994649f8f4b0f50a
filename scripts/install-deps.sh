#!/usr/bin/env bash
# Installs the build and test tools on Debian 12. Idempotent: does nothing when all are present.
# rsyslog's system service is never used: the shipping test starts rsyslogd of its own.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev lld pkg-config clang-format libc++-dev libc++abi-dev
  python3 python3-pip python3-venv python3-setuptools python3-wheel rsyslog rsyslog-relp iproute2
  libcli11-dev nlohmann-json3-dev jq help2man groff-base
  googletest libgtest-dev libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  wine wine64 wine32:i386 fonts-wine xvfb xauth x11-apps imagemagick
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
echo "installing: ${missing[*]}" >&2
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
