#!/usr/bin/env bash
# Runs the COM server's tests under Wine: registers VelmoraSys.dll in a fresh Wine prefix, checks
# its type library against the dispatch table, runs the tests of the Windows platform services,
# the C++ client and the library's windows (on an X server of the run's own, Xvfb), runs every
# VBScript file of this folder with Wine's cscript, then unregisters the DLL and checks that the
# classes are gone.
#
# Usage: run.sh BIN_DIR [DLL32]
#   BIN_DIR holds VelmoraSys.dll, velmora_typelib_check.exe, velmora_com_client.exe,
#   velmora_win32_tests.exe and velmora_windows_test.exe, as the mingw64 or mingw32 preset
#   builds them (build-mingw64/bin, build-mingw32/bin). Nothing is built here. The prefix is a
#   64-bit or a 32-bit one as the DLL is; a 32-bit DLL needs 32-bit Wine (wine32:i386), and
#   without it the run ends with status 77 (skipped).
#   With SCREENSHOT_DIR set, the windows test saves the three windows there as PNG files
#   (win32-pcinfo.png, win32-splash.png, win32-capture.png, win32-capture-source.png;
#   ImageMagick's convert).
#   DLL32, when given and present, is the 32-bit VelmoraSys.dll (build-mingw32/bin): its type
#   library is checked by the 64-bit run too, whether or not 32-bit Wine can run it.
#
# Each VBScript file is run after common.vbs (its helpers), in Windows-1252 with CRLF lines, under
# the es_MX locale (see run_script in wine-harness.sh).
#
# Needs wine (the wrapper) with wine64 (and wine32 for a 32-bit DLL), localedef (package
# locales) to give Wine the es_MX locale without installing it system-wide, and Xvfb (package
# xvfb) for the windows.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:?usage: run.sh BIN_DIR}" && pwd)
dll=$bin/VelmoraSys.dll
for f in "$dll" "$bin/velmora_typelib_check.exe" "$bin/velmora_com_client.exe" \
  "$bin/velmora_win32_tests.exe" "$bin/velmora_windows_test.exe"; do
  [ -f "$f" ] || { echo "missing $f (build the mingw64 preset first)"; exit 2; }
done

# shellcheck source-path=SCRIPTDIR source=wine-harness.sh
. "$here/wine-harness.sh"
# The display is an X server of the run's own (below), so no window reaches the user's desktop;
# unattended, the message boxes answer by themselves and the modal windows close themselves.
wine_setup "$dll"
work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-com.XXXXXX")
export WINEPREFIX=$work/prefix
# A fixed locale: es_MX, compiled into the work folder for Wine's C library (set below).
export LOCPATH=$work/locale
xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# The X server of the run: the first free display number, which Xvfb writes when it is ready.
command -v Xvfb >/dev/null || { echo "Xvfb is needed for the windows (package xvfb)"; exit 2; }
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start"; exit 2; }
export DISPLAY=:$(head -1 "$work/display")

SECONDS=0
elapsed() { echo "${SECONDS} s"; }

mkdir -p "$LOCPATH"
localedef -i es_MX -f UTF-8 "$LOCPATH/es_MX.UTF-8" >/dev/null 2>&1 ||
  { echo "localedef could not build es_MX.UTF-8 (install the locales package)"; exit 2; }
export LANG=es_MX.UTF-8 LC_ALL=es_MX.UTF-8

wine wineboot -i >/dev/null 2>&1 || { echo "wineboot failed"; exit 2; }
echo "prefix ready ($(elapsed))"

windll=$(winepath -w "$dll")
if wine regsvr32 /s "$windll" >/dev/null 2>&1; then
  echo "regsvr32 VelmoraSys.dll: ok"
else
  fail "regsvr32 VelmoraSys.dll"
fi

# Files of the photo family: a picture in the photo folder at the root of drive C (the current
# drive of the scripts) and a file that only looks like one.
fotos=$WINEPREFIX/drive_c/Ponderix/Fotos
mkdir -p "$fotos"
# A 1x1 24-bit bitmap, stored with the extension the library looks for.
printf '\x42\x4d\x3a\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00\x00\x00\x01\x00\x00\x00\x01\x00\x00\x00\x01\x00\x18\x00\x00\x00\x00\x00\x04\x00\x00\x00\x13\x0b\x00\x00\x13\x0b\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xff\x00\x00\x00' \
  >"$fotos/JUAN.BMP"
echo "not a picture" >"$fotos/ROTO.jpg"
# A JPEG, loaded by its content as well.
convert -size 3x2 xc:blue "jpeg:$fotos/ANA.jpg" ||
  { echo "ImageMagick's convert is needed (package imagemagick)"; exit 2; }

run_program typelib "$bin/velmora_typelib_check.exe" "$windll"
if [ -n "${2:-}" ]; then
  if [ -f "$2" ]; then
    run_program "typelib (32-bit)" "$bin/velmora_typelib_check.exe" "$(winepath -w "$2")" win32
  else
    echo "no 32-bit DLL at $2: its type library is not checked"
  fi
fi
run_program platform "$bin/velmora_win32_tests.exe"
run_program client "$bin/velmora_com_client.exe"
# The windows: the program drives them itself and answers its message boxes unattended.
shots=
if [ -n "${SCREENSHOT_DIR:-}" ]; then
  mkdir -p "$work/shots" "$SCREENSHOT_DIR"
  shots=$(winepath -w "$work/shots")
fi
run_program windows "$bin/velmora_windows_test.exe" ${shots:+"$shots"}
if [ -n "$shots" ]; then
  for f in "$work/shots"/*.bmp; do
    convert "$f" "$SCREENSHOT_DIR/$(basename "$f" .bmp).png" && echo "screenshot $(basename "$f" .bmp).png"
  done
fi

for vbs in "$here"/*.vbs; do
  case "$(basename "$vbs")" in
    common.vbs | unregistered.vbs | nodisplay.vbs) continue ;;
  esac
  run_script "$vbs"
done
# The same DLL in a process that has no display.
display=$DISPLAY
unset DISPLAY
run_script "$here/nodisplay.vbs"
export DISPLAY=$display

if wine regsvr32 /s /u "$windll" >/dev/null 2>&1; then
  echo "regsvr32 /u VelmoraSys.dll: ok"
else
  fail "regsvr32 /u VelmoraSys.dll"
fi
run_script "$here/unregistered.vbs"

echo "done in $(elapsed)"
if [ $failed -ne 0 ]; then
  echo "$failed failure(s)"
  exit 1
fi
