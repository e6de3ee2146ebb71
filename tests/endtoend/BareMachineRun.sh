#!/usr/bin/env bash
# One silent collection on a machine without the product: a prefix of its own that never
# gets the demo installed, and a program folder holding only what ships with the collector.
# The run must still go through to its end, with the product's steps skipped.
# Usage: BareMachineRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" BareMachineRun
incident=e2ebare

use_prefix "$build/e2e-bare-prefix"
program="$work/program"
mkdir -p "$program"
for shipped in Zeltrin.exe qdsminfo.exe QzRegList.txt Zeltrin.CFG Zeltrin.htm qzcab.cmd qzhacab.cmd qzpack.cmd; do
  cp "$bin/$shipped" "$program/"
done
wrap_packaging_command_files "$program"
prepare_run "$program"
rm -rf "${drive_c:?}/$incident"

(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"

find_single_run
expect_completed_run "$run" "$program" "$run_w"

# The detection greys the boxes of what it did not find, so their steps are skipped and
# none of their folders exists.
for box in "PQH / HA" "WLT" "ZRX" "QzOkapo Log(s)" "&Logs" "MPS &Reports" "Solutions" "RBK Schedules" \
           "&Providers (DOM)" "&QzSvc Dump" "&Cluster Log(s)"; do
  expect_entry "$entries" "$box = Disabled"
done
for folder in clusnap wltsnap ZRX Solutions RBK_Schedules; do
  expect_absent "$run/$folder"
done
# The steps without a detection condition still run and report their missing tools; those
# started through the command interpreter leave nothing behind.
expect_entry_starting "$entries" "CreateProcess() failed to create $program_w\\qzflxinfo.EXE!!! REASON: "
expect_entry_starting "$entries" "CreateProcess() failed to create $program_w\\ruqdiaginfo.exe!!! REASON: "
expect_entry_starting "$entries" "CreateProcess() failed to create $program_w\\pqhmc-diag.exe!!! REASON: "
expect_folder "$run/RUQ"
for folder in TEJ WKE NLD OSMU PQHMC; do
  expect_absent "$run/$folder"
done
expect_file "$run/REGISTRY.TXT"
expect_file "$run/OS/SYS_Events.log"
expect_file "$run/QzFilesToCab3.TXT"

# Only the run's packaging command file was started.
expect_eq "command files and tools started" "qzcab|$run_w $system32 $incident NO $stamp 0" \
  "$(tr -d '\r' <"$stub_log" 2>/dev/null)"
expect_cabinet "$machine/${incident}_${node}_${stamp}.cab"

finish
