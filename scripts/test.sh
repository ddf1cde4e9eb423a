#!/usr/bin/env bash
# Builds everything and runs every test: the Linux library, the command line and the Qt
# windows (offscreen), then the Windows build's tests under Wine when that build is present.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset default
cmake --build --preset default
ctest --preset default

for script in scripts/test-*.sh; do
  [ -e "$script" ] || continue
  echo "== $script"
  "$script"
done
