#!/usr/bin/env bash
# estimate_bench.sh [RUNS] [WORKDIR]: backs the same tree up several times
# to the same destination drive with one settings file, so each run's
# estimate uses the timings the runs before it stored, and prints each run's
# estimate against its measured time. A benchmark: it never fails a build.
set -uo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cli=${HOARDWELL:-$here/build/native/cli/hoardwell}
runs=${1:-5}
work=${2:-$here/build/bench-estimate}
[ -x "$cli" ] || { echo "build the native preset first ($cli missing)"; exit 0; }
rm -rf "$work"
mkdir -p "$work/src" "$work/dest"
python3 - "$work/src" <<'PY'
import os, sys, random
root = sys.argv[1]
rng = random.Random(7)
block = bytes(rng.getrandbits(8) for _ in range(65536))
for d in range(50):
    os.makedirs(os.path.join(root, f"dir{d}"), exist_ok=True)
for i in range(5000):
    size = rng.randint(1024, 65536)
    with open(os.path.join(root, f"dir{i % 50}", f"f{i}.dat"), "wb") as f:
        f.write(block[:size])
for i in range(4):
    with open(os.path.join(root, f"big{i}.bin"), "wb") as f:
        for _ in range(512):
            f.write(block)
PY
echo "tree: $(find "$work/src" -type f | wc -l) files, $(du -sm "$work/src" | cut -f1) MiB"
for run in $(seq 1 "$runs"); do
  rm -rf "$work/dest"/*
  sync
  line=$("$cli" backup --drive "C=$work/src" --drive "D=$work/dest" --source C --dest D --yes \
           --settings "$work/settings.ini" 2>/dev/null | grep '^Time:')
  measured=$(echo "$line" | sed -E 's/Time: ([0-9.]+) s measured.*/\1/')
  estimated=$(echo "$line" | sed -E 's/.*, ([0-9.]+) s estimated.*/\1/')
  ratio=$(echo "$estimated / ($measured + 0.05)" | bc -l)
  printf 'run %d: estimated %8.1f s, measured %6.1f s, estimate/measured %.2f\n' \
    "$run" "$estimated" "$measured" "$ratio"
done
grep -E '^(UseDrive|DriveSize|DrvTotTime|DrvFilTime)D=' "$work/settings.ini"
exit 0
