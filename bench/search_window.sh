#!/usr/bin/env bash
# The whole word search in its window against the least it must do: the
# anchor walks the same tree and reads every searched file through 16 KB
# ReadFile calls (win_read_tree_bench), measured in the same run. Needs the
# tree that search_scan.sh generates ($VELKOR_OUT/bench-data/search-tree).
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
tree="$out/bench-data/search-tree"
anchor_exe="$win/bench/win_read_tree_bench.exe"
search_exe="$win/bench/win_search_bench.exe"
for f in "$anchor_exe" "$search_exe"; do
  if [ ! -f "$f" ]; then
    echo "search_window.sh: $f is not built; run ./build.sh first" >&2
    exit 1
  fi
done
if [ ! -f "$out/bench-data/search-tree.done" ]; then
  echo "search_window.sh: no benchmark tree; run bench/search_scan.sh first" >&2
  exit 1
fi
bench_wine
wintree=$(winepath -w "$tree" 2>/dev/null)
log="$out/bench-native/win_search_bench.out"
mkdir -p "$(dirname "$log")"
# Anchor and search take turns, three times each, and the best time of each
# counts, so that a busier stretch of the machine does not fall on one side.
# The anchor's line scan mode shows how much of the difference is the scan.
anchor="" scanned="" search="" hits=""
for round in 1 2 3; do
  run "$anchor_exe" "$wintree"
  a=$(field '.* in \([0-9.]*\) s .*')
  run "$search_exe" "$wintree"
  s=$(field '^word search (Wine): \([0-9.]*\) s.*')
  hits=$(field '.*(\([0-9]*\) hit lines).*')
  run "$anchor_exe" "$wintree" --scan
  c=$(field '.* in \([0-9.]*\) s .*')
  if [ -z "$a" ] || [ -z "$s" ] || [ -z "$c" ]; then cat "$log" >&2; exit 1; fi
  anchor=$(best "$anchor" "$a")
  search=$(best "$search" "$s")
  scanned=$(best "$scanned" "$c")
done
awk -v s="$search" -v a="$anchor" -v c="$scanned" -v h="$hits" 'BEGIN {
  printf "word search (Wine): %.3f s  anchor (enumerate+read) %.3f s  ratio %.2f  (target 1.15; %d hit lines; enumerate+read+line scan %.3f s, ratio %.2f)\n", s, a, s / a, h, c, s / c
}'
