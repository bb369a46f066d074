#!/usr/bin/env bash
# Start-up of Velkor against Wine's notepad.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bench_wine
wine "$win/bench/win_startup_bench.exe" "$(winepath -w "$win/Velkor.exe")" </dev/null
