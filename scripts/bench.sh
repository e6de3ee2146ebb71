#!/usr/bin/env bash
# Builds the benchmarks, makes their data in a prefix of their own and prints, per benchmark
# and size, the medians of our side and of the system's side, their ratio and our peak working
# set, then how time and memory grow from 1x to 10x.
# A benchmark with a script bench/data/<name>.sh gets its data made by it first, on the Linux
# side: <script> <data folder in the prefix> <scale> <folder of the built programs>; one with a
# script bench/after/<name>.sh has it run after measuring: <script> <data folder> <scale> <rows>.
# Usage: scripts/bench.sh [benchmark ...]   (default: all; ROUNDS=5 sets the rounds at 1x of
# the benchmarks whose entry names none)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
rounds="${ROUNDS:-5}"
# At 10x each round takes ten times as long; fewer rounds keep the whole command in bounds.
rounds_at_10x="${ROUNDS_AT_10X:-3}"

# name  program  goal (ours / system, median)  streams (memory must stay flat)
#   [rounds at 1x  rounds at 10x: where a round is long, so the whole command stays in bounds]
benchmarks=(
  "regdump  regdump-bench.exe  1.0 yes 3 1"
  "cablist  cablist-bench.exe  1.0 yes 3 1"
  "versions versions-bench.exe -   yes 3 1"
  "grab     grab-bench.exe     1.1 yes 3 1"
  "eventlog eventlog-bench.exe 0.20 yes 3 1"
  "wholerun wholerun-bench.exe 2.0 no  3 1"
  "steps    steps-bench.exe    0.45 no 3 1"
  "redact   redact-bench.exe   2.0 yes 3 1"
  "summary  summary-bench.exe  -   no  3 1"
  "verify   verify-bench.exe   1.0 yes 3 1"
)

bash "$root/scripts/setup.sh"
# The whole run shows its (hidden) dialog, and Wine needs a display for any window.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-prefix.sh" "$build/bench-prefix"

# The data lives in memory where there is room for it: the disk of a shared build machine is
# its noisiest part, and the 10x file grab alone writes 5 GiB. Both sides read and write there.
data_root="$WINEPREFIX/drive_c/zeltrin-bench"
memory="/dev/shm/zeltrin-bench-$(id -u)"
if [ "$(df --output=avail -k /dev/shm 2>/dev/null | tail -n 1)" -gt $((10 * 1024 * 1024)) ] 2>/dev/null; then
  mkdir -p "$memory"
  [ -L "$data_root" ] || rm -rf "$data_root"
  ln -sfn "$memory" "$data_root"
  echo "bench: data in memory ($memory)" >&2
fi

wanted=("$@")
rows="$build/bench-rows.tsv"
: >"$rows"
started=$SECONDS
for entry in "${benchmarks[@]}"; do
  read -r name program goal streams own_rounds own_rounds_at_10x <<<"$entry"
  if [ ${#wanted[@]} -gt 0 ] && [[ ! " ${wanted[*]} " == *" $name "* ]]; then continue; fi
  for scale in 1 10; do
    step_started=$SECONDS
    n=${own_rounds:-$rounds}; [ "$scale" = 10 ] && n=${own_rounds_at_10x:-$rounds_at_10x}
    echo "== $name ${scale}x: preparing" >&2
    # Many files are made far faster on the Linux side than through Wine.
    data_script="$root/bench/data/$name.sh"
    if [ -f "$data_script" ]; then
      bash "$data_script" "$WINEPREFIX/drive_c/zeltrin-bench/$name/x$scale" "$scale" "$build/bin"
    fi
    wine "$build/bin/$program" prepare "$scale" >&2
    echo "== $name ${scale}x: measuring, $n rounds" >&2
    # Each line is shown through awk's own standard error: "tee /dev/stderr" would open the
    # stream anew and so cut short a log file that the command's output is redirected to.
    wine "$build/bin/$program" measure "$scale" "$n" | tr -d '\r' |
      awk -F'\t' -v goal="$goal" -v streams="$streams" \
        '{ print > "/dev/stderr" } $1 == "ROW" { print $0 "\t" goal "\t" streams }' >>"$rows"
    # What is measured on the Linux side of the data the program left (a page rendered in a browser).
    after_script="$root/bench/after/$name.sh"
    if [ -f "$after_script" ]; then
      bash "$after_script" "$WINEPREFIX/drive_c/zeltrin-bench/$name/x$scale" "$scale" "$rows"
    fi
    # Linux removes a large tree far faster than Wine does; the program's clean does the rest.
    rm -rf "$WINEPREFIX/drive_c/zeltrin-bench/$name/x$scale"
    wine "$build/bin/$program" clean "$scale" >&2
    echo "== $name ${scale}x: $((SECONDS - step_started)) s in all" >&2
  done
done
wineserver -w

echo
awk -F'\t' -f "$root/bench/table.awk" "$rows"
echo "bench: $((SECONDS - started)) s of measuring"
