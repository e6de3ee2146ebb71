#!/usr/bin/env bash
# Makes the -verify benchmark's data: a run folder of 50 files a scale (40 logs of 2 MiB of
# random text, 10 dumps of 5 MiB of random bytes: about 130 MiB, which packs into about 110 MiB
# of cabinets), its MANIFEST.json and SHA256SUMS as a run writes them, and its cabinets packed as
# a run packs them (MSZIP, 25 files a cabinet, <incident>_<node>_<time stamp>[_<n>].cab).
# system-side.txt names, for the benchmark program, the Linux side's script and this folder.
# Usage: bench/data/verify.sh <data folder> <scale> <bin folder>
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
data="$1"
scale="$2"
[ -f "$data/ready" ] && exit 0
rm -rf "$data"
mkdir -p "$data/run/VM" "$data/run/DUMP" "$data/cabinets"
for ((k = 1; k <= 40 * scale; k++)); do
  head -c $((3 << 19)) /dev/urandom | base64 -w 76 >"$data/run/VM/trace$k.log"
done
for ((k = 1; k <= 10 * scale; k++)); do
  head -c $((5 << 20)) /dev/urandom >"$data/run/DUMP/memory$k.dmp"
done
python3 - "$data/run" <<'PY'
import hashlib, json, os, sys
os.chdir(sys.argv[1])
def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()
paths = sorted(os.path.join(folder, name)[2:] for folder, _, names in os.walk(".") for name in names)
files = [{"path": p, "size": os.path.getsize(p), "sha256": sha256(p)} for p in paths]
with open("MANIFEST.json", "w", encoding="utf-8") as f:
    json.dump({"program": "Zeltrin", "files": files}, f, indent=2)
sums = sorted([(f["path"], f["sha256"]) for f in files] + [("MANIFEST.json", sha256("MANIFEST.json"))])
with open("SHA256SUMS", "w", newline="") as f:
    f.write("".join(f"{h}  {p}\r\n" for p, h in sums))
PY
mapfile -t names < <(cd "$data/run" && find . -type f -printf '%P\n' | LC_ALL=C sort)
stem=424242_BENCH_12082026__00-00-00
for ((first = 0, part = 1; first < ${#names[@]}; first += 25, part++)); do
  suffix=""; ((part == 1)) || suffix="_$part"
  (cd "$data/run" && gcab -c -z "$data/cabinets/$stem$suffix.cab" "${names[@]:first:25}")
done
echo "$root/bench/support/verify-system-side.sh $data" >"$data/system-side.txt"
touch "$data/ready"
