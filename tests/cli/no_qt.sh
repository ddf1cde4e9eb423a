#!/usr/bin/env bash
# The command line never links Qt: a call that shows nothing maps no window system and few
# libraries, and a box that a person can answer still opens as a Qt window, through the plugin
# libvelmora-linux loads at that moment.
#
# Usage: no_qt.sh VELMORA_CLI
set -u
cli=$(realpath "$1")
max_libraries=25
fail=0
pass=0

check() {  # check WHAT CONDITION-STATUS
  if [ "$2" -eq 0 ]; then
    pass=$((pass + 1))
  else
    echo "FAIL $1"
    fail=$((fail + 1))
  fi
}

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-no-qt.XXXXXX")
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

# The program's own needs, then everything they pull in.
readelf -d "$cli" | grep NEEDED >"$work/needed"
! grep -qi qt "$work/needed"
check "the program names a Qt library" $?
ldd "$cli" >"$work/ldd"
! grep -Eqi 'libqt|velmora-qt' "$work/ldd"
check "the program loads Qt at start" $?

# One amount printed, with no display and with one: no Qt, at most $max_libraries libraries.
for display in none xcb; do
  env_args=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LD_DEBUG=libs)
  [ "$display" = xcb ] && env_args+=(DISPLAY=:0)
  out=$("${env_args[@]}" "$cli" Letras 1 2>"$work/libs")
  [ "$out" = "UN PESO, 00/100 M.N." ]
  check "$display: Letras 1 printed '$out'" $?
  loaded=$(grep -c 'calling init:' "$work/libs")
  [ "$loaded" -le "$max_libraries" ]
  check "$display: Letras 1 loaded $loaded libraries" $?
  ! grep 'calling init:' "$work/libs" | grep -Eqi 'libqt|velmora-qt'
  check "$display: Letras 1 loaded Qt" $?
done

# A box with nobody at a display is answered on the terminal, Qt never loaded.
LD_DEBUG=libs VELMORA_UNATTENDED=1 env -u DISPLAY -u WAYLAND_DISPLAY \
  "$cli" Derecho 3 0011 True >"$work/out" 2>"$work/libs"
grep -q '(desatendido, se elige: Aceptar)' "$work/libs" &&
  ! grep 'calling init:' "$work/libs" | grep -Eqi 'libqt|velmora-qt'
check "an unattended box loaded Qt or was not answered on the terminal" $?

# With a display a person could answer, the box is a Qt window: the plugin and Qt Widgets are
# mapped while it waits. (Xvfb stands in for the person's display.)
if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
  cat >"$work/box.sh" <<'EOF'
#!/usr/bin/env bash
"$1" Derecho 3 0011 True >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do
  if grep -q 'libvelmora-qt.so.1' "/proc/$pid/maps" 2>/dev/null &&
     grep -q 'libQt6Widgets' "/proc/$pid/maps" &&
     xwininfo -root -tree | grep -q 'USUARIO SIN DERECHO DE ACCESO'; then
    kill "$pid"
    exit 0
  fi
  sleep 0.1
done
kill "$pid"
exit 1
EOF
  chmod +x "$work/box.sh"
  env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u VELMORA_UNATTENDED \
    xvfb-run -a "$work/box.sh" "$cli" </dev/null
  check "a box under an X display did not open as a Qt window" $?
else
  echo "SKIP the box under an X display: xvfb-run or xwininfo missing"
fi

echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
