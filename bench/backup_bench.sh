#!/usr/bin/env bash
# backup_bench.sh [WORKDIR]: times a backup by the CLI against cp -a and
# rsync -a on the same trees and file system, and prints the ratios.
# Trees: 20,000 files of 1 to 16 KiB, and four files of 64 MiB.
# A benchmark, not a test: it never fails a build.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${HOARDWELL:-$here/build/native/cli/hoardwell}
work=${1:-$here/build/bench-work}
small_count=${SMALL_FILES:-20000}
large_mib=${LARGE_MIB:-64}

[ -x "$cli" ] || { echo "build the native preset first ($cli missing)"; exit 0; }
rm -rf "$work"
mkdir -p "$work"

make_small() {  # 20,000 files of 1..16 KiB in 200 folders
  local root=$1 i size
  mkdir -p "$root"
  for d in $(seq 0 199); do mkdir -p "$root/dir$d"; done
  python3 - "$root" "$small_count" <<'PY'
import os, sys, random
root, count = sys.argv[1], int(sys.argv[2])
rng = random.Random(42)
block = bytes(rng.getrandbits(8) for _ in range(16384))
for i in range(count):
    size = rng.randint(1024, 16384)
    with open(os.path.join(root, f"dir{i % 200}", f"file{i}.dat"), "wb") as f:
        f.write(block[:size])
PY
}

make_large() {
  local root=$1
  mkdir -p "$root"
  for i in 1 2 3 4; do head -c $((large_mib * 1024 * 1024)) /dev/urandom > "$root/large$i.bin"; done
}

seconds() {  # seconds COMMAND...: wall time of one run, after a sync
  sync
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; echo 0; return; }
  end=$(date +%s.%N)
  echo "$end - $start" | bc -l
}

same_bytes() {  # same_bytes SRC DEST: every file of SRC is in DEST, byte for byte
  diff -r -q "$1" "$2" >/dev/null
}

bench_tree() {  # bench_tree NAME MAKER
  local name=$1 maker=$2 src="$work/$1-src"
  $maker "$src"
  local bytes files
  bytes=$(du -sb "$src" | cut -f1)
  files=$(find "$src" -type f | wc -l)
  # Read the tree once so every contender starts from a warm cache.
  find "$src" -type f -exec cat {} + >/dev/null
  rm -rf "$work/dest" && mkdir -p "$work/dest"
  # Best of three runs each, so a busy moment of the machine does not count.
  local t_hw=999999 t_cp=999999 t_rsync=999999 t i
  for i in 1 2 3; do
    rm -rf "$work/dest" && mkdir -p "$work/dest"
    t=$(seconds "$cli" backup --drive "C=$src" --drive "D=$work/dest" --source C --dest D --mode all --yes --settings "$work/settings.ini")
    if ! same_bytes "$src" "$work/dest"/L*/C; then
      echo "$name: the backup's copy differs from the source; no figures"
      return
    fi
    t_hw=$(echo "if ($t < $t_hw) $t else $t_hw" | bc -l)
    rm -rf "$work/cp" && t=$(seconds cp -a --reflink=never "$src" "$work/cp")
    t_cp=$(echo "if ($t < $t_cp) $t else $t_cp" | bc -l)
    rm -rf "$work/rsync" && t=$(seconds rsync -a "$src/" "$work/rsync/")
    t_rsync=$(echo "if ($t < $t_rsync) $t else $t_rsync" | bc -l)
  done
  printf '%-6s %6d files %6d MiB  hoardwell %7.2fs  cp -a %7.2fs  rsync -a %7.2fs  ratio hw/cp %.2f  hw/rsync %.2f\n' \
    "$name" "$files" $((bytes / 1048576)) "$t_hw" "$t_cp" "$t_rsync" \
    "$(echo "$t_hw / $t_cp" | bc -l)" "$(echo "$t_hw / $t_rsync" | bc -l)"
  rm -rf "$src" "$work/dest" "$work/cp" "$work/rsync"
}

command -v rsync >/dev/null || { echo "rsync missing (scripts/setup.sh installs it)"; exit 0; }
bench_tree small make_small
bench_tree large make_large
exit 0
