#!/usr/bin/env bash
# valgrind.sh [BUILD_DIR]: runs every native test program of a build (default
# build/native) under valgrind's memcheck; any error or definitely lost block
# fails the program. Each program runs once as a whole (ctest would start it
# once per case), two at a time. Programs the test programs start themselves
# (the hoardwell command line) are checked too.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build/native}" && pwd)
jobs=${HW_VALGRIND_JOBS:-2}
logs=$build/valgrind
mkdir -p "$logs"

# The test programs ctest knows, built in this build directory.
mapfile -t programs < <(ctest --test-dir "$build" --show-only=json-v1 |
  jq -r '.tests[].command[0]' | sort -u | grep "^$build/")
if [ ${#programs[@]} -eq 0 ]; then
  echo "valgrind.sh: no test programs in $build" >&2
  exit 1
fi

run_one() {
  local program=$1 log=$logs/$(basename "$1").log
  if valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
      --suppressions="$root/scripts/valgrind.supp" \
      --trace-children=yes \
      "$program" --gtest_brief=1 >"$log" 2>&1; then
    echo "ok    $(basename "$program")"
  else
    echo "FAIL  $(basename "$program") (see $log)"
    return 1
  fi
}
export -f run_one
export logs root

start=$SECONDS
status=0
printf '%s\n' "${programs[@]}" | xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} || status=1
echo "valgrind: ${#programs[@]} programs in $((SECONDS - start)) s"
exit $status
