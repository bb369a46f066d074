#!/usr/bin/env bash
# Sets up, builds, and runs every test: the native logic tests, the fuzz
# targets for a short while, and the Wine tests inside Xvfb.
# Extra arguments go to the Wine CTest run (for example -R Settings).
set -uo pipefail
root=$(cd "$(dirname "$0")" && pwd)
exe=$("$root/build.sh" | tail -n 1) || { echo "test.sh: build failed" >&2; exit 1; }
out=$(dirname "$(dirname "$exe")")

status=0
ctest --test-dir "$out/native" --output-on-failure -j "$(nproc)" || status=1
if [ -d "$out/fuzz" ]; then
  ctest --test-dir "$out/fuzz" --output-on-failure -L fuzz -j "$(nproc)" || status=1
fi

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT  # also when the start fails half-way
wine_env_start
ctest --test-dir "$out/win" --output-on-failure "$@" || status=1
exit $status
