#!/usr/bin/env bash
# Runs each case file of this folder through the command line and compares the output.
# A case file holds: the arguments on the first line, "--- stdout", the expected output,
# "--- exit", the expected status.
set -u
cli=$1
dir=$2
fail=0
pass=0
for case in "$dir"/*.case; do
  args=$(sed -n '1p' "$case")
  expected=$(sed -n '/^--- stdout$/,/^--- exit$/p' "$case" | sed '1d;$d')
  want_status=$(sed -n '/^--- exit$/{n;p}' "$case")
  actual=$(cd "$dir" && export cli && eval "\"$cli\" $args" 2>&1)
  status=$?
  if [ "$actual" != "$expected" ] || [ "$status" != "$want_status" ]; then
    echo "FAIL $(basename "$case"): status $status (want $want_status)"
    diff <(echo "$expected") <(echo "$actual") | head -20
    fail=$((fail + 1))
  else
    pass=$((pass + 1))
  fi
done
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
