#!/usr/bin/env bash
# Sets up, builds, and runs every test: the set-up script's own tests, the
# native logic tests, the fuzz targets for a short while, and the Wine tests
# inside Xvfb. The Wine tests run the 32-bit build where this machine runs
# 32-bit code, else the 64-bit build; --arch 32 or --arch 64 asks for one.
# Other arguments go to the Wine CTest run (for example -R Settings).
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)

ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --arch) VELKOR_ARCH=${2:-}; shift 2 || shift ;;
    --arch=*) VELKOR_ARCH=${1#--arch=}; shift ;;
    *) ctest_args+=("$1"); shift ;;
  esac
done
case "${VELKOR_ARCH:-}" in
  ""|32|64) ;;
  *) echo "test.sh: --arch takes 32 or 64" >&2; exit 2 ;;
esac
[ -z "${VELKOR_ARCH:-}" ] || export VELKOR_ARCH

"$root/scripts/setup.sh" || exit 1
source "$root/scripts/wine-env.sh" || exit 1
if [ "$VELKOR_ARCH" = 32 ] && ! velkor_runs_32bit; then
  echo "test.sh: the 32-bit build cannot run here: this machine runs no 32-bit code" >&2
  exit 1
fi
echo "Wine tests: $VELKOR_ARCH-bit build; $VELKOR_ARCH_REASON" >&2

exe=$(VELKOR_SETUP_DONE=1 "$root/build.sh" | tail -n 1) || { echo "test.sh: build failed" >&2; exit 1; }
out=$(dirname "$(dirname "$exe")")

status=0
ctest --test-dir "$out/native" --output-on-failure -j "$(nproc)" || status=1
if [ -d "$out/fuzz" ]; then
  ctest --test-dir "$out/fuzz" --output-on-failure -L fuzz -j "$(nproc)" || status=1
fi

trap wine_env_stop EXIT  # also when the start fails half-way
wine_env_start || { echo "test.sh: the Wine environment did not start" >&2; exit 1; }
ctest --test-dir "$out/$VELKOR_WIN" --output-on-failure "${ctest_args[@]}" || status=1
exit $status
