#!/usr/bin/env bash
# The main job on its embedded default: a sample source drive C: backed up
# to a simulated 1.44 MB floppy drive A:, spanning several disks, unattended.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh native >/dev/null
work=build/demo
rm -rf "$work"
mkdir -p "$work/floppy"
scripts/make-sample.sh "$work/C"
echo "Sample drive C: $(find "$work/C" -type f | wc -l) files, $(du -sb "$work/C" | cut -f1) bytes"
set +e
build/native/cli/hoardwell backup \
  --drive "C=$work/C" --drive "A=$work/floppy:floppy:1440k" \
  --source C --dest A --mode all --yes --settings "$work/HOARDWL95.INI"
result=$?
set -e
echo "hoardwell exited with $result"
for disk in "$work"/floppy/disk*; do
  [ -d "$disk" ] || continue
  echo "$(basename "$disk"): $(find "$disk" -type f | wc -l) files, $(du -sb "$disk" | cut -f1) bytes"
done
for report in "$work"/LOGFILES/*.KVX; do
  [ -f "$report" ] || continue
  echo
  echo "== The report ($(basename "$report"), copy in the log folder):"
  cat "$report"
done
exit $result
