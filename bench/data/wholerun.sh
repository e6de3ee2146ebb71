#!/usr/bin/env bash
# Makes the whole-run benchmark's data in the bench prefix (never in the shipped demo): installs
# the demo product with its program folder below C:\zeltrin-bench\wholerun, then scales up the
# logs that a collection picks up: each is grown to 1 MiB by repeating its own lines and gets
# rotated siblings named so that the collector's patterns find them, 10 files for each demo log
# at 1x and 100 at 10x. Quick on the Linux side; skipped when that size is there already.
# Usage: bench/data/wholerun.sh <data folder> <scale> <bin folder>   (WINEPREFIX as set by scripts/bench.sh)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
scale="$2"
build="$(dirname "$3")"
drive_c="$WINEPREFIX/drive_c"
data="$(dirname "$1")"
mark="$1/ready"
[ -f "$mark" ] && exit 0

copies=$((10 * scale))
log_size=$((1 << 20))  # a product log that has rotated once is about this size
dunmere="$drive_c/Program Files/Brennock/Dunmere"
# Start from the demo as it ships: a preparation at another size left its own logs.
rm -rf "$dunmere"
BUILD_DIR="$build" bash "$root/scripts/demo-install.sh" "$WINEPREFIX" "$data/program" >/dev/null

# grow <file> <copy>: writes the file's own lines again and again into <copy>, log_size bytes.
grow() {
  local lines
  lines="$(cat "$1")"
  # yes ends by the broken pipe once head has its bytes; only head's status counts.
  (set +o pipefail; yes "$lines" | head -c "$log_size" >"$2.tmp")
  mv "$2.tmp" "$2"
}

# scale <file> <sibling pattern>: the pattern's %d is the rotation number.
scale_log() {
  local file="$1" pattern="$2" k
  for ((k = 2; k <= copies; k++)); do
    # shellcheck disable=SC2059
    grow "$file" "$(dirname "$file")/$(printf "$pattern" "$k")"
  done
  grow "$file" "$file"
}

# Traces and kerd logs rotate by a number behind the name ("QzOKAPO.LOG*", kerd "*"); the
# others must keep their extension for the "*.log" entries of the miscellaneous list.
scale_log "$dunmere/trace/QzOKAPO.LOG" "QzOKAPO.LOG.%d"
scale_log "$dunmere/trace/VM_QzOKAPO.LOG" "VM_QzOKAPO.LOG.%d"
scale_log "$dunmere/logs/kerd/kerd.log" "kerd.log.%d"
scale_log "$dunmere/logs/qzsvc.log" "qzsvc-%d.log"
scale_log "$dunmere/install/setup.log" "setup-%d.log"
scale_log "$dunmere/solutions/logs/solutions.log" "solutions-%d.log"
scale_log "$dunmere/schedules/HourlyRecovery/HourlyRecovery.log" "HourlyRecovery-%d.log"
scale_log "$dunmere/schedules/NightlySnapshot/NightlySnapshot.log" "NightlySnapshot-%d.log"
# Single files the run takes by name: grown only.
grow "$dunmere/ALERTLOG/ALERT.LOG" "$dunmere/ALERTLOG/ALERT.LOG"
grow "$dunmere/trace/QzOKAPO.LOG.1" "$dunmere/trace/QzOKAPO.LOG.1"
grow "$dunmere/logs/kerd/kerd.log.1" "$dunmere/logs/kerd/kerd.log.1"

mkdir -p "$1"
touch "$mark"
