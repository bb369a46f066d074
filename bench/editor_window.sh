#!/usr/bin/env bash
# The editor window on a 1 MB document: open, save and Find Next.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bench_wine
wine "$win/bench/win_editor_bench.exe" </dev/null
