#!/usr/bin/env bash
# Runs every case of the table (cases.txt) through the command line and compares what it prints
# and how it exits. A case is one line:
#
#   command | exit status | standard output | standard error
#
# The command is a bash command line in which `velmora` is the command line under test; it runs
# in this folder (the .vsc scripts are here) with LANG=C and no other locale variable, no display
# and boxes answered unattended. The outputs are written as printf %b reads them (\n a line end,
# \r, \xEF...), "-" for nothing and "*" for anything; trailing line ends are not compared. Lines
# that start with "#" and blank lines are comments.
set -u
cli=$(realpath "$1")
dir=$2
cd "$dir" || exit 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$(realpath "$cli")" "$work/velmora"
export PATH="$work:$PATH"
unset LC_ALL LC_TIME DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export LANG=C VELMORA_UNATTENDED=1
err_file=$work/stderr

expect() {  # expect NAME WANT ACTUAL
  [ "$2" = "*" ] && return 0
  local want=""
  [ "$2" != "-" ] && want=$(printf '%b' "$2")
  [ "$want" = "$3" ] && return 0
  report+="  $1 differs:"$'\n'
  report+=$(diff <(echo "$want") <(echo "$3") | sed 's/^/    /' | head -20)$'\n'
  return 1
}

pass=0
fail=0
n=0
while IFS= read -r line || [ -n "$line" ]; do
  n=$((n + 1))
  [[ -z "${line// /}" || "$line" == \#* ]] && continue
  rest=$line
  want_err=${rest##* | }; rest=${rest% | *}
  want_out=${rest##* | }; rest=${rest% | *}
  want_status=${rest##* | }; command=${rest% | *}
  out=$(eval "$command" </dev/null 2>"$err_file")
  status=$?
  err=$(cat "$err_file")
  ok=1
  report=""
  expect "standard output" "$want_out" "$out" || ok=0
  expect "standard error" "$want_err" "$err" || ok=0
  if [ "$status" != "$want_status" ]; then
    report+="  exit status $status, not $want_status"$'\n'
    ok=0
  fi
  if [ $ok = 1 ]; then
    pass=$((pass + 1))
  else
    echo "FAIL cases.txt:$n: $command"
    printf '%s' "$report"
    fail=$((fail + 1))
  fi
done <cases.txt
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ] && [ "$pass" -gt 0 ]
