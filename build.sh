#!/usr/bin/env bash
# Installs what is missing, then builds Velkor.exe with its Wine tests
# (build/win) and the native logic tests (build/native).
# The last line of output is the path of the built Velkor.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
"$root/scripts/setup.sh"

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

configure "$out/native"
cmake --build "$out/native" -j "$jobs" >&2

jpeg=$("$root/scripts/libjpeg.sh" "$out")
configure "$out/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DVELKOR_JPEG_ROOT="$jpeg"
cmake --build "$out/win" -j "$jobs" >&2

if command -v clang++ >/dev/null 2>&1; then
  configure "$out/fuzz" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DVELKOR_FUZZ=ON
  cmake --build "$out/fuzz" -j "$jobs" >&2
fi

echo "$out/win/Velkor.exe"
