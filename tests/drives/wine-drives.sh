#!/usr/bin/env bash
# Runs a Windows test program under Wine in a prefix of its own, whose drives
# are declared in Wine's registry (HKLM\Software\Wine\Drives) when the prefix
# is made:
#   A: floppy (the runner's own), B: floppy, C: the prefix's hard disk,
#   D: CD-ROM without a disc (its folder is missing), E: CD-ROM with a disc,
#   F: floppy-type drive after B: (removable), N: network, R: RAM disk.
# A prefix of its own, because Wine's mount manager reads drive types only
# when it starts: declaring them means stopping the prefix's wineserver.
#
#   wine-drives.sh RUNNER STATE_DIR PROGRAM.EXE [ARGS...]
set -eu
runner=$1
state=$2
program=$3
shift 3

mkdir -p "$state"
export HW_WINEPREFIX=$state/prefix
export WINEPREFIX=$HW_WINEPREFIX
if [ -x /usr/lib/wine/wineserver ]; then
  wineserver=/usr/lib/wine/wineserver
else
  wineserver=$(command -v wineserver)
fi

declare_drives() {
  local dos=$HW_WINEPREFIX/dosdevices media=$state/media
  mkdir -p "$media/b" "$media/e" "$media/f" "$media/n" "$media/r"
  rm -rf "$media/missing"
  ln -sfn "$media/b" "$dos/b:"
  ln -sfn "$media/missing" "$dos/d:"
  ln -sfn "$media/e" "$dos/e:"
  ln -sfn "$media/f" "$dos/f:"
  ln -sfn "$media/n" "$dos/n:"
  ln -sfn "$media/r" "$dos/r:"
  printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]\r\n"b:"="floppy"\r\n"d:"="cdrom"\r\n"e:"="cdrom"\r\n"f:"="floppy"\r\n"n:"="network"\r\n"r:"="ramdisk"\r\n' \
    >"$state/drives.reg"
  "$runner" regedit /s "$state/drives.reg"
  "$wineserver" -k || true
  "$wineserver" -w
  # The first programs after the restart may still meet the old drive types
  # while the mount manager starts; let it settle before the tests.
  "$runner" "$program" --gtest_list_tests >/dev/null
  "$wineserver" -w
}

exec 9>"$state/drives.lock"
flock 9
if [ ! -f "$state/.drives-ready" ]; then
  "$runner" "$program" --gtest_list_tests >/dev/null  # makes the prefix
  declare_drives
  touch "$state/.drives-ready"
fi
exec 9>&-
exec "$runner" "$program" "$@"
