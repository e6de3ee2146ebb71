#!/usr/bin/env bash
# Builds and runs the event log export benchmark under Wine in the build tree's prefix.
# Usage: scripts/bench-eventlog.sh [records] [rounds]   (defaults: 100000 records, 3 rounds)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-prefix.sh" "$build/wineprefix"
wine "$build/bin/eventlog-bench.exe" "$@"
