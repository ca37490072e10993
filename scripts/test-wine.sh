#!/usr/bin/env bash
# test-wine.sh [CTEST ARGS...]: configures and builds the Windows build
# (preset "mingw", in build/mingw or HW_WINE_BUILD_DIR) and runs its tests
# under Wine with ctest. Exits non-zero when the build or a test fails.
# The Wine prefix is the build's own (<build>/wine/prefix), made on the first
# run. With DISPLAY set, windows show on that screen; without, on a private
# Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${HW_WINE_BUILD_DIR:-build/mingw}
jobs=${HW_JOBS:-$(nproc)}
cmake --preset mingw -B "$build" >/dev/null
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs" "$@"
