#!/usr/bin/env bash
# Start-up of Velkor against Wine's notepad (run by ./bench.sh with the Wine
# environment started and VELKOR_OUT set).
set -euo pipefail
wine "$VELKOR_OUT/win/bench/win_startup_bench.exe" "$(winepath -w "$VELKOR_OUT/win/Velkor.exe")" </dev/null
