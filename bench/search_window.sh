#!/usr/bin/env bash
# The whole word search in its window against the least it must do: the
# anchor walks the same tree and reads every searched file through 16 KB
# ReadFile calls (win_read_tree_bench), measured in the same run; over the
# Shift-JIS tree and over its UTF-8 copy, which the search decodes as it
# reads. Needs the trees that search_scan.sh generates
# ($VELKOR_OUT/bench-data/search-tree and search-tree-utf8).
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
log="$out/bench-native/win_search_bench.out"
mkdir -p "$(dirname "$log")"
# Anchor and search take turns, three times each, and the best time of each
# counts, so that a busier stretch of the machine does not fall on one side.
# The anchor's line scan mode shows how much of the difference is the scan.
measure() {  # tree, its name in the line, target
  local wintree anchor="" scanned="" search="" hits="" a s c
  wintree=$(winepath -w "$1" 2>/dev/null)
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
  awk -v n="$2" -v t="$3" -v s="$search" -v a="$anchor" -v c="$scanned" -v h="$hits" 'BEGIN {
    printf "word search (Wine)%s: %.3f s  anchor (enumerate+read) %.3f s  ratio %.2f  (target %s; %d hit lines; enumerate+read+line scan %.3f s, ratio %.2f)\n", n, s, a, s / a, t, h, c, s / c
  }'
}
measure "$tree" "" 1.15
measure "$tree-utf8" ", UTF-8 copy" 1.5
