#!/usr/bin/env bash
# A screenful of the file list's JPEG items (six 4000 x 3000 pictures) drawn
# by the item painter with nothing kept, against libjpeg-turbo decoding only
# the rows shown, and against decoding the pictures whole, in the same run
# (win_file_items_bench). The pictures are made once into $VELKOR_OUT/bench-data.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bin="$win/bench/win_file_items_bench.exe"
if [ ! -f "$bin" ]; then
  echo "file_items.sh: $bin is not built; run ./build.sh first" >&2
  exit 1
fi
data="$out/bench-data/file-items"
mkdir -p "$data"
bench_wine
log="$out/bench-native/file_items.out"
mkdir -p "$(dirname "$log")"
run "$bin" "$(winepath -w "$data")"
line=$(tr -d '\r' < "$log" | grep 'painter')
ms_of() { sed -n "s/.*$1 \([0-9.]*\) ms.*/\1/p" <<< "$line"; }
awk -v p="$(ms_of painter)" -v r="$(ms_of 'rows shown')" -v w="$(ms_of whole)" 'BEGIN {
  printf "file list JPEG items, a screenful of 6 at 4000x3000 (Wine): painter %.1f ms  anchor (rows shown) %.1f ms  ratio %.2f  (target 1.3); whole decode %.1f ms, %.1fx the painter (target 10)\n", p, r, p / r, w, w / p
}'
