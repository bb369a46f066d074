#!/usr/bin/env bash
# Prints which folder under src/ includes which (with the number of
# includes), and fails when two folders include each other, directly or
# through others.
set -euo pipefail
src=${1:-$(cd "$(dirname "$0")/../src" && pwd)}
cd "$src"
edges=$(grep -rEo --include='*.cpp' --include='*.h' --include='*.rc' '^#include "[a-z_]+/' . |
  sed -E 's|^\./([^:]*):#include "([a-z_]+)/$|\1 \2|' |
  awk '{ n = split($1, p, "/"); from = (n > 1) ? p[1] : "."; if (from != $2) print from, $2 }' |
  sort | uniq -c | awk '{ print $2, $3, $1 }')
printf '%s\n' "$edges" | awk '{ printf "%-12s -> %-12s %d\n", $1, $2, $3 }'
# A cycle exists when some folder reaches itself; follow the arrows.
cycle=$(printf '%s\n' "$edges" | awk '
  { next_[$1] = next_[$1] " " $2; nodes[$1]; nodes[$2] }
  function reach(from, at,    n, list, i) {
    n = split(next_[at], list, " ")
    for (i = 1; i <= n; i++) {
      if (list[i] == from) return 1
      if (!(list[i] in seen)) { seen[list[i]]; if (reach(from, list[i])) return 1 }
    }
    return 0
  }
  END { for (f in nodes) { delete seen; if (reach(f, f)) print f } }')
if [ -n "$cycle" ]; then
  echo "folders that include themselves through others:" $cycle >&2
  exit 1
fi
