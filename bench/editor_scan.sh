#!/usr/bin/env bash
# The editor's byte scan on a 1 MB text. The native build runs under the
# sanitizers, which slow it several times over, so the benchmark is built here
# on its own with -O2 from the few sources it needs.
set -euo pipefail
root=${VELKOR_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
out=${VELKOR_OUT:-$root/build}
dir="$out/bench-native"
mkdir -p "$dir"
g++ -std=c++20 -O2 -DNDEBUG -I"$root/src" \
  "$root/bench/native_scan_text_bench.cpp" \
  "$root/src/controls/text_search.cpp" "$root/src/platform/text.cpp" "$root/src/platform/cp932_iconv.cpp" \
  -o "$dir/native_scan_text_bench"
"$dir/native_scan_text_bench"
