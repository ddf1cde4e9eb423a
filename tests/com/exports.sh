#!/usr/bin/env bash
# Checks the export table of VelmoraSys.dll: exactly the four entry points of COM and DllInstall,
# undecorated (regsvr32 and COM look them up by these names), and imports of system DLLs only
# (the MinGW runtime is linked in).
# Usage: exports.sh OBJDUMP VelmoraSys.dll
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")

exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^\t\[/{print $NF} t && !/^\t\[/{t=0}' \
  <<<"$dump" | sort | tr '\n' ' ')
expected="DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
status=0
if [ "$exports" != "$expected" ]; then
  echo "FAIL exports of $dll: [$exports], expected [$expected]"
  status=1
fi

imports=$(awk '/DLL Name:/{print $3}' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|advapi32.dll|ole32.dll|oleaut32.dll|msvcrt.dll|gdi32.dll) ;;
    # the windows: common controls, the open-file dialog, the Video for Windows capture service
    comctl32.dll|comdlg32.dll|avicap32.dll) ;;
    *) echo "FAIL $dll imports $name"; status=1 ;;
  esac
done
[ $status -eq 0 ] && echo "exports of $(basename "$dll"): $exports; imports: $imports"
exit $status
