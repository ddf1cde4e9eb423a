#!/usr/bin/env bash
# Batch runs never wait for a person: with VELMORA_UNATTENDED=1 every window the command line
# opens (System in its four forms, PhotoWay) loads, closes itself by its own closing control and
# says so on standard error, and the command ends with status 0. Run on the offscreen platform
# and with no display at all.
#
# Usage: unattended.sh VELMORA_CLI
set -u
cli=$(realpath "$1")
limit=20  # seconds; a window that waits for a person never ends
fail=0
pass=0

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-unattended.XXXXXX")
trap 'rm -rf "$work"' EXIT

# run DISPLAY_KIND EXPECTED_REPORT ARGS...
run() {
  local kind=$1 report=$2
  shift 2
  local -a env_args=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM VELMORA_UNATTENDED=1)
  [ "$kind" = offscreen ] && env_args+=(QT_QPA_PLATFORM=offscreen)
  local status
  (cd "$work" && timeout -k 5 "$limit" "${env_args[@]}" "$cli" "$@") >"$work/out" 2>"$work/err"
  status=$?
  local what="$kind: velmora $*"
  if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
    echo "FAIL $what: still running after $limit s"
  elif [ "$status" -ne 0 ]; then
    echo "FAIL $what: status $status"
    sed 's/^/  /' "$work/err"
  elif ! grep -qxF -- "$report" "$work/err"; then
    echo "FAIL $what: no line \"$report\" on standard error"
    sed 's/^/  /' "$work/err"
  else
    pass=$((pass + 1))
    return
  fi
  fail=$((fail + 1))
}

pcinfo="(desatendido, se cierra con: &Finalizar)"
splash="(desatendido, se cierra con: &Salir)"
capture="(desatendido, se cierra con: el cuadro de cierre)"
for kind in offscreen none; do
  run "$kind" "$pcinfo" System
  run "$kind" "$pcinfo" System True True
  run "$kind" "$pcinfo" System False True
  run "$kind" "$splash" System True False
  run "$kind" "$splash" System False False
  run "$kind" "$capture" PhotoWay ana "$work"
  # The window's name heads its report.
  run "$kind" "== FrmPCInfo (ventana) ==" System False
  run "$kind" "== frmSplashSys (ventana) ==" System Nuevo:=False
  run "$kind" "== FrmTomaFoto (ventana) ==" PhotoWay ana "$work"
done

echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
