#!/usr/bin/env bash
# The Windows build and its tests: VelmoraSys.dll for 32-bit and 64-bit Windows with MinGW-w64
# (export tables checked for both), then the 64-bit DLL under Wine: registration in a fresh
# prefix, the type library against the dispatch table (of both DLLs), the Windows services, the
# C++ client and the VBScript suite (tests/com/run.sh). The 32-bit DLL is built first so that
# the 64-bit run checks its type library too.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset mingw32
cmake --build --preset mingw32
ctest --preset mingw32

cmake --preset mingw64
cmake --build --preset mingw64
ctest --preset mingw64
