#!/usr/bin/env bash
# Runs a Windows program under Wine for ctest: a prefix of the build's own
# (made on first use), no debug chatter, and an X display from Xvfb when none
# is set so that windows and dialogs can be created.
set -eu
: "${WINEPREFIX:=${HW_WINEPREFIX:-${TMPDIR:-/tmp}/hoardwell-wineprefix}}"
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml="}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Several tests may start at once; only one makes the prefix.
  exec 9>"$WINEPREFIX.lock"
  flock 9
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1 || true
  flock -u 9
fi
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a wine "$@"
fi
exec wine "$@"
