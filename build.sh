#!/usr/bin/env bash
# Installs what is missing, then builds Velkor.exe for 32-bit Windows
# (build/win) and for 64-bit Windows (build/win64), each with its Wine tests,
# and the native logic tests (build/native) and fuzz targets (build/fuzz).
# The last line of output is the path of the Velkor.exe this machine runs:
# the 32-bit one where it runs 32-bit code, else the 64-bit one (VELKOR_ARCH=32
# or 64 chooses).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
[ -n "${VELKOR_SETUP_DONE:-}" ] || "$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

# VELKOR_BUILD names another build folder (several checkouts of work at once).
out=${VELKOR_BUILD:-$root/build}
case "$out" in /*) ;; *) out="$root/$out" ;; esac
jobs=$(nproc 2>/dev/null || echo 2)
gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)

configure() {  # dir, extra args...
  local dir=$1; shift
  if [ -f "$dir/CMakeCache.txt" ] && [ ! -f "$dir/build.ninja" ] && [ ! -f "$dir/Makefile" ]; then
    rm -rf "$dir"  # a configure that failed half-way
  fi
  if [ -f "$dir/CMakeCache.txt" ]; then
    cmake "$dir" "$@" >/dev/null  # keeps the folder's options in step with this script
  else
    cmake -S "$root" -B "$dir" "${gen[@]}" "$@" >/dev/null
  fi
}

# One Windows build: its folder under $out and the processor of its toolchain.
build_windows() {
  local dir=$1 processor=$2 jpeg
  jpeg=$("$root/scripts/libjpeg.sh" "$out" "$processor")
  configure "$out/$dir" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$processor.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVELKOR_JPEG_ROOT="$jpeg"
  cmake --build "$out/$dir" -j "$jobs" >&2
}

configure "$out/native"
cmake --build "$out/native" -j "$jobs" >&2

build_windows win i686
build_windows win64 x86_64

if command -v clang++ >/dev/null 2>&1; then
  configure "$out/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELKOR_FUZZ=ON
  cmake --build "$out/fuzz" -j "$jobs" >&2
fi

echo "$out/$VELKOR_WIN/Velkor.exe"
