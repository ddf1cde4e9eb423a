#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test Velmora on Linux (run as root).
# Packages already present are not fetched again, so a second run costs a second. The Windows
# build and its tests under Wine have their own: scripts/install-deps-windows.sh.
set -euo pipefail

packages=(
  # the core, the command line, tests and benchmarks
  build-essential cmake pkg-config libicu-dev libdbus-1-dev libgtest-dev libgmock-dev libbenchmark-dev
  # the Python module, its tests and the benchmark against num2words
  pybind11-dev python3-dev python3-pytest python3-num2words
  # the Qt6 forms runtime, the windows, and running them without a screen
  qt6-base-dev qt6-multimedia-dev libqt6multimedia6 xvfb xauth x11-utils imagemagick
  # sanitizers and the fuzzer
  clang-14 libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
