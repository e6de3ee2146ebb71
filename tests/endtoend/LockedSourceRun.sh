#!/usr/bin/env bash
# One silent collection on the demo machine while another process holds one of the product's
# logs open without sharing (as a busy service would): that one copy fails with its lines and
# the sharing violation's code, the file beside it and the rest of the run are collected, and
# the run ends as usual.
# Usage: LockedSourceRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" LockedSourceRun
incident=e2elocked
# Holding a file open is quick; this is only how long the holder may take to start.
holder_start_polls=600

use_prefix "$build/e2e-faults-a-prefix"
program="$work/program"
install_demo "$program"
prepare_run "$program"
rm -rf "${drive_c:?}/$incident"

kerd_w='C:\Program Files\Brennock\Dunmere\logs\kerd'
kerd="$drive_c/Program Files/Brennock/Dunmere/logs/kerd"
ready="$work/holder-ready"
release="$work/holder-release"
# Sharing is the wineserver's business, so the holder is a Windows process of this prefix.
wine "$bin/zeltrin-file-holder.exe" "$kerd_w\\kerd.log" "$(winepath -w "$ready")" "$(winepath -w "$release")" \
  >>"$wine_log" 2>&1 </dev/null &
holder=$!
for _ in $(seq 1 $holder_start_polls); do
  if [[ -f "$ready" ]] || ! kill -0 $holder 2>/dev/null; then break; fi
  sleep 0.05
done
if [[ ! -f "$ready" ]]; then
  fail "the holder did not get kerd.log open"
  touch "$release"
  wait $holder || true
  finish
fi

(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
touch "$release"
wait $holder || fail "the holder ended with status $? (4: it timed out before the release)"

find_single_run
expect_completed_run "$run" "$program" "$run_w"

# The held file's copy: its own failure lines with the sharing violation (32), and nothing of
# it in the run folder.
expect_eq "the held file's copy" \
  "Source File: $kerd_w\\kerd.log"$'\n'"Target File: $run_w\\VM\\kerd.log"$'\n'"Error = 32"$'\n'"Finish - GrabFile.  Error = 32" \
  "$(tr -d '\r' <<<"$entries" | grep -Fx -A 4 "Source File: $kerd_w\\kerd.log" | grep -v '^Failed to copy!!! ')"
expect_entry_starting "$entries" "Failed to copy!!! "
expect_absent "$run/VM/kerd.log"
expect_eq "grabs that met the sharing violation" 1 "$(grab_outcomes "$entries" | grep -c '^32|')"
# The file beside it in the same search, and every other grab, whole.
expect_eq "the kerd log beside the held one" "$(cat "$kerd/kerd.log.1")" "$(cat "$run/VM/kerd.log.1" 2>/dev/null)"
expect_grabs_whole "$entries" 'C:\' "$drive_c/" 'Z:\' /
for file in VM/ALERT.LOG VM/QzOKAPO.LOG MISC/qzsvc.log REGISTRY.TXT OS/SYS_Events.log LICENSES/DUNMERE-ENT.lic \
            PLR/Log.Pelorin RBK_Schedules/NightlySnapshot.log VM/qzflxinfo.enc; do
  expect_file "$run/$file"
done
# The holder only read it: the product's log is as it was.
expect_eq "the held log after the run" "$(cat "$root/demo/files/Program Files/Brennock/Dunmere/logs/kerd/kerd.log")" \
  "$(cat "$kerd/kerd.log")"

finish
