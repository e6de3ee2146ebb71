#!/usr/bin/env bash
# One silent collection against the demo installation with its tools failing in every way the
# run must survive: the WLT snapshot tool (started directly) and qzdiag (through the command
# interpreter) crash with an access violation, every other stand-in tool ends with status 7,
# the cluster management diagnostic and qzclustadm are missing, and so are the command files
# that stop the boot trace and take the OSMU snapshot. Each fault is reported as documented,
# and the run goes on to "ULVIX - Done!" with everything else collected.
# Usage: ToolFaultsRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" ToolFaultsRun
incident=e2efaults

use_faults_prefix
install_demo
rm -f "$program/pqhmc-diag.exe" "$program/qzclustadm.exe" "$program/stop_wpp_ssn.cmd" "$program/osmu_snapshot.cmd"
# The operations manager's gather script is in place, so its failing run is seen too; the
# other runs in this prefix see the installation as the demo makes it.
management_server="$drive_c/Program Files/Tobrin/NLDH"
mkdir -p "$management_server/adm"
echo '# stand-in gather script' >"$management_server/adm/wkegather.pl"
trap 'rm -rf "$management_server/adm"' EXIT
rm -rf "${drive_c:?}/$incident"

ZELTRIN_STUB_CRASH=wltsnap,qzdiag2003 ZELTRIN_STUB_EXIT=7 zeltrin "case#=$incident"
expect_eq "exit status" 0 "$status"
find_single_run
expect_completed_run

# Started directly and crashed: the exception code as its status, and nothing left.
wltsnap='C:\Program Files\Brennock\WLT\bin\wltsnap.exe'
expect_eq "the crashing snapshot tool's end" \
"Waiting for the process to terminate ...
Termination status: 0xc0000005
Log files will be captured in target folder by $wltsnap directly.
Finish - CaptureQzUtils Error=-1073741819" \
  "$(entries_between "$entries" "Start - Application Name: $wltsnap" "Finish - CaptureQzUtils" | tail -n 4)"
expect_absent "$run/wltsnap"
# A nonzero status is no failure: it is logged and the output file is still moved in.
expect_eq "the multipath tool's end with status 7" \
"Termination status: 0x00000007
Start - IsFileExists qzflxinfo.enc
qzflxinfo.enc is available
Finish - IsFileExists Error = 0
Start - GrabFile
Source File: qzflxinfo.enc
Target File: $run_w\\VM\\qzflxinfo.enc
Finish - GrabFile.  Error = 0
Finish - CaptureQzUtils Error=7" \
  "$(entries_between "$entries" "Start - Application Name: $program_w\\qzflxinfo.EXE" "Finish - CaptureQzUtils" | tail -n 9)"
expect_eq "the multipath tool's output" "qzflxinfo stub output" "$(tr -d '\r' <"$run/VM/qzflxinfo.enc")"
# Missing and started directly: the creation failure with the system's text, no folder.
expect_eq "the missing cluster management diagnostic" \
"CreateProcess() failed to create $program_w\\pqhmc-diag.exe!!! REASON: <system text> Error = 2
Finish - CaptureQzUtils Error=2" \
  "$(entries_between "$entries" "Start - Application Name: $program_w\\pqhmc-diag.exe" "Finish - CaptureQzUtils" | tail -n 2)"
expect_absent "$run/PQHMC"
# The gather ends with status 7 through the interpreter: the storage manager diagnostic runs
# in its place.
expect_file "$run/NLD/nld_diag.txt"
# Through the interpreter nothing is looked at: the crashed qzdiag wrote nothing of its own
# (Wine's debugger may write its account of the crash there), a missing command file or tool
# leaves no output.
if grep -q "stub output" "$run/VM/qzdiag.txt" 2>/dev/null; then fail "the crashed qzdiag wrote its output"; fi
expect_absent "$run/OSMU"
expect_eq "the missing qzclustadm's report" "" "$(tr -d '\r' <"$run/VM/HNV_NIDMAP_REPORT.TXT")"

# Everything else was collected, from the first row (whose command file was missing) to the
# last, and packed.
for file in REGISTRY.TXT VM/ALERT.LOG VM/kerd.log VM/qdsminfo.log OS/SYS_Events.log OS/SYSTEM32_EXE_VER.TXT \
            MISC/qzsvc.log PLR/Log.Pelorin RBK_Schedules/NightlySnapshot.xml TEJ/perl.log clusnap/HA_FILEVER.TXT ZRX; do
  expect_file "$run/$file"
done
# Rows run side by side: each started once, in whatever order the threads took them.
expect_eq "tools and command files started" \
  "clusnap dumpzrxinfo get_foc_logs get_ha_filever get_wpp_logs nld_diag perl perl qzdiag2003 qzfilever qzflxinfo ruqdiaginfo ruqdump wltsnap" \
  "$(tr -d '\r' <"$stub_log" | cut -d'|' -f1 | LC_ALL=C sort | paste -sd ' ')"
expect_cabinets_verify

finish
