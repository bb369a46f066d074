#!/usr/bin/env bash
# The settings store against the platform's private-profile service (run by
# ./bench.sh with the Wine environment started and VELKOR_OUT set).
set -euo pipefail
wine "$VELKOR_OUT/win/bench/win_settings_bench.exe" </dev/null
