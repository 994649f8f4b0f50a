#!/usr/bin/env bash
# Builds every configuration and runs every test: native with ASan+UBSan, both Windows builds
# under Wine and Xvfb, and each fuzzer for a bounded time. Ends with "N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh || exit 1

passed=0
failed=0
failures=()
step() {  # step NAME COMMAND...: runs one step, counting its outcome
  local name=$1
  shift
  echo "=== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}
build() { cmake --preset "$1" >/dev/null && cmake --build --preset "$1"; }
format_check() { git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; }

step "format (clang-format)" format_check

for preset in asan native mingw-i686 mingw-x86_64; do
  step "build $preset" build "$preset"
done
step "test asan" ctest --preset asan
# Without sanitizers too: running out of memory can only be tested where new throws.
step "test native" ctest --preset native

source scripts/wine-prefix.sh
for preset in mingw-i686 mingw-x86_64; do
  step "test $preset" xvfb-run -a ctest --preset "$preset"
done

step "consumer of the installed package" bash scripts/consumer-test.sh

step "fuzz" bash scripts/fuzz.sh "${ZYL_FUZZ_SECONDS:-45}"

echo
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
