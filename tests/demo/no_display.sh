#!/usr/bin/env bash
# velmora-demo where no window can be shown: one line that says what to set, status 2, and no
# abort from Qt.
#
# Usage: no_display.sh VELMORA_DEMO
set -u
demo=$(realpath "$1")
want="no display: set DISPLAY or QT_QPA_PLATFORM=offscreen"
fail=0
pass=0
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-demo.XXXXXX")
trap 'rm -rf "$work"' EXIT

# check WHAT ENV...: the demo under the given environment changes.
check() {
  local what=$1
  shift
  timeout -k 5 20 env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$demo" \
    >"$work/out" 2>"$work/err"
  local status=$?
  if [ "$status" -ne 2 ] || [ "$(cat "$work/err")" != "$want" ] || [ -s "$work/out" ]; then
    echo "FAIL $what: status $status (want 2)"
    sed 's/^/  stderr: /' "$work/err"
    sed 's/^/  stdout: /' "$work/out"
    fail=$((fail + 1))
  else
    pass=$((pass + 1))
  fi
}

check "no display at all"
# An X display named but not there, asked for by name or not.
check "an X display that does not answer" DISPLAY=:93
check "xcb asked for, its display not there" QT_QPA_PLATFORM=xcb DISPLAY=:93
check "a Wayland display that does not answer" WAYLAND_DISPLAY=velmora-none XDG_RUNTIME_DIR="$work"

echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
