#!/usr/bin/env bash
# JPEG cut-outs for a screenful of the file list, natively against Debian's
# libjpeg-turbo (the drawing under Wine comes with the window). The native
# build runs under the sanitizers, so the benchmark is built here on its own
# with -O2 from the few sources it needs.
set -euo pipefail
root=${VELKOR_ROOT:-$(cd "$(dirname "$0")/.." && pwd)}
out=${VELKOR_OUT:-$root/build}
dir="$out/bench-native"
mkdir -p "$dir"
g++ -std=c++20 -O2 -DNDEBUG -I"$root/src" -I"$root/tests" \
  "$root/bench/native_jpeg_cutout_bench.cpp" "$root/src/launcher/jpeg_cutout.cpp" -ljpeg \
  -o "$dir/native_jpeg_cutout_bench"
"$dir/native_jpeg_cutout_bench"
