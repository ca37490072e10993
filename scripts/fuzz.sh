#!/usr/bin/env bash
# fuzz.sh [SECONDS]: builds every libFuzzer target with clang (build/fuzz, or
# HW_FUZZ_BUILD_DIR) and runs each for SECONDS (default 20). Each target keeps
# its corpus in build/fuzz/corpus/<target>; a crash leaves its input in
# build/fuzz/crashes/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=${HW_FUZZ_BUILD_DIR:-build/fuzz}
targets=(hw_fuzz_profile hw_fuzz_settings hw_fuzz_rules_references hw_fuzz_rules_extensions hw_fuzz_report_signature)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DHW_FUZZ=ON -DHW_BUILD_TESTS=OFF -DHW_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "${HW_JOBS:-2}" --target "${targets[@]}"
mkdir -p "$build/crashes"
status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  # Seed with the settings files the tests know, so the search starts inside
  # the format.
  [ -n "$(ls -A "$corpus")" ] || printf '\0\0\0[Main]\r\nLeft=50\r\n[Preferences]\r\nDLogNum=6\r\nBackColor=255.9\r\n' >"$corpus/seed"
  echo "== $target: ${seconds}s"
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$build/crashes/$target-" -print_final_stats=0 "$corpus" 2>"$build/$target.log" || {
    status=1
    tail -40 "$build/$target.log"
  }
  grep -E "^#[0-9]+ *DONE|Done [0-9]+ runs" "$build/$target.log" | tail -1 || true
done
exit $status
