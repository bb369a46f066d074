#!/usr/bin/env bash
# The copies of unsaved text on a 1 MB Shift-JIS document: writing the copy
# whole (the text taken from the editor, encoded and written through a
# temporary file) against the 200 ms it may take, and the time from a
# keystroke to its paint while the document's copy is written beside it
# against the same without a copy, in one run, taking turns.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
exe="$win/bench/win_journal_bench.exe"
maker="$win/bench/win_editor_bench.exe"
for f in "$exe" "$maker"; do
  if [ ! -f "$f" ]; then
    echo "recovery_copy.sh: $f is not built; run ./build.sh first" >&2
    exit 1
  fi
done
bench_wine
data="$out/bench-data/journal"
mkdir -p "$data" "$out/bench-native"
log="$out/bench-native/recovery_copy.out"
windata=$(winepath -w "$data" 2>/dev/null)
doc="$windata\\big1.txt"
[ -f "$data/big1.txt" ] || run "$maker" make 1 "$doc"

run "$exe" "$doc"
copy=$(field '^copy: \([0-9.]*\)')
bare=$(field '^typing: \([0-9.]*\)')
busy=$(field '^typing while copied: \([0-9.]*\)')
if [ -z "$copy" ] || [ -z "$bare" ] || [ -z "$busy" ]; then cat "$log" >&2; exit 1; fi
awk -v c="$copy" -v b="$bare" -v w="$busy" -v arch="$VELKOR_ARCH" 'BEGIN {
  printf "write the recovery copy of a 1 MB document (%s-bit): %.0f ms  anchor 200 ms  ratio %.2f (target 1.00)\n", arch, c, c / 200
  printf "keystroke to paint in 1 MB while its copy is written (%s-bit): %.2f ms  anchor (no copy written, same run) %.2f ms  ratio %.2f (target 1.10)\n", arch, w, b, w / b
}'
