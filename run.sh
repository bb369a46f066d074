#!/usr/bin/env bash
# Sets up, builds and starts Velkor under Wine with the given files.
# With a display, Velkor runs until it is closed. Without one, Xvfb and
# Wine's virtual desktop stand in: after a few seconds a screenshot of the
# running program is written to build/screenshot.png, and Velkor is ended.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
exe=$("$root/build.sh" | tail -n 1)

headless=0
[ -n "${DISPLAY:-}" ] || headless=1
source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT  # also when the start fails half-way
wine_env_start

args=()
for f in "$@"; do args+=("$(winepath -w "$f" 2>/dev/null || echo "$f")"); done

if [ $headless -eq 1 ]; then
  shot="$root/build/screenshot.png"
  wine explorer /desktop=velkor,1024x768 "$exe" "${args[@]}" >/dev/null 2>&1 &
  program=$!
  sleep "${VELKOR_SHOT_DELAY:-5}"
  import -window root "$shot"
  echo "run.sh: screenshot of the running program written to $shot" >&2
  wineserver -k >/dev/null 2>&1 || true
  # Only the program: a bare wait would also wait for the Xvfb that
  # wine_env_start left running in the background.
  wait "$program" || true
else
  wine "$exe" "${args[@]}"
fi
