#!/usr/bin/env bash
# The spanned backup of the report fixture under Wine: the test program runs
# the engine over the Win32 platform with a fixed clock onto three real
# 1.44 MB media, and compares the report on the last one with the golden file.
# This script changes the media: when the program writes a disk number N to
# CONTROL/want, disk N goes into drive A: and CONTROL/have-N tells so.
#
#   span_golden.sh TEST.EXE WINE_RUN BUILD_DIR
#
# Needs a mount namespace of its own (see media.sh); skipped (77) without.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/media.sh"
media_enter "$0" wine_span_golden "$@"
mkdir -p "$run/source" "$run/control"

# The prefix (made once), and S: an empty folder the program fills.
"$runner" "$exe" --gtest_list_tests >/dev/null || fail "the test program does not start under Wine"
ln -sfn "$run/source" "$prefix/dosdevices/s:"
media_mount "$run/media" 3

export HW_SPAN_CONTROL=$run/control
log=$run/output.txt
(
  "$runner" "$exe" --gtest_color=no >"$log" 2>&1
  echo $? >"$run/status"
) &

deadline=$(($(date +%s) + 240))
inserted=""
while [ ! -f "$run/status" ]; do
  sleep 0.1
  [ "$(date +%s)" -lt "$deadline" ] || { cat "$log"; fail "no end after 240 s"; }
  [ -f "$run/control/want" ] || continue
  disk=$(cat "$run/control/want")
  rm -f "$run/control/want"
  case "$disk" in
    2 | 3) ;;
    *) fail "the program asked for disk '$disk'" ;;
  esac
  media_insert "$disk"
  inserted="$inserted $disk"
  touch "$run/control/have-$disk"
done
wait
status=$(cat "$run/status")
cat "$log"
echo "--- disks inserted:${inserted:- none} ---"
[ "$status" -eq 0 ] || fail "the test program ended with status $status"
grep -q '^\[  PASSED  \] 1 test' "$log" || fail "the test did not run (skipped?)"

# Each disk holds its one file of the set, and only the last the report.
problems=0
for entry in "1 THREE.BIN" "2 DATA/ONE.BIN" "3 DATA/MORE/TWO.BIN"; do
  set -- $entry
  found=$(cd "$run/media/disk$1" && find . -type f ! -name .windows-label | sed 's|^\./||' | sort |
    paste -sd ' ')
  want="L240315A/S/$2"
  [ "$1" = 3 ] && want="L240315A/L240315A.KVX $want"
  echo "disk $1: $found"
  [ "$found" = "$want" ] || { echo "  expected: $want"; problems=$((problems + 1)); }
done
[ $problems -eq 0 ] || fail "$problems disks do not hold what they should"
echo "PASS: the spanned report is the golden file under Wine"
