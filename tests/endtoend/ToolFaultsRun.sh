#!/usr/bin/env bash
# One silent collection against the demo installation with its tools and command files
# failing in every way the run must survive: the WLT snapshot tool (started directly) and
# qzdiag (started through the command interpreter) crash with an access violation, every
# other stand-in tool ends with status 7, the cluster management diagnostic and qzclustadm
# are missing from the program folder, and so are the command files that stop the boot
# trace and take the OSMU snapshot. Each fault is reported as documented, and the run goes on
# to "ULVIX - Done!" with everything else collected.
# Usage: ToolFaultsRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" ToolFaultsRun
source "$(dirname "$0")/FaultRuns.sh"
incident=e2efaults
crash=0xc0000005
crash_status=-1073741819  # the same code as the "Error=%d" lines print it

use_faults_prefix
program="$work/program"
install_demo "$program"
prepare_run "$program"
rm -f "$program/pqhmc-diag.exe" "$program/qzclustadm.exe" "$program/stop_wpp_ssn.cmd" "$program/osmu_snapshot.cmd"
# The operations manager's gather script is in place, so its failing run is seen too.
management_server="$drive_c/Program Files/Tobrin/NLDH"
mkdir -p "$management_server/adm"
echo '# stand-in gather script; the demo perl writes the output' >"$management_server/adm/wkegather.pl"
# The other runs in this prefix see the installation as the demo makes it.
trap 'rm -rf "$management_server/adm"' EXIT
rm -rf "${drive_c:?}/$incident"

(cd "$program" && ZELTRIN_STUB_CRASH=wltsnap,qzdiag2003 ZELTRIN_STUB_EXIT=7 \
  wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) || fail "Zeltrin.exe ended with status $?"

find_single_run
expect_completed_run "$run" "$program" "$run_w"
report="$(cd "$run" && ls -- *_ULVIX-Report.HTML 2>/dev/null | head -n 1)"
entries="$(entries_with_system_texts_put_aside "$run/${report:-none}" 2>&1)"

# A tool started directly that crashes: its status is the exception code, it leaves nothing,
# and the runner still says where its files would have been.
expect_eq "the crashing snapshot tool's capture" \
"Start - Application Name: C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe
Start - Arguments: \"C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe\" -o \"$run_w\"
Start - Source Output File:
Start - Target Output File:$run_w
Start - Move File: 1
Start - Timeout: -1
Waiting for the process to terminate ...
Termination status: $crash
Log files will be captured in target folder by C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe directly.
Finish - CaptureQzUtils Error=$crash_status" \
  "$(entries_between "$entries" "Start - Application Name: C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe" "Finish - CaptureQzUtils")"
expect_absent "$run/wltsnap"

# A tool that ends with a nonzero status is no failure: the status is logged and its output
# file is still moved in from the program folder.
expect_eq "the multipath tool's capture with status 7" \
"Start - Application Name: $program_w\\qzflxinfo.EXE
Start - Arguments:  -x
Start - Source Output File:qzflxinfo.enc
Start - Target Output File:$run_w\\VM\\qzflxinfo.enc
Start - Move File: 1
Start - Timeout: -1
Waiting for the process to terminate ...
Termination status: 0x00000007
Start - IsFileExists qzflxinfo.enc
qzflxinfo.enc is available
Finish - IsFileExists Error = 0
Start - GrabFile
Source File: qzflxinfo.enc
Target File: $run_w\\VM\\qzflxinfo.enc
Finish - GrabFile.  Error = 0
Finish - CaptureQzUtils Error=7" \
  "$(entries_between "$entries" "Start - Application Name: $program_w\\qzflxinfo.EXE" "Finish - CaptureQzUtils")"
expect_eq "the multipath tool's output" "qzflxinfo stub output" "$(file_state "$run/VM/qzflxinfo.enc")"
expect_absent "$program/qzflxinfo.enc"
for tool in "C:\\Program Files\\Brennock\\PQH\\bin\\clusnap.exe" "$program_w\\ruqdiaginfo.exe" "$program_w\\ruqdump.exe"; do
  expect_eq "the status of $tool" "Termination status: 0x00000007"$'\n'"Log files will be captured in target folder by $tool directly."$'\n'"Finish - CaptureQzUtils Error=7" \
    "$(entries_between "$entries" "Start - Application Name: $tool" "Finish - CaptureQzUtils" | tail -n 3)"
done
for file in clusnap/clusnap.log RUQ/ruqdiaginfo.log RUQ/ruqdump.log; do
  expect_eq "$file" "$(basename "$file" .log) stub output" "$(file_state "$run/$file")"
done

