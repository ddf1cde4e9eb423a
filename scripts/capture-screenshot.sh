#!/usr/bin/env bash
# A picture of the photo capture window on an X server of its own (xvfb-run), with the moving
# test pattern in the live image and a still taken:  scripts/capture-screenshot.sh [out.png]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
out="$(realpath -m "${1:-$here/../docs/screenshots/capture.png}")"
build="${2:-$here/../build-capture-cpu}"
mkdir -p "$(dirname "$out")"
cmake -S "$here/capture-cpu" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 --target capture_probe > /dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$build/capture_probe" --screenshot "$out" 2>/dev/null
echo "$out"
