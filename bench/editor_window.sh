#!/usr/bin/env bash
# The editor window on a 1 MB document: open, save and Find Next (run by
# ./bench.sh with the Wine environment started and VELKOR_OUT set).
set -euo pipefail
wine "$VELKOR_OUT/win/bench/win_editor_bench.exe" </dev/null
