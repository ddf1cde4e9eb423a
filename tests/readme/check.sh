#!/usr/bin/env bash
# Every operation the command line lists must appear, in backquotes, in the README's table of
# operations: the table is written by hand, the list comes from the dispatch table.
set -euo pipefail
cli=$1
readme=$2
table=$(sed -n '/^## Operations by family/,/^## /p' "$readme")
missing=0
for name in $("$cli" --list | sed -n 's/^  [A-Za-z]* \(Get \|Let \|Set \)\{0,1\}\([A-Za-z_0-9]*\)(.*/\2/p' | sort -u); do
  if ! grep -q "\`$name\`" <<<"$table"; then
    echo "missing from the README's operations: $name"
    missing=$((missing + 1))
  fi
done
count=$("$cli" --list | grep -c '^  ')
echo "$count entries listed, $missing names missing"
[ "$count" -gt 0 ] && [ "$missing" -eq 0 ]
