#!/usr/bin/env bash
# The system's side of the -verify benchmark, on Linux as a support engineer checks a bundle:
# cabextract of every cabinet, then sha256sum -c of the sums. Times itself, leaving out the
# removal of the files it unpacked, and writes the seconds, or "failed", to system-seconds.txt
# as its last act.
# Usage: verify-system-side.sh <data folder of bench/data/verify.sh>
set -uo pipefail
data="$1"
rm -rf "$data/unpacked" "$data/system-seconds.txt"
started=$(date +%s%N)
status=0
for cabinet in "$data"/cabinets/*.cab; do
  cabextract -q -d "$data/unpacked" "$cabinet" || status=1
done
(cd "$data/unpacked" && sha256sum --quiet --strict -c SHA256SUMS) || status=1
ended=$(date +%s%N)
rm -rf "$data/unpacked"
# Written whole under another name and then renamed: whoever waits for it reads it complete.
if ((status == 0)); then
  awk -v ns=$((ended - started)) 'BEGIN { printf "%.3f\n", ns / 1e9 }' >"$data/system-seconds.part"
else
  echo failed >"$data/system-seconds.part"
fi
mv "$data/system-seconds.part" "$data/system-seconds.txt"
