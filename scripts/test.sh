#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native suite,
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, the
# Windows suite under Wine, the native suite again under valgrind, and each
# fuzz target for a short while
# (HW_FUZZ_SECONDS, 10 by default; scripts/fuzz.sh runs them longer).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
jobs=$(nproc)
status=0
for preset in native sanitize mingw; do
  echo "== $preset: build"
  scripts/build.sh "$preset"
  echo "== $preset: test"
  ctest --preset "$preset" -j "$jobs" || status=1
done
echo "== valgrind (native suite)"
scripts/valgrind.sh build/native || status=1
echo "== fuzz"
scripts/fuzz.sh "${HW_FUZZ_SECONDS:-10}" || status=1
exit $status
