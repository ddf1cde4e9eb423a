#!/usr/bin/env bash
# Pictures of the information window and the splash window with this machine's figures, on an X
# server of their own (xvfb-run):  scripts/system-screenshots.sh [pcinfo.png [splash.png]]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
pcinfo="$(realpath -m "${1:-$here/../docs/screenshots/pcinfo.png}")"
splash="$(realpath -m "${2:-$here/../docs/screenshots/splash.png}")"
build="${3:-$here/../build-system-screenshots}"
mkdir -p "$(dirname "$pcinfo")" "$(dirname "$splash")"
cmake -S "$here/system-screenshots" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$build" -j2 --target system_shots > /dev/null
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$build/system_shots" "$pcinfo" "$splash" \
  2>/dev/null
echo "$pcinfo"
echo "$splash"
