#!/usr/bin/env bash
# Builds the static libjpeg for the Windows program from Debian's
# libjpeg-turbo source package into BUILD/deps/<processor> and prints the
# install prefix (include/ and lib/libjpeg.a). Does nothing once built.
#   scripts/libjpeg.sh BUILD i686|x86_64
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: libjpeg.sh BUILD i686|x86_64}
processor=${2:?usage: libjpeg.sh BUILD i686|x86_64}
toolchain="$root/cmake/mingw-$processor.cmake"
[ -f "$toolchain" ] || { echo "libjpeg.sh: no toolchain file $toolchain" >&2; exit 1; }
deps="$out/deps"
prefix="$deps/$processor/libjpeg"
simd=ON
command -v nasm >/dev/null 2>&1 || simd=OFF
# What the installed copy was built with: a change (nasm installed later, a new
# toolchain file) builds it again.
want="simd=$simd toolchain=$(sha1sum "$toolchain" | cut -d' ' -f1)"
if [ -f "$prefix/lib/libjpeg.a" ] && [ "$(cat "$prefix/built-with" 2>/dev/null)" = "$want" ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$deps/download"
mkdir -p "$deps/$processor"
log="$deps/$processor/libjpeg.log"
: > "$log"
fail() { cat "$log" >&2; echo "libjpeg.sh: $1 (log: $log)" >&2; exit 1; }

tarball=$(ls "$deps"/download/libjpeg-turbo_*.orig.tar.gz 2>/dev/null | tail -n 1 || true)
if [ -z "$tarball" ]; then
  echo "libjpeg: fetching Debian's libjpeg-turbo source" >&2
  # Run as root, apt fetches without its sandbox into a folder its own user
  # cannot write; that notice is harmless.
  (cd "$deps/download" && apt-get source --download-only -qq libjpeg-turbo) >>"$log" 2>&1 ||
    fail "apt-get source failed (is a deb-src entry present? scripts/setup.sh adds one)"
  tarball=$(ls "$deps"/download/libjpeg-turbo_*.orig.tar.gz 2>/dev/null | tail -n 1 || true)
  [ -n "$tarball" ] || fail "no orig tarball among the downloaded files"
fi

src="$deps/$processor/libjpeg-turbo-src"
bld="$deps/$processor/libjpeg-turbo-build"
rm -rf "$src" "$bld" "$prefix"
mkdir -p "$src"
tar -xzf "$tarball" -C "$src" --strip-components=1 || fail "cannot unpack $tarball"

gen=()
command -v ninja >/dev/null 2>&1 && gen=(-G Ninja)
echo "libjpeg: building $(basename "$tarball") for MinGW $processor (SIMD $simd)" >&2
cmake -S "$src" -B "$bld" "${gen[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_SIMD=$simd \
  -DCMAKE_INSTALL_PREFIX="$prefix" >>"$log" 2>&1 || fail "configure failed"
cmake --build "$bld" --target jpeg-static -j "$(nproc 2>/dev/null || echo 2)" >>"$log" 2>&1 ||
  fail "build failed"

# Only the library and its four headers; a full install would build the tools too.
mkdir -p "$prefix/include" "$prefix/lib"
cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$bld/jconfig.h" "$prefix/include/"
cp "$bld/libjpeg.a" "$prefix/lib/"
echo "$want" > "$prefix/built-with"
echo "$prefix"
