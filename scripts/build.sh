#!/usr/bin/env bash
# build.sh PRESET...: configure and build the given CMake presets.
set -euo pipefail
cd "$(dirname "$0")/.."
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
