#!/usr/bin/env bash
# One silent collection on the demo machine while another process holds one of the product's
# logs open without sharing (as a busy service would): that one copy fails with the sharing
# violation's code and leaves nothing, the file beside it and the rest of the run are
# collected, and the run ends as usual.
# Usage: LockedSourceRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" LockedSourceRun
incident=e2elocked

use_faults_prefix
install_demo
rm -rf "${drive_c:?}/$incident"
kerd_w='C:\Program Files\Brennock\Dunmere\logs\kerd'
ready="$work/holder-ready"
release="$work/holder-release"
# Sharing is the wineserver's business, so the holder is a Windows process of this prefix.
wine "$bin/zeltrin-file-holder.exe" "$kerd_w\\kerd.log" "$(winepath -w "$ready")" "$(winepath -w "$release")" \
  >>"$wine_log" 2>&1 </dev/null &
holder=$!
for _ in $(seq 1 600); do
  if [[ -f "$ready" ]] || ! kill -0 $holder 2>/dev/null; then break; fi
  sleep 0.05
done
[[ -f "$ready" ]] || fail "the holder did not get kerd.log open"

zeltrin "case#=$incident"
touch "$release"
wait $holder || fail "the holder ended with status $? (4: it timed out before the release)"
expect_eq "exit status" 0 "$status"

find_single_run
expect_completed_run
expect_eq "the held file's copy" "32|$kerd_w\\kerd.log|$run_w\\VM\\kerd.log" "$(grab_outcomes "$entries" | grep '^32|')"
grep -q '^Failed to copy!!! ' <<<"$entries" || fail "no failure line of the copy"
expect_grabs_whole "$entries" 'C:\' "$drive_c/" 'Z:\' /
expect_file "$run/VM/kerd.log.1"
expect_eq "the held log after the run" "$(cat "$root/demo/files/Program Files/Brennock/Dunmere/logs/kerd/kerd.log")" \
  "$(cat "$drive_c/Program Files/Brennock/Dunmere/logs/kerd/kerd.log")"

finish
