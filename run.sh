#!/usr/bin/env bash
# Sets up, builds and starts Velkor under Wine with the given files.
# Without a display it starts Xvfb and Wine's virtual desktop, and writes a
# screenshot of the running program to build/screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
exe=$("$root/build.sh" | tail -n 1)

headless=0
[ -n "${DISPLAY:-}" ] || headless=1
source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT

args=()
for f in "$@"; do args+=("$(winepath -w "$f" 2>/dev/null || echo "$f")"); done

if [ $headless -eq 1 ]; then
  wine explorer /desktop=velkor,1024x768 "$exe" "${args[@]}" >/dev/null 2>&1 &
  pid=$!
  sleep "${VELKOR_SHOT_DELAY:-4}"
  import -window root "$root/build/screenshot.png"
  echo "run.sh: screenshot written to $root/build/screenshot.png" >&2
  wait $pid || true
else
  wine "$exe" "${args[@]}"
fi
