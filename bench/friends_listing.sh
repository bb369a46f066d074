#!/usr/bin/env bash
# The friends window listing a directory of 5,000 files against a bare
# program that enumerates it and adds each path to a sorted list box
# (win_sorted_list_bench), each measured in the same run. The files are made
# once into $VELKOR_OUT/bench-data and reached through C:\velkor-friends, a
# link in the prefix's drive C:.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
data="$out/bench-data"
bin="$win/bench"
for f in win_friends_list_bench win_sorted_list_bench; do
  if [ ! -f "$bin/$f.exe" ]; then
    echo "friends_listing.sh: $bin/$f.exe is not built; run ./build.sh first" >&2
    exit 1
  fi
done

# Version of the layout below: change it when the layout changes.
layout=1
if [ "$(cat "$data/friends-listing.done" 2>/dev/null)" != "$layout" ]; then
  rm -rf "$data/friends-listing" "$data/friends-listing.done"
  mkdir -p "$data/friends-listing/files" "$data/friends-listing/empty"
  exts=(txt ini htm dat log csv doc md)
  ( cd "$data/friends-listing/files"
    for i in $(seq -w 0 4999); do printf 'memo %s\n' "$i" > "memo$i.${exts[$((10#$i % 8))]}"; done )
  echo "$layout" > "$data/friends-listing.done"
fi

bench_wine
bench_link velkor-friends "$data/friends-listing"
base='C:\velkor-friends'

log="$out/bench-native/friends_listing.out"
mkdir -p "$(dirname "$log")"
# Each program and its anchor take turns three times and the best of each counts.
anchor="" list="" items=""
for round in 1 2 3; do
  # Through a file: a Wine program's output read with $(...) can keep the shell waiting.
  run "$bin/win_sorted_list_bench.exe" "$base\\files"
  anchor=$(best "$anchor" "$(field '.* in \([0-9.]*\) s$')")
  run "$bin/win_friends_list_bench.exe" "$base\\files" "$base\\empty"
  list=$(best "$list" "$(field '.*: \([0-9.]*\) s for .*')")
  items=$(field '.* for \([0-9]*\) items.*')
done
awk -v l="$list" -v a="$anchor" -v n="$items" 'BEGIN {
  printf "friends window listing, 5,000 files (Wine): %.3f s  anchor (enumerate + sorted list box) %.3f s  ratio %.2f  (target 1.2; %d items)\n", l, a, l / a, n
}'
