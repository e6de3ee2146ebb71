#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine, in a display of its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"

bash "$root/scripts/setup.sh"
BUILD_DIR="$build" bash "$root/scripts/build.sh"
# One prefix per build tree, made before CTest starts: the first start of a new prefix
# outlasts any test's patience.
source "$root/scripts/wine-prefix.sh" "$build/wineprefix"

# A persistent wineserver keeps each test's start cheap; it is stopped before the display goes.
# Wine's own background processes are started once here, away from CTest's pipes: started by
# a test they would inherit its output pipe and keep it open after the test has ended.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  wineserver -p
  wine cmd /c exit >/dev/null 2>&1 </dev/null
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" "${@:2}"
  status=$?
  wineserver -k
  exit $status
' ctest "$build" "$@"
