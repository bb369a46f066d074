#!/usr/bin/env bash
# The editor window on large Shift-JIS documents, as the user waits for them:
# opening 1 MB and 10 MB from the open command until the text is shown and the
# program idles, against the bound, one rich edit in a plain window of a small
# program filled with the same text (win_richedit_anchor_bench); each in a
# process of its own, taking turns, the best of the rounds counting. Then a
# second opening after the first was closed, saving, and Find Next.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
editor_exe="$win/bench/win_editor_bench.exe"
anchor_exe="$win/bench/win_richedit_anchor_bench.exe"
for f in "$editor_exe" "$anchor_exe"; do
  if [ ! -f "$f" ]; then
    echo "editor_window.sh: $f is not built; run ./build.sh first" >&2
    exit 1
  fi
done
bench_wine
data="$out/bench-data/editor"
mkdir -p "$data" "$out/bench-native"
log="$out/bench-native/editor_window.out"
windata=$(winepath -w "$data" 2>/dev/null)

for mb in 1 10; do
  doc="$windata\\big$mb.txt"
  [ -f "$data/big$mb.txt" ] || run "$editor_exe" make "$mb" "$doc"
  # The 32-bit rich edit under Wine takes about half a minute per megabyte:
  # one round of the large document is enough there.
  rounds=3
  [ "$mb" -lt 10 ] || rounds=1
  editor="" anchor="" again=""
  for round in $(seq 1 $rounds); do
    run "$anchor_exe" "$doc"
    a=$(field '^bare: \([0-9.]*\)')
    run "$editor_exe" open "$doc"
    e=$(field '^editor: \([0-9.]*\)')
    g=$(field '^editor again: \([0-9.]*\)')
    if [ -z "$a" ] || [ -z "$e" ] || [ -z "$g" ]; then cat "$log" >&2; exit 1; fi
    anchor=$(best "$anchor" "$a") editor=$(best "$editor" "$e") again=$(best "$again" "$g")
  done
  [ "$mb" -ne 1 ] || opened1=$editor
  awk -v e="$editor" -v a="$anchor" -v g="$again" -v mb="$mb" -v arch="$VELKOR_ARCH" 'BEGIN {
    printf "open a %d MB document in the editor (%s-bit): %.0f ms  anchor (bare rich edit, plain window) %.0f ms  ratio %.2f (target 1.20)\n", mb, arch, e, a, e / a
    printf "open it again after closing it (%s-bit): %.0f ms  anchor (bare rich edit, plain window) %.0f ms  ratio %.2f (target 1.20)\n", arch, g, a, g / a
  }'
done

run "$editor_exe" edit "$windata\\big1.txt"
save=$(field '^save: \([0-9.]*\)')
find=$(field '^find: \([0-9.]*\)')
awk -v s="$save" -v o="$opened1" -v f="$find" 'BEGIN {
  printf "save a 1 MB document: %.0f ms  anchor (its opening) %.0f ms  ratio %.2f (target 0.20)\n", s, o, s / o
  printf "Find Next near the end of 1 MB: %.1f ms  anchor 50 ms  ratio %.2f (target 1.00)\n", f, f / 50
}'
