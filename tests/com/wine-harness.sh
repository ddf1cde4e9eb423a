# shellcheck shell=bash
# Helpers of the Wine runs of the COM suite (run.sh, deploy.sh), sourced by them.
#
# The caller sets here (this folder) and work (its scratch folder) and calls wine_setup with the
# DLL it tests; the helpers count failures in $failed.

failed=0
fail() {
  echo "FAIL $*"
  failed=$((failed + 1))
}

# "win64" or "win32": the machine field of a PE file's header.
pe_arch() {
  local offset machine
  offset=$(od -An -t u4 -j 60 -N 4 "$1" | tr -d ' ')
  machine=$(od -An -t x2 -j $((offset + 4)) -N 2 "$1" | tr -d ' ')
  case "$machine" in
    8664) echo win64 ;;
    014c) echo win32 ;;
    *) echo "unknown machine $machine in $1" >&2; return 1 ;;
  esac
}

# Chooses the Wine prefix kind for the DLL and the environment of every run: no Mono or Gecko
# installer dialogs, no display unless the caller starts one, unattended message boxes. A 32-bit
# DLL needs 32-bit Wine (package wine32:i386); without it the run ends with status 77, which
# ctest reports as skipped.
wine_setup() {
  WINEARCH=$(pe_arch "$1") || exit 2
  export WINEARCH WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" VELMORA_UNATTENDED=1
  unset DISPLAY WAYLAND_DISPLAY
  if [ "$WINEARCH" = win32 ] && ! wine32_available; then
    echo "SKIP: no 32-bit Wine here (wine32:i386 could not be installed), $1 is not run"
    exit 77
  fi
}

# Debian's wine32 package brings the 32-bit loader.
wine32_available() { [ -x /usr/lib/wine/wine ]; }

# A fresh prefix $work/NAME becomes the current one; the server of the one before is stopped.
new_prefix() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  export WINEPREFIX=$work/$1
  wine wineboot -i >/dev/null 2>&1 || { fail "wineboot of the prefix $1"; return 1; }
}

# Runs a Windows program (from C:\) that ends its output with a line "SUMMARY name: ... N
# failures"; its other lines are shown indented.
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

# Runs a VBScript file after common.vbs with Wine's cscript. The script must end with its line
# "SUMMARY <name>: N checks, 0 failures": Wine's cscript prints nothing and exits 0 on an uncaught
# or syntax error, so a missing summary is a failure. cscript writes its console in code page
# 850; the output is shown in UTF-8. A file NAME.stderr beside NAME.vbs holds the exact standard
# error the script must produce (the message boxes of unattended runs).
run_script() {
  local vbs=$1
  local name
  name=$(basename "$vbs" .vbs)
  mkdir -p "$WINEPREFIX/drive_c/tests"
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
  local expected_err
  expected_err=$(dirname "$vbs")/$name.stderr
  if [ -f "$expected_err" ]; then
    if [ "$err" != "$(cat "$expected_err")" ]; then
      fail "$name.vbs: standard error differs from $name.stderr:"
      diff <(echo "$err") "$expected_err" | sed 's/^/  /'
    fi
  elif [ -n "$err" ]; then
    fail "$name.vbs: unexpected standard error:"
    echo "$err" | sed 's/^/  /'
  fi
}
