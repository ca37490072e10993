#!/usr/bin/env bash
# Runs a Windows program under Wine, for ctest (CMAKE_CROSSCOMPILING_EMULATOR)
# and by hand: wine-run.sh PROGRAM.EXE [ARGS...]
#
# - The prefix belongs to the build: <build>/wine/prefix, the build being the
#   nearest folder with a CMakeCache.txt above the program (or the current
#   folder). HW_WINEPREFIX overrides it; a WINEPREFIX of the caller is ignored
#   so that tests never touch a person's own Wine set-up.
# - The prefix is made on first use (wineboot -i, about 6 s), once, even when
#   ctest starts several programs at the same moment.
# - Without a DISPLAY, every program of the prefix shares one Xvfb server. One
#   server, not one per program: Wine's desktop process (explorer.exe) outlives
#   the program that started it and keeps the display it was started with; a
#   program on another display, or on none, cannot create windows after that.
#   The server stops by itself a few seconds after the last Wine process.
set -eu

find_build_dir() {
  local dir
  for dir in "$@"; do
    while [ -n "$dir" ] && [ "$dir" != / ]; do
      if [ -f "$dir/CMakeCache.txt" ]; then
        printf '%s\n' "$dir"
        return 0
      fi
      dir=$(dirname "$dir")
    done
  done
  return 1
}

# Stops the shared server once no runner (and no Wine process started by one)
# has held the users lock for two checks in a row.
# A build folder removed meanwhile takes the server with it.
watch_xvfb() {
  local state=$1 idle=0 pid
  pid=$(cat "$state/xvfb.pid")
  exec 6>"$state/xvfb.users.lock"
  while sleep 3; do
    if [ ! -d "$state" ]; then
      kill "$pid" 2>/dev/null || true
      exit 0
    fi
    exec 7>"$state/xvfb.start.lock"
    flock 7
    if flock -n -x 6; then
      idle=$((idle + 1))
      if [ $idle -ge 2 ]; then
        kill "$pid" 2>/dev/null || true
        rm -f "$state/xvfb.pid" "$state/xvfb.display"
        exit 0
      fi
      flock -u 6
    else
      idle=0
    fi
    exec 7>&-
  done
}

if [ "${1:-}" = --watch-xvfb ]; then
  watch_xvfb "$2"
  exit 0
fi

program_dir=$PWD
if [ $# -gt 0 ] && [ -e "$1" ]; then
  program_dir=$(cd "$(dirname "$1")" && pwd)
fi
build=$(find_build_dir "$program_dir" "$PWD") || build=""
if [ -n "${HW_WINEPREFIX:-}" ]; then
  state=$HW_WINEPREFIX.state
  WINEPREFIX=$HW_WINEPREFIX
elif [ -n "$build" ]; then
  state=$build/wine
  WINEPREFIX=$state/prefix
else
  state=${TMPDIR:-/tmp}/hoardwell-wine-$(id -u)
  WINEPREFIX=$state/prefix
fi
if [ -n "$build" ]; then
  # A program of the build finds the build's DLLs (HDWL32.DLL for one, which
  # programs load at start) wherever in the build they were made, but not
  # in the Wine prefixes that tests keep in the build.
  dll_path=$(find "$build" \( -name drive_c -o -name dosdevices -o -name CMakeFiles \) -prune \
    -o -iname '*.dll' -printf '%h\n' | sort -u | sed 's|/|\\|g; s|^|Z:|' | paste -sd ';')
  export WINEPATH=${WINEPATH:+$WINEPATH;}$dll_path
fi
export WINEPREFIX
mkdir -p "$state"

# 64-bit only: call the wine64 loader itself, which also spares us Debian's
# wrapper and its hint about a missing wine32.
if [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver
else
  wine=$(command -v wine64 || command -v wine)
  wineserver=$(command -v wineserver)
fi
export WINELOADER=$wine
export WINEDEBUG=${WINEDEBUG:--all}
# Wine turns Windows names into Unix ones in the Unix locale's character set:
# outside a UTF-8 locale a name such as "B\xfccher" cannot be made at all. A
# fixed locale also fixes the Windows code page (1252) for every machine.
export LC_ALL=C.UTF-8
unset LANGUAGE
# No Mono or Gecko download dialogs, no menu entries in the host's desktop.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

make_prefix() {
  # A prefix without the mark is left over from an interrupted start.
  rm -rf "$WINEPREFIX"
  if ! "$wine" wineboot.exe -i >"$state/wineboot.log" 2>&1; then
    echo "wine-run.sh: wineboot failed, see $state/wineboot.log" >&2
    return 1
  fi
  declare_floppy
  touch "$WINEPREFIX/.hoardwell-ready"
}

# Drive A: is a floppy drive over <state>/floppy-a, so that the programs meet
# a removable drive as on a real machine. Wine's mount manager reads drive
# types when it starts, so the new prefix is let go down once (no other
# program can be running in it yet: they all wait for the prefix lock).
declare_floppy() {
  mkdir -p "$state/floppy-a"
  ln -sfn "$state/floppy-a" "$WINEPREFIX/dosdevices/a:"
  "$wine" reg.exe add 'HKLM\Software\Wine\Drives' /v a: /d floppy /f >>"$state/wineboot.log" 2>&1
  "$wineserver" -k && "$wineserver" -w
}

xvfb_alive() {
  local pid
  [ -f "$state/xvfb.display" ] && [ -f "$state/xvfb.pid" ] || return 1
  pid=$(cat "$state/xvfb.pid")
  [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null
}

start_xvfb() {
  local display_fifo=$state/xvfb.fifo n=
  rm -f "$display_fifo"
  mkfifo "$display_fifo"
  # The server picks a free display number itself (-displayfd), so two
  # builds never race for one. Neither it nor its watcher may hold ctest's
  # output pipes or our locks open.
  setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_fifo" \
    </dev/null >"$state/xvfb.log" 2>&1 6>&- 8>&- 9>&- &
  echo $! >"$state/xvfb.pid"
  read -r n <"$display_fifo" || true
  rm -f "$display_fifo"
  if [ -z "$n" ]; then
    echo "wine-run.sh: Xvfb did not start, see $state/xvfb.log" >&2
    exit 1
  fi
  echo ":$n" >"$state/xvfb.display"
  setsid "$(readlink -f "$0")" --watch-xvfb "$state" </dev/null >/dev/null 2>&1 6>&- 8>&- 9>&- &
}

if [ -z "${DISPLAY:-}" ]; then
  exec 8>"$state/xvfb.start.lock"
  flock 8
  xvfb_alive || start_xvfb
  DISPLAY=$(cat "$state/xvfb.display")
  export DISPLAY
  # Held shared by this program and whatever Wine starts from it
  # (wineserver, explorer.exe): the watcher stops the server only when free.
  exec 6>"$state/xvfb.users.lock"
  flock -s 6
  exec 8>&-
fi

# Made with the display too: wineboot starts the desktop process.
if [ ! -f "$WINEPREFIX/.hoardwell-ready" ]; then
  exec 9>"$state/prefix.lock"
  flock 9
  [ -f "$WINEPREFIX/.hoardwell-ready" ] || make_prefix
  exec 9>&-
fi

exec "$wine" "$@"
