#!/usr/bin/env bash
# Makes the version listing benchmark's "system directories" on the Linux side, straight into
# the prefix: 2,000 copies per unit of scale of the benchmark's version library in sys, and at
# 1x also 500 in sys500.
# Usage: bench/data/versions.sh <data folder> <scale> <bin folder>
set -euo pipefail
folder="$1"; scale="$2"; library="$3/zeltrin_bench_version.dll"
[ -f "$folder/libraries.ready" ] && exit 0
[ -f "$library" ] || { echo "versions: $library is not built" >&2; exit 1; }

# Copies the library under count names into a folder; tee writes many copies per process.
copies() {
  local target="$1" count="$2"
  rm -rf "$target"
  mkdir -p "$target"
  awk -v count="$count" -v target="$target" 'BEGIN { for (i = 1; i <= count; i++) printf "%s/qzlib%06d.dll\n", target, i }' |
    xargs -d '\n' -n 500 sh -c 'tee "$@" <"$0" >/dev/null' "$library"
}

copies "$folder/sys" $((2000 * scale))
if [ "$scale" = 1 ]; then copies "$folder/sys500" 500; fi
touch "$folder/libraries.ready"
