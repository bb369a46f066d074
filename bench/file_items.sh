#!/usr/bin/env bash
# A screenful of the file list's JPEG items (six 4000 x 3000 pictures) drawn
# by the item painter with nothing kept, against libjpeg-turbo decoding only
# the rows shown, and against decoding the pictures whole, in the same run
# (win_file_items_bench). The pictures are made once into $VELKOR_OUT/bench-data.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bin="$out/win/bench/win_file_items_bench.exe"
if [ ! -f "$bin" ]; then
  echo "file_items.sh: $bin is not built; run ./build.sh first" >&2
  exit 1
fi
data="$out/bench-data/file-items"
mkdir -p "$data"
bench_wine
log="$out/bench-native/file_items.out"
mkdir -p "$(dirname "$log")"
# Through a file: a Wine program's output read with $(...) can keep the shell waiting.
wine "$bin" "$(winepath -w "$data")" > "$log" 2>&1 || { cat "$log" >&2; exit 1; }
line=$(tr -d '\r' < "$log" | grep 'painter')
field() { sed -n "s/.*$1 \([0-9.]*\) ms.*/\1/p" <<< "$line"; }
awk -v p="$(field painter)" -v r="$(field 'rows shown')" -v w="$(field whole)" 'BEGIN {
  printf "file list JPEG items, a screenful of 6 at 4000x3000 (Wine): painter %.1f ms  anchor (rows shown) %.1f ms  ratio %.2f  (target 1.3); whole decode %.1f ms, %.1fx the painter (target 10)\n", p, r, p / r, w, w / p
}'
