#!/usr/bin/env bash
# Builds Zeltrin and runs one silent collection in a program folder of its own, in a demo
# Wine prefix, then says where the report is.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
program="$build/demo/program"

bash "$root/scripts/setup.sh"
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-prefix.sh" "$build/demo/prefix"

mkdir -p "$program"
cp "$build/bin/Zeltrin.exe" "$program/"
marker="$build/demo/run-started"
touch "$marker"

cd "$program"
xvfb-run -a bash -c 'wine Zeltrin.exe -noGUI case#=123456; wineserver -w'

report=$(find "$program" -maxdepth 1 -name '*_ULVIX-Report.HTML' -newer "$marker" | head -n 1)
if [ -z "$report" ]; then
  echo "run: no new report log was written" >&2
  exit 1
fi
echo "Report log: $report"
