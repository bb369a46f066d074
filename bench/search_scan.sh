#!/usr/bin/env bash
# The word search over a tree of about 200 MB of Shift-JIS files in 4,000
# files (tools/gen_search_tree.cpp), and over a UTF-8 copy of the same texts,
# made once into $VELKOR_OUT/bench-data and reused while the generator is
# unchanged.
#  - The line scan natively, letters alike, against the 2 GB/s it is meant to
#    reach. The native build runs under the sanitizers, so the programs are
#    built here on their own with -O2 from the few sources they need.
#  - Under Wine, the anchor of the whole search: the same tree walked and every
#    searched file read through 16 KB ReadFile calls; then the same with the
#    line scan on what is read.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bin="$out/bench-native"
data="$out/bench-data"
tree="$data/search-tree"
mkdir -p "$bin" "$data"

cxx=(g++ -std=c++20 -O2 -DNDEBUG -I"$root/src")
text=("$root/src/platform/text.cpp" "$root/src/platform/cp932_iconv.cpp")
"${cxx[@]}" "$root/tools/gen_search_tree.cpp" "${text[@]}" -o "$bin/gen_search_tree"
"${cxx[@]}" "$root/bench/native_search_scan_bench.cpp" "$root/src/wordsearch/engine.cpp" \
  "$root/src/wordsearch/search_paths.cpp" "${text[@]}" -o "$bin/native_search_scan_bench"

stamp=$(sha1sum "$root/tools/gen_search_tree.cpp" | cut -d' ' -f1)
if [ "$(cat "$data/search-tree.done" 2>/dev/null)" != "$stamp" ]; then
  rm -rf "$tree" "$tree-utf8" "$data/search-tree.done"
  "$bin/gen_search_tree" "$tree" >&2
  "$bin/gen_search_tree" "$tree-utf8" 1 --utf8 >&2
  echo "$stamp" > "$data/search-tree.done"
fi

"$bin/native_search_scan_bench" "$tree"

exe="$win/bench/win_read_tree_bench.exe"
if [ ! -f "$exe" ]; then
  echo "search_scan.sh: $exe is not built; run ./build.sh first" >&2
  exit 1
fi
bench_wine
wintree=$(winepath -w "$tree" 2>/dev/null)
log="$bin/win_read_tree_bench.out"
for mode in "" --scan; do
  # Through a file: a Wine program's output read with $(...) can keep the shell waiting.
  wine "$exe" "$wintree" $mode > "$log" 2>&1 || { cat "$log" >&2; exit 1; }
  tr -d '\r' < "$log"
done
