#!/usr/bin/env bash
# Builds the benchmarks, makes their data in a prefix of their own and prints, per benchmark
# and size, the medians of our side and of the system's side, their ratio and our peak working
# set, then how time and memory grow from 1x to 10x.
# Usage: scripts/bench.sh [benchmark ...]   (default: all; ROUNDS=5 sets the rounds at 1x)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
rounds="${ROUNDS:-5}"
# At 10x each round takes ten times as long; fewer rounds keep the whole command in bounds.
rounds_at_10x="${ROUNDS_AT_10X:-3}"

# name  program  goal (ours / system, median)  streams (memory must stay flat)  [rounds at 1x/10x]
# The last field, where given, replaces ROUNDS and ROUNDS_AT_10X for a benchmark whose rounds
# are long; a single round goes without the warm-up (its data was just made and is cached).
benchmarks=(
  "grab grab-bench.exe 1.1 yes 3/1"
  "eventlog eventlog-bench.exe 0.20 yes 3/1"
  "wholerun wholerun-bench.exe 2.0 no 3/1"
)

bash "$root/scripts/setup.sh"
# The whole run shows its (hidden) dialog, and Wine needs a display for any window.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-prefix.sh" "$build/bench-prefix"

wanted=("$@")
rows="$build/bench-rows.tsv"
: >"$rows"
started=$SECONDS
for entry in "${benchmarks[@]}"; do
  read -r name program goal streams own_rounds <<<"$entry"
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " == *" $name "* ]]; then continue; fi
  for scale in 1 10; do
    n=$rounds; [ "$scale" = 10 ] && n=$rounds_at_10x
    if [ -n "$own_rounds" ]; then
      n=${own_rounds%/*}; [ "$scale" = 10 ] && n=${own_rounds#*/}
    fi
    echo "== $name ${scale}x: preparing" >&2
    # Data that is quicker to make on the Linux side comes from a script beside the program.
    if [ -f "$root/bench/$name-data.sh" ]; then
      BUILD_DIR="$build" bash "$root/bench/$name-data.sh" "$scale" >&2
    fi
    wine "$build/bin/$program" prepare "$scale" >&2
    echo "== $name ${scale}x: measuring, $n rounds" >&2
    wine "$build/bin/$program" measure "$scale" "$n" | tr -d '\r' | tee /dev/stderr |
      awk -F'\t' -v goal="$goal" -v streams="$streams" '$1 == "ROW" { print $0 "\t" goal "\t" streams }' >>"$rows"
    wine "$build/bin/$program" clean "$scale" >&2
  done
done
wineserver -w

echo
awk -F'\t' -f "$root/bench/table.awk" "$rows"
echo "bench: $((SECONDS - started)) s of measuring"
