# What the Wine spanning tests share, sourced by them: a mount namespace of
# their own, a wineserver that lives inside it, and 1.44 MB media (tmpfs
# mounts of 1440k) that go in and out of drive A:.
#
# A script starts with  media_enter "$0" NAME "$@"  where its arguments are
# PROGRAM.EXE WINE_RUN BUILD_DIR. Outside the namespace it re-runs the script
# inside one (or skips with 77 where mounting is refused); inside, it sets
# exe, runner and build from the arguments, work (BUILD_DIR/tests/NAME) with
# the test's own Wine prefix in it (see media_prefix), and run, a fresh
# folder for this run.
media_enter() {
  local script=$1 name=$2
  shift 2
  if [ "${1:-}" != --inside ]; then
    command -v unshare >/dev/null || skip "unshare is not installed"
    # Mounting a tmpfs in a namespace of its own is all the tests need.
    if ! unshare -m sh -c 'mount -t tmpfs -o size=1440k tmpfs /mnt' 2>/dev/null; then
      skip "no mount namespace with a tmpfs here (unshare -m, mount -t tmpfs need root)"
    fi
    exec unshare -m --propagation private bash "$script" --inside "$@"
  fi
  shift
  [ $# -eq 3 ] || { echo "usage: $(basename "$script") PROGRAM.EXE WINE_RUN BUILD_DIR" >&2; exit 2; }
  exe=$1
  runner=$2
  build=$3
  work=$build/tests/$name
  mkdir -p "$work"
  prefix=$work/prefix
  media_prefix "$prefix"
  run=$work/run
  rm -rf "$run"
  mkdir -p "$run"
}

# media_prefix PREFIX: the test's own Wine prefix, whose wineserver must start
# inside the namespace to see the mounts (Wine opens files in it). A server
# of this prefix from an earlier run lives outside and is stopped first; the
# one started here is stopped at the end. Sets floppy, drive A:'s folder as
# the runner declares it.
media_prefix() {
  export HW_WINEPREFIX=$1
  export WINEPREFIX=$1
  floppy=$1.state/floppy-a
  if [ -x /usr/lib/wine/wineserver ]; then
    wineserver=/usr/lib/wine/wineserver
  else
    wineserver=$(command -v wineserver)
  fi
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w
  trap '"$wineserver" -k 2>/dev/null; "$wineserver" -w' EXIT
  mkdir -p "$floppy"
}

# media_mount FOLDER COUNT: COUNT fresh media FOLDER/disk1..., disk 1 in A:.
media_mount() {
  media=$1
  local n
  for n in $(seq 1 "$2"); do
    mkdir -p "$media/disk$n"
    mount -t tmpfs -o size=1440k tmpfs "$media/disk$n" || skip "cannot mount a tmpfs"
  done
  mount --bind "$media/disk1" "$floppy" || skip "cannot bind-mount the medium"
}

# media_insert N: takes the medium out of drive A: and puts disk N in. The
# program keeps the drive's root as its current directory, so Wine may hold
# it open (in the program and in the wineserver); a real disk leaves the
# drive regardless, so the medium is then detached lazily, and stays
# readable where it was mounted.
media_insert() {
  if ! umount "$floppy" 2>/dev/null; then
    echo "(Wine still held the medium open: taken out anyway)"
    umount -l "$floppy" || fail "cannot take the medium out"
  fi
  mount --bind "$media/disk$1" "$floppy" || fail "cannot insert disk $1"
}
