#!/usr/bin/env bash
# CPU use of the open photo capture window: the live image on its 1 ms timer, fed by the moving
# 640x480 test pattern at 30 frames a second, offscreen. Prints the share of one core over the
# span (10 s unless given).   scripts/measure-capture-cpu.sh [seconds] [build dir]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
seconds="${1:-10}"
build="${2:-$here/../build-capture-cpu}"
cmake -S "$here/capture-cpu" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 --target capture_probe > /dev/null
QT_QPA_PLATFORM=offscreen "$build/capture_probe" --seconds "$seconds" 2>/dev/null
