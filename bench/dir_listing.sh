#!/usr/bin/env bash
# The directory tree and the setup dialog's listing against the least they
# must do, each anchor measured in the same run:
#  - the tree selecting a directory of 2,000 subdirectories, each with one
#    of its own (two levels read), against reading those two levels with
#    FindFirstFileW / FindNextFileW (win_enum_dirs_bench);
#  - the setup dialog listing a directory of 2,000 files, against enumerating
#    it and asking the shell for each entry's icon (win_shell_icons_bench).
# The trees are made once into $VELKOR_OUT/bench-data and reached through
# C:\velkor-bench, a link in the prefix's drive C: the tree rebuilds for the
# drive it selects on, and the root of Z: is the whole machine.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
data="$out/bench-data"
bin="$win/bench"
for f in win_dir_tree_bench win_enum_dirs_bench win_setup_list_bench win_shell_icons_bench; do
  if [ ! -f "$bin/$f.exe" ]; then
    echo "dir_listing.sh: $bin/$f.exe is not built; run ./build.sh first" >&2
    exit 1
  fi
done

# Version of the layout below: change it when the layout changes.
layout=1
if [ "$(cat "$data/dir-listing.done" 2>/dev/null)" != "$layout" ]; then
  rm -rf "$data/dir-listing" "$data/dir-listing.done"
  mkdir -p "$data/dir-listing/subdirs" "$data/dir-listing/empty" "$data/dir-listing/files"
  for i in $(seq -w 0 1999); do mkdir -p "$data/dir-listing/subdirs/dir$i/sub"; done
  exts=(txt ini htm dat bmp jpg log csv)
  for i in $(seq -w 0 1999); do
    printf 'memo %s\n' "$i" > "$data/dir-listing/files/file$i.${exts[$((10#$i % 8))]}"
  done
  echo "$layout" > "$data/dir-listing.done"
fi

bench_wine
bench_link velkor-bench "$data/dir-listing"
base='C:\velkor-bench'

log="$out/bench-native/dir_listing.out"
mkdir -p "$(dirname "$log")"
# Each program and its anchor take turns three times and the best of each
# counts, so that a busier stretch of the machine does not fall on one side.
anchor="" tree="" way="" nodes=""
for round in 1 2 3; do
  # Through a file: a Wine program's output read with $(...) can keep the shell waiting.
  run "$bin/win_enum_dirs_bench.exe" "$base\\subdirs"
  anchor=$(best "$anchor" "$(field '.* in \([0-9.]*\) s$')")
  run "$bin/win_dir_tree_bench.exe" "$base\\subdirs" "$base\\empty"
  tree=$(best "$tree" "$(field '.*: \([0-9.]*\) s for .*')")
  way=$(best "$way" "$(field '.*alone \([0-9.]*\) s.*')")
  nodes=$(field '.* for \([0-9]*\) nodes.*')
done
awk -v t="$tree" -v a="$anchor" -v w="$way" -v n="$nodes" 'BEGIN {
  printf "directory tree, 2,000 subdirectories (Wine): %.3f s  anchor (two levels read) %.3f s  ratio %.2f  (target 1.5; %d nodes; the way down alone %.3f s)\n", t, a, t / a, n, w
}'
anchor="" list="" lines=""
for round in 1 2 3; do
  run "$bin/win_shell_icons_bench.exe" "$base\\files"
  anchor=$(best "$anchor" "$(field '.* in \([0-9.]*\) s$')")
  run "$bin/win_setup_list_bench.exe" "$base\\files" "$base\\empty"
  list=$(best "$list" "$(field '.*: \([0-9.]*\) s for .*')")
  lines=$(field '.* for \([0-9]*\) lines.*')
done
awk -v l="$list" -v a="$anchor" -v n="$lines" 'BEGIN {
  printf "setup dialog listing, 2,000 files (Wine): %.3f s  anchor (enumerate + shell icon) %.3f s  ratio %.2f  (target 2; %d lines)\n", l, a, l / a, n
}'
