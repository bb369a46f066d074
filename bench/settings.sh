#!/usr/bin/env bash
# The settings store against the platform's private-profile service.
set -euo pipefail
source "$(dirname "$0")/../scripts/bench-lib.sh"
bench_wine
wine "$win/bench/win_settings_bench.exe" </dev/null