# The operations manager's gather ends with status 7 through the interpreter: the storage
# manager diagnostic runs in its place.
expect_eq "the gather's failure leads to the storage manager diagnostic" \
"WKE App and Args: \"\"C:\\Program Files\\Tobrin\\NLDH\\bin\\perl\" \"C:\\Program Files\\Tobrin\\NLDH\\adm\\wkegather.pl\" --dir $run_w\\WKE\"
WKE Target Folder Name: $run_w\\WKE
Start - CaptureNLDInfo" \
  "$(entries_between "$entries" "wkegather.pl is available" "Start - CaptureNLDInfo" | tail -n +2)"
expect_file "$run/NLD/nld_diag.txt"

# A tool missing from the program folder, started directly: the creation failure with the
# system's text, the error code in the "Finish" line, and no output folder.
expect_eq "the missing cluster management diagnostic" \
"Start - CaptureQzUtils
Start - Application Name: $program_w\\pqhmc-diag.exe
Start - Arguments: \"$program_w\\pqhmc-diag.exe\" \"$run_w\\PQHMC\"
Start - Source Output File:
Start - Target Output File:$run_w\\PQHMC
Start - Move File: 1
Start - Timeout: -1
CreateProcess() failed to create $program_w\\pqhmc-diag.exe!!! REASON: <system text> Error = 2
Finish - CaptureQzUtils Error=2
Finish - CapturePQHMCInfo" \
  "$(entries_between "$entries" "PQHMC Target Folder Name: $run_w\\PQHMC" "Finish - CapturePQHMCInfo" | tail -n +2)"
expect_absent "$run/PQHMC"

# Through the command interpreter nothing is looked at: a crashing tool leaves its output
# file empty, a missing tool or command file leaves the lines of its capture and no output.
expect_eq "the crashing qzdiag's capture" \
"Start - Capturing QzDiag Information ...
QzDiag App: \"$program_w\\DOTNET\\qzdiag2003.EXE\" >> $run_w\\VM\\qzdiag.txt
QzDiag Target Folder Name: $run_w\\VM\\qzdiag.txt
Finish - Capturing QzDiag Information" \
  "$(entries_between "$entries" "Start - Capturing QzDiag Information ..." "Finish - Capturing QzDiag Information")"
# The file is made by the interpreter's redirection; Wine's debugger may put its account of
# the crash into it, the tool put nothing.
expect_file "$run/VM/qzdiag.txt"
if grep -q "stub output" "$run/VM/qzdiag.txt" 2>/dev/null; then fail "the crashed qzdiag wrote its output"; fi
expect_eq "the missing qzclustadm's capture" "Start - CaptureHNVInfo"$'\n'"Finish - CaptureHNVInfo" \
  "$(entries_between "$entries" "Start - CaptureHNVInfo" "Finish - CaptureHNVInfo")"
for file in VM/HNV_NIDMAP_REPORT.TXT VM/HNV_NODESTATE_REPORT.TXT; do
  expect_eq "$file of the missing qzclustadm" empty "$(file_state "$run/$file")"
done
expect_eq "the missing OSMU command file's capture" \
"Start - CaptureOSMUInfo
OSMU App and Args: \"$program_w\\osmu_snapshot.cmd\" -o $run_w\\OSMU
OSMU Target Folder Name: $run_w\\OSMU
Finish - CaptureOSMUInfo" \
  "$(entries_between "$entries" "Start - CaptureOSMUInfo" "Finish - CaptureOSMUInfo")"
expect_absent "$run/OSMU"

# Everything else was collected, from the first row (whose command file was missing) to the
# last, and packed.
for file in REGISTRY.TXT QzFilesToCab3.TXT VM/ALERT.LOG VM/QzOKAPO.LOG VM/kerd.log VM/instmpio.log VM/qdsminfo.log \
            VM/KDX_BINARY_VERSION.TXT OS/APP_Events.log OS/SYS_Events.log OS/CLUSTER.LOG OS/SYSTEM32_EXE_VER.TXT \
            OS/mountvol.txt MISC/qzsvc.log Solutions/solutions.log LICENSES/DUNMERE-ENT.lic PLR/Log.Pelorin \
            RBK_Schedules/NightlySnapshot.xml TEJ/perl.log WKE/perl.log clusnap/HA_FILEVER.TXT ZRX; do
  expect_file "$run/$file"
done
expect_cabinet "$machine/${incident}_${node}_${stamp}.cab"
expect_eq "tools and command files started, in order" \
  "get_foc_logs qzflxinfo qzdiag2003 get_wpp_logs clusnap get_ha_filever wltsnap ruqdiaginfo ruqdump perl nld_diag perl dumpzrxinfo qzfilever" \
  "$(tr -d '\r' <"$stub_log" | cut -d'|' -f1 | tr '\n' ' ' | sed 's/ $//')"

finish
