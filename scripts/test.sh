#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the native suite,
# the same suite under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the Windows suite under Wine.
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
exit $status
