#!/usr/bin/env bash
# Measures the processor time an open system-information window costs while it refreshes:
# the splash window on its 1 ms timer (target: at most 5 % of one core) and the information
# window on its 150 ms timer (target: at most 1 %). Each window is opened non-modally by the
# command line on Qt's offscreen platform; after it has finished opening, the process's user and
# system time is read from /proc/PID/stat at the start and at the end of a 10-second window.
#
# Usage: scripts/measure_window_cpu.sh [path/to/velmora] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

cli=${1:-build/bin/velmora}
seconds=${2:-10}
settle=3  # the splash window rolls open first
[ -x "$cli" ] || { echo "no command line at $cli (build it first)" >&2; exit 2; }
ticks_per_second=$(getconf CLK_TCK)

# utime + stime of a process, in clock ticks (fields 14 and 15, counted after the name).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

measure() {
  local name=$1 target=$2; shift 2
  QT_QPA_PLATFORM=offscreen "$cli" "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$settle"
  if ! kill -0 "$pid" 2>/dev/null; then
    echo "$name: the window did not stay open" >&2
    return 1
  fi
  local t0 s0 t1 s1
  t0=$(cpu_ticks "$pid"); s0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(cpu_ticks "$pid"); s1=$(date +%s.%N)
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v n="$name" -v a="$t0" -v b="$t1" -v s="$s0" -v e="$s1" -v hz="$ticks_per_second" \
      -v goal="$target" 'BEGIN {
        pct = (b - a) / hz / (e - s) * 100
        printf "%-40s %6.2f %% of one core over %.1f s (target <= %s %%)%s\n", n, pct, e - s,
               goal, pct <= goal ? "" : "  OVER TARGET"
      }'
}

measure "splash window (frmSplashSys, 1 ms)" 5 System False False
measure "information window (FrmPCInfo, 150 ms)" 1 System False True
