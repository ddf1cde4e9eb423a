#!/usr/bin/env bash
# Measures what a late-bound call into VelmoraSys.dll costs a VBScript host under Wine: a loop of
# d.EsNumeroPar(4) and a loop of d.Letras(1234.5) against the same loop with a plain assignment
# and an empty loop. Each loop runs in a cscript process of its own, three times, and the figures
# are medians per iteration: the loop's elapsed time (VBScript's Timer around it, which on a
# loaded machine counts the waits too) and the processor time of the script's process (read
# from /proc while it runs) less that of a process that runs no iterations. The cost of a call
# is its loop's figure less that of the loop that assigns a constant instead.
#
# Usage: scripts/measure-com-calls.sh [build-mingw64/bin] [iterations]
# Needs wine with wine64 and the 64-bit DLL of the mingw64 preset.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=$(cd "${1:-build-mingw64/bin}" && pwd)
n=${2:-200000}
dll=$bin/VelmoraSys.dll
[ -f "$dll" ] || { echo "no DLL at $dll (build the mingw64 preset first)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-calls.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

wine wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 2; }
wine regsvr32 /s "$(winepath -w "$dll")" >/dev/null 2>&1 || { echo "regsvr32 failed" >&2; exit 2; }

# The loop: WScript.Arguments are the kind of body and the number of iterations. The object is
# made and called once before the clock starts, so the loop times calls alone.
mkdir -p "$WINEPREFIX/drive_c/calls"
printf '%s\r\n' \
  'kind = WScript.Arguments(0)' \
  'n = CLng(WScript.Arguments(1))' \
  'Set d = CreateObject("VelmoraSys.Dolva")' \
  'x = d.EsNumeroPar(4)' \
  'x = d.Letras(1234.5)' \
  't0 = Timer' \
  'Select Case kind' \
  '  Case "empty"' \
  '    For i = 1 To n' \
  '    Next' \
  '  Case "assign"' \
  '    For i = 1 To n' \
  '      x = 4' \
  '    Next' \
  '  Case "EsNumeroPar"' \
  '    For i = 1 To n' \
  '      x = d.EsNumeroPar(4)' \
  '    Next' \
  '  Case "Letras"' \
  '    For i = 1 To n' \
  '      x = d.Letras(1234.5)' \
  '    Next' \
  'End Select' \
  'WScript.Echo "loop " & CStr(CLng((Timer - t0) * 1000000))' \
  >"$WINEPREFIX/drive_c/calls/loop.vbs"

# One run: the loop's elapsed microseconds and the script process's processor time in clock
# ticks, sampled until the process ends (Wine starts it apart from the shell's children).
hz=$(getconf CLK_TCK)
run() {
  (cd "$WINEPREFIX/drive_c" && wine cscript //nologo 'C:\calls\loop.vbs' "$1" "$2") \
    >"$work/out" 2>/dev/null &
  local launcher=$! pid= ticks=0 t
  for _ in $(seq 1000); do
    pid=$(pgrep -x cscript.exe | head -1)
    [ -n "$pid" ] && break
    sleep 0.01
  done
  while [ -n "$pid" ] && t=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null) &&
    [ -n "$t" ]; do
    ticks=$t
    sleep 0.02
  done
  wait "$launcher" || true
  echo "$(tr -d '\r' <"$work/out" | awk '/^loop /{print $2}') $ticks"
}
median() { sort -n | sed -n 2p; }

echo "iterations per loop: $n; three runs each, medians; load average: $(cut -d' ' -f1-3 /proc/loadavg)"
startup=$(for _ in 1 2 3; do run empty 0 | awk '{print $2}'; done | median)
printf '%-22s %14s %14s %14s %14s\n' "loop body" "elapsed/it" "less x = 4" "cpu/it" "less x = 4"
assign_loop=
assign_cpu=
for kind in empty assign EsNumeroPar Letras; do
  results=$(for _ in 1 2 3; do run "$kind" "$n"; done)
  loop=$(echo "$results" | awk '{print $1}' | median)
  cpu=$(echo "$results" | awk '{print $2}' | median)
  if [ "$kind" = assign ]; then
    assign_loop=$loop
    assign_cpu=$cpu
  fi
  case $kind in
    EsNumeroPar) label='x = d.EsNumeroPar(4)' ;;
    Letras) label='x = d.Letras(1234.5)' ;;
    assign) label='x = 4' ;;
    *) label='(empty)' ;;
  esac
  awk -v l="$label" -v a="$loop" -v c="$cpu" -v al="${assign_loop:-0}" -v ac="${assign_cpu:-0}" \
    -v s="$startup" -v hz="$hz" -v n="$n" -v k="$kind" 'BEGIN {
    call = (k == "EsNumeroPar" || k == "Letras")
    us = 1e6 / hz / n
    printf "%-22s %11.3f us", l, a / n
    printf call ? sprintf(" %11.3f us", (a - al) / n) : sprintf(" %14s", "")
    printf " %11.3f us", (c - s) * us
    if (call) printf " %11.3f us", (c - ac) * us
    printf "\n" }'
done
