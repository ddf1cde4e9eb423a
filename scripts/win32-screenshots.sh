#!/usr/bin/env bash
# Pictures of the three windows of the Windows build (FrmPCInfo, frmSplashSys, FrmTomaFoto) as
# Wine draws them on Xvfb, taken by the windows test of the COM suite while it drives them:
#   scripts/win32-screenshots.sh [out_dir]      (default docs/screenshots)
# Builds the mingw64 preset first; writes win32-pcinfo.png, win32-splash.png, win32-capture.png
# and win32-capture-source.png.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps-windows.sh >/dev/null
out="$(realpath -m "${1:-docs/screenshots}")"
cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 >/dev/null
SCREENSHOT_DIR="$out" tests/com/run.sh build-mingw64/bin | grep '^screenshot\|FAIL\|failure'
