#!/usr/bin/env bash
# A program that drives `velmora --script -` through pipes, writing one line and waiting for its
# answer before it writes the next, gets every answer in time: the command line buffers its
# results for speed, but writes them out as soon as it finds no more input waiting.
set -u
trap "" PIPE  # a command line that ended early fails the check, not the script
cli=$1
fail=0

# converse NAME OPTIONS...: three calls, one at a time, each answer awaited for 10 seconds.
converse() {
  local name=$1
  shift
  coproc VELMORA { exec "$cli" "$@" --script - 2>&1; }
  local pid=$VELMORA_PID in=${VELMORA[1]} out=${VELMORA[0]}
  local n answer
  for n in 1 2 3; do
    echo "NumRomano $((n * 4))" >&"$in"
    if ! IFS= read -r -t 10 answer <&"$out"; then
      echo "FAIL $name: no answer to line $n"
      fail=1
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      return
    fi
    local want=("" IV VIII XII)
    [ $# -gt 0 ] && [ "$1" = "--json" ] && want=("" '{"result": "IV"}' '{"result": "VIII"}' '{"result": "XII"}')
    if [ "$answer" != "${want[n]}" ]; then
      echo "FAIL $name: line $n answered '$answer', not '${want[n]}'"
      fail=1
    fi
  done
  exec {in}>&-
  wait "$pid"
  local status=$?
  if [ "$status" != 0 ]; then
    echo "FAIL $name: exit status $status"
    fail=1
  fi
}

converse plain
converse json --json
converse line-buffered --line-buffered
[ "$fail" = 0 ] && echo "every answer came before the next line was sent"
exit "$fail"
