#!/usr/bin/env bash
# Makes the cabinet list benchmark's tree on the Linux side, straight into the prefix:
# 20,000 files per unit of scale, in folders of 100 two levels deep, like a run folder's logs.
# Usage: bench/data/cablist.sh <data folder> <scale> [bin folder]
set -euo pipefail
folder="$1"; scale="$2"
[ -f "$folder/tree.ready" ] && exit 0
rm -rf "$folder/tree"
mkdir -p "$folder/tree"
cd "$folder/tree"
# 20 top folders per unit of scale, 10 sub-folders each, 100 files in each sub-folder.
awk -v top=$((20 * scale)) 'BEGIN { for (t = 0; t < top; t++) for (s = 0; s < 10; s++) printf "node%04d/trace%02d\n", t, s }' |
  xargs mkdir -p
awk -v top=$((20 * scale)) 'BEGIN {
  for (t = 0; t < top; t++) for (s = 0; s < 10; s++) for (f = 0; f < 100; f++)
    printf "node%04d/trace%02d/qzsvc_%04d_%02d_%03d.log\n", t, s, t, s, f
}' | xargs touch
touch "$folder/tree.ready"
