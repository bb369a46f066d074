#!/usr/bin/env bash
# Builds Velkor and runs its benchmarks. Each line prints a figure, the
# anchor it is measured against in the same run, and their ratio.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
exe=$("$root/build.sh" | tail -n 1)
out=$(dirname "$(dirname "$exe")")
export VELKOR_ROOT="$root" VELKOR_OUT="$out"
source "$root/scripts/wine-env.sh"
wine_env_start
trap wine_env_stop EXIT
status=0
for b in "$root"/bench/*.sh; do
  [ -e "$b" ] || continue
  bash "$b" || status=1
done
exit $status
