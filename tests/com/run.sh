#!/usr/bin/env bash
# Runs the COM server's tests under Wine: registers VelmoraSys.dll in a fresh Wine prefix, checks
# its type library against the dispatch table, runs the tests of the Windows platform services,
# the C++ client and the library's windows (on an X server of the run's own, Xvfb), runs every
# VBScript file of this folder with Wine's cscript, then unregisters the DLL and checks that the
# classes are gone.
#
# Usage: run.sh BIN_DIR [DLL32]
#   BIN_DIR holds VelmoraSys.dll (64-bit), velmora_typelib_check.exe, velmora_com_client.exe,
#   velmora_win32_tests.exe and velmora_windows_test.exe,
#   as the mingw64 preset builds them (build-mingw64/bin). Nothing is built here.
#   With SCREENSHOT_DIR set, the windows test saves the three windows there as PNG files
#   (win32-pcinfo.png, win32-splash.png, win32-capture.png, win32-capture-source.png;
#   ImageMagick's convert).
#   DLL32, when given and present, is the 32-bit VelmoraSys.dll (build-mingw32/bin): its type
#   library is checked too (there is no 32-bit Wine here to run it).
#
# Each VBScript file is run after common.vbs (its helpers), in Windows-1252 with CRLF lines, under
# the es_MX locale, and must end with the line "SUMMARY <name>: N checks, 0 failures": Wine's
# cscript prints nothing and exits 0 on an uncaught or syntax error, so a missing summary is a
# failure. cscript writes its console in code page 850; the output is shown in UTF-8. A file
# NAME.stderr beside NAME.vbs holds the exact standard error the script must
# produce (the message boxes of unattended runs).
#
# Needs wine (the wrapper) with wine64, localedef (package locales) to give Wine the es_MX
# locale without installing it system-wide, and Xvfb (package xvfb) for the windows.
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:?usage: run.sh BIN_DIR}" && pwd)
dll=$bin/VelmoraSys.dll
for f in "$dll" "$bin/velmora_typelib_check.exe" "$bin/velmora_com_client.exe" \
  "$bin/velmora_win32_tests.exe" "$bin/velmora_windows_test.exe"; do
  [ -f "$f" ] || { echo "missing $f (build the mingw64 preset first)"; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/velmora-com.XXXXXX")
export WINEPREFIX=$work/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko installer dialogs in a fresh prefix. The display is an X server of the run's
# own (below), so no window reaches the user's desktop; unattended, the message boxes answer by
# themselves and the modal windows close themselves.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
export VELMORA_UNATTENDED=1
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
failed=0
fail() {
  echo "FAIL $*"
  failed=$((failed + 1))
}

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

run_program() {
  local name=$1
  shift
  local out status
  out=$(cd "$WINEPREFIX/drive_c" && wine "$@" 2>&1)
  status=$?
  out=$(echo "$out" | tr -d '\r')
  echo "$out" | grep -v '^SUMMARY' | sed 's/^/  /'
  local summary
  summary=$(echo "$out" | grep '^SUMMARY' | tail -1)
  if [ -z "$summary" ]; then
    fail "$name: no summary line"
  elif ! echo "$summary" | grep -q ' 0 failures$'; then
    fail "$name: $summary"
  elif [ $status -ne 0 ]; then
    fail "$name: exit status $status after its summary (a crash on the way out?)"
  else
    echo "$summary"
  fi
}

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

mkdir -p "$WINEPREFIX/drive_c/tests"
run_script() {
  local vbs=$1
  local name
  name=$(basename "$vbs" .vbs)
  local script=$WINEPREFIX/drive_c/tests/$name.vbs
  cat "$here/common.vbs" "$vbs" >"$script"
  local out err status
  out=$(cd "$WINEPREFIX/drive_c" && wine cscript //nologo "C:\\tests\\$name.vbs" \
          2>"$work/$name.err")
  status=$?
  out=$(echo "$out" | iconv -f CP850 -t UTF-8 | tr -d '\r')
  err=$(tr -d '\r' <"$work/$name.err" | grep -v '^wine: ' || true)
  echo "$out" | grep -v "^SUMMARY\|^TRACE" | sed '/^$/d; s/^/  /'
  local summary last
  summary=$(echo "$out" | grep "^SUMMARY $name:" | tail -1)
  last=$(echo "$out" | grep "^TRACE" | tail -1 | sed 's/^TRACE //')
  if [ -z "$summary" ]; then
    fail "$name.vbs: no summary line: an uncaught error or a syntax error stopped it" \
      "${last:+after the check \"$last\"}"
  elif ! echo "$summary" | grep -q ' 0 failures$'; then
    fail "$name.vbs: $summary"
  elif [ $status -ne 0 ]; then
    fail "$name.vbs: exit status $status after its summary"
  else
    echo "$summary"
  fi
  if [ -f "$here/$name.stderr" ]; then
    if [ "$err" != "$(cat "$here/$name.stderr")" ]; then
      fail "$name.vbs: standard error differs from $name.stderr:"
      diff <(echo "$err") "$here/$name.stderr" | sed 's/^/  /'
    fi
  elif [ -n "$err" ]; then
    fail "$name.vbs: unexpected standard error:"
    echo "$err" | sed 's/^/  /'
  fi
}

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
