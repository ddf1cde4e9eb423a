#!/usr/bin/env bash
# The Windows build and its tests: VelmoraSys.dll and its installer packages for 32-bit and
# 64-bit Windows (MinGW-w64, wixl), export tables and package tables checked for both, then
# under Wine: registration in a fresh prefix, the type library against the dispatch table (of
# both DLLs), the Windows services, the C++ client and the VBScript suite (tests/com/run.sh), and
# each way of deploying (tests/com/deploy.sh). The 64-bit DLL always runs; the 32-bit one where
# 32-bit Wine could be installed (ctest reports its runs skipped otherwise). The 32-bit DLL is
# built first so that the 64-bit run checks its type library too.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps-windows.sh

cmake --preset mingw32
cmake --build --preset mingw32
ctest --preset mingw32

cmake --preset mingw64
cmake --build --preset mingw64
ctest --preset mingw64
