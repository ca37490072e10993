#!/usr/bin/env bash
# differential.sh NATIVE_CLI WINDOWS_CLI WINE_RUNNER BUILD_DIR
# Backs the sample drive up twice: with the native CLI on the host platform,
# and with the Windows CLI under Wine on the real Win32 calls. Both must leave
# the same destination tree: names, bytes, last-write times, hidden and system
# bits, read-only, and the same report but for its clock readings. (The
# archive bit is left out: Wine does not keep it.)
set -euo pipefail
native=$1 windows=$2 runner=$3 build=$4
if [ ! -x "$native" ]; then
  echo "no native CLI at '$native': build the native preset first"
  exit 77
fi
here=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bash "$here/scripts/make-sample.sh" "$work/src" >/dev/null
mkdir -p "$work/native" "$work/wine" "$work/native-program" "$work/wine-program"

# Each side starts from a fresh settings file (and log folder) of its own,
# so both plan with the same default rates and choose the same set name.
"$native" backup --drive "M=$work/src" --drive "N=$work/native" --source M --dest N --yes \
  --settings "$work/native-program/HOARDWL95.INI" >/dev/null

# The build's Wine prefix (made by the runner on first use); drive letters
# are links in its dosdevices folder.
"$runner" "$windows" --help >/dev/null
prefix=$build/wine/prefix
ln -sfn "$work/src" "$prefix/dosdevices/m:"
ln -sfn "$work/wine" "$prefix/dosdevices/n:"
status=0
before=$(date +%s)
"$runner" "$windows" backup --source M --dest N --yes --settings "Z:${work//\//\\}\\wine-program\\HOARDWL95.INI" \
  >/dev/null || status=$?
after=$(date +%s)
rm -f "$prefix/dosdevices/m:" "$prefix/dosdevices/n:"
[ $status -eq 0 ] || { echo "the Windows CLI exited with $status"; exit 1; }
# Directories got 1997 times; the computer's clock must not have gone there.
if [ $((after - before)) -lt 0 ] || [ $((after - before)) -gt 120 ]; then
  echo "the clock moved by $((after - before)) s during the Windows backup"
  exit 1
fi

manifest() {  # one line per entry below DIR, the set folder's name as SET
  (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | while IFS= read -r p; do
    attr=$(getfattr --only-values -n user.DOSATTRIB "$p" 2>/dev/null || true)
    bits=$(( ${attr:-0} & 0x6 ))
    ro=$([ -w "$p" ] && [ "$(stat -c %A "$p" | cut -c3)" = w ] && echo rw || echo ro)
    if [[ "$p" =~ ^\./L[0-9]{6}[A-Z]/[^/]*\.KVX$ ]]; then
      # The report: the same text, but for the clock readings of the run.
      printf '%s report %s\n' "$p" "$(grep -avE '^(Date|Time|Duration):' "$p" | sha256sum | cut -c1-16)"
    elif [ -d "$p" ]; then
      printf '%s dir %s\n' "$p" "$(stat -c %Y "$p")"
    else
      printf '%s %s %s %s hs=%d %s\n' "$p" "$(stat -c %s "$p")" "$(sha256sum < "$p" | cut -c1-16)" \
        "$(stat -c %Y "$p")" "$bits" "$ro"
    fi
  done) | sed -E -e 's#^\./L[0-9]{6}[A-Z]#./SET#' \
                -e 's#^(\./SET(/[A-Z])?) dir [0-9]+$#\1 dir (made by the run)#'
}
manifest "$work/native" > "$work/native.txt"
manifest "$work/wine" > "$work/wine.txt"
if ! diff -u "$work/native.txt" "$work/wine.txt"; then
  echo "the destinations differ"
  exit 1
fi
echo "same destination: $(wc -l < "$work/native.txt") entries"
