#!/usr/bin/env bash
# The bulk search over a tree of 20,000 files in 1,000 directories (16 of
# every 20 files match the mask *.TXT) against the least it must do: the
# anchor lists each directory's matching files and then its subdirectories
# with FindFirstFileW and adds every path to a plain list box; the other side
# is the friends window's own bulk search, from its search command to its
# list shown again (win_bulk_search_bench, both under one clock, taking turns).
# The tree is made once into $VELKOR_OUT/bench-data and reached through
# C:\velkor-bulk, a link in the prefix's drive C:.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
data="$out/bench-data"
exe="$win/bench/win_bulk_search_bench.exe"
if [ ! -f "$exe" ]; then
  echo "bulk_search.sh: $exe is not built; run ./build.sh first" >&2
  exit 1
fi

# Version of the layout below: change it when the layout changes.
layout=1
if [ "$(cat "$data/bulk-search.done" 2>/dev/null)" != "$layout" ]; then
  rm -rf "$data/bulk-search" "$data/bulk-search.done"
  # 50 directories of 19 subdirectories each: 1,000 directories, 20 files in
  # every one, and a dot directory that the walk must not enter.
  for i in $(seq -w 0 49); do
    for j in $(seq -w 0 18); do mkdir -p "$data/bulk-search/tree/dir$i/sub$j"; done
  done
  mkdir -p "$data/bulk-search/tree/.cache"
  while IFS= read -r d; do
    for k in $(seq -w 0 15); do printf 'memo %s\n' "$k" > "$d/memo$k.txt"; done
    for k in 0 1 2 3; do : > "$d/data$k.log"; done
  done < <(find "$data/bulk-search/tree" -mindepth 1 -type d ! -name .cache)
  for k in 0 1 2; do : > "$data/bulk-search/tree/.cache/skip$k.txt"; done
  echo "$layout" > "$data/bulk-search.done"
fi

bench_wine
bench_link velkor-bulk "$data/bulk-search"
tree='C:\velkor-bulk\tree'

log="$out/bench-native/bulk_search.out"
mkdir -p "$(dirname "$log")"
anchor="" walk="" files=""
for round in 1 2 3; do
  # Through a file: a Wine program's output read with $(...) can keep the shell waiting.
  run "$exe" anchor "$tree" '*.TXT'
  anchor=$(best "$anchor" "$(field '.*: \([0-9.]*\) s for .*')")
  run "$exe" window "$tree" '*.TXT'
  walk=$(best "$walk" "$(field '.*: \([0-9.]*\) s for .*')")
  files=$(field '.* for \([0-9]*\) files.*')
done
awk -v w="$walk" -v a="$anchor" -v n="$files" 'BEGIN {
  printf "friends window bulk search, 20,000 files in 1,000 directories (Wine): %.3f s  anchor (find + plain list box) %.3f s  ratio %.2f  (target 1.3; %d files listed by the friends window)\n", w, a, w / a, n
}'
