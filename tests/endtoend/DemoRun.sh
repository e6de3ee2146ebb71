#!/usr/bin/env bash
# One silent collection, "Zeltrin.exe -noGUI case#=e2edemo", on a Windows 7 machine with the
# demo product installed and the operations manager's gather script in place. Checks the run
# folder's layout and files, the report, the command line every stand-in tool and command
# file received, and the cabinets the shipped packaging command files made.
# Usage: DemoRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" DemoRun
incident=e2edemo

use_prefix "$build/e2e-prefix"
program="$work/program"
install_demo "$program"
wrap_packaging_command_files "$program"
winecfg -v win7 >>"$wine_log" 2>&1
prepare_run "$program"
management_server="$drive_c/Program Files/Tobrin/NLDH"
mkdir -p "$management_server/adm"
echo '# stand-in gather script; the demo perl writes the output' >"$management_server/adm/wkegather.pl"
rm -rf "${drive_c:?}/$incident"

started=$(date +%s)
(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
ended=$(date +%s)

# The layout: C:\<incident>\<node>\<time stamp>, the stamp taken during the run.
machine="$drive_c/$incident/$node"
mapfile -t runs < <(find "$machine" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' 2>/dev/null)
expect_eq "run folders below $machine" 1 "${#runs[@]}"
stamp="${runs[0]:-none}"
[[ "$stamp" =~ ^([0-9]{2})([0-9]{2})([0-9]{4})__([0-9]{2})-([0-9]{2})-([0-9]{2})$ ]] ||
  fail "run folder name [$stamp] is not mmddyyyy__HH-MM-SS"
stamp_time=$(date -d "${BASH_REMATCH[3]:-0}-${BASH_REMATCH[1]:-0}-${BASH_REMATCH[2]:-0} ${BASH_REMATCH[4]:-0}:${BASH_REMATCH[5]:-0}:${BASH_REMATCH[6]:-0}" +%s 2>/dev/null || echo 0)
((stamp_time >= started && stamp_time <= ended)) || fail "time stamp $stamp is not within the run"
run="$machine/$stamp"
run_w="C:\\$incident\\$node\\$stamp"

# The report: moved from the program folder into the run folder, the run's last entry.
expect_completed_run "$run" "$program" "$run_w"
expect_entry "$entries" "Incident #: $incident"
expect_entry "$entries" "WKE Install Dir: C:\\Program Files\\Tobrin\\NLDH\\"
expect_entry "$entries" "wkegather.pl is available"
expect_no_entry_containing "$entries" "Start - CaptureNLDInfo"
expect_no_entry_containing "$entries" "FATAL"

# Sub-folders made for the options and by the tools, and files the demo's logs and tools
# left in them.
for folder in VM OS MISC Solutions RBK_Schedules LICENSES PLR RUQ OSMU WKE PQHMC TEJ clusnap wltsnap; do
  expect_folder "$run/$folder"
done
expect_absent "$run/NLD"
for file in REGISTRY.TXT QzFilesToCab3.TXT \
            VM/ALERT.LOG VM/QzOKAPO.LOG VM/QzOKAPO.LOG.1 VM/VM_QzOKAPO.LOG VM/kerd.log VM/kerd.log.1 \
            VM/VolumeManager.xml VM/Replication.xml VM/qzflxinfo.enc VM/instmpio.log VM/qdsminfo.log \
            VM/qzdiag.txt VM/KDX_BINARY_VERSION.TXT VM/HNV_NIDMAP_REPORT.TXT VM/HNV_NODESTATE_REPORT.TXT \
            OS/APP_Events.log OS/SYS_Events.log OS/CLUSTER.LOG OS/SYSTEM32_EXE_VER.TXT OS/SYSTEM32_DLL_VER.TXT \
            OS/SYSTEM32_SYS_VER.TXT OS/mountvol.txt \
            MISC/qzsvc.log MISC/setup.log Solutions/solutions.log LICENSES/DUNMERE-ENT.lic LICENSES/DUNMERE-DMP.lic \
            PLR/Log.Pelorin PLR/Product.Inventory.Pelorin RUQ/ruqdiaginfo.log RUQ/ruqdump.log \
            RBK_Schedules/NightlySnapshot.xml RBK_Schedules/NightlySnapshot.log \
            RBK_Schedules/HourlyRecovery.xml RBK_Schedules/HourlyRecovery.log OSMU/osmu_snapshot.txt WKE/perl.log PQHMC/pqhmc-diag.log TEJ/perl.log \
            clusnap/clusnap.log clusnap/HA_FILEVER.TXT clusnap/QzHAFilesToCab3.TXT wltsnap/wltsnap.log; do
  expect_file "$run/$file"
done
expect_eq "the multipath tool's output, moved in" "qzflxinfo stub output" "$(tr -d '\r' <"$run/VM/qzflxinfo.enc")"
expect_absent "$program/qzflxinfo.enc"
# The replication script is given the run folder's "ZRX" path as its output file.
expect_eq "the replication configuration" "DumpZRXInfo stub output" "$(tr -d '\r' <"$run/ZRX" 2>/dev/null)"
expect_eq "the cluster log" "get_foc_logs stub output (Windows 8 or later: 0)" \
  "$(head -n 1 "$run/OS/CLUSTER.LOG" | tr -d '\r')"

# Every start, in the order of the step table and the packaging at the end.
expect_eq "tools and command files started, in order" \
  "stop_wpp_ssn get_foc_logs qzflxinfo qzdiag2003 get_wpp_logs clusnap get_ha_filever qzhacab wltsnap ruqdiaginfo ruqdump osmu_snapshot perl pqhmc-diag perl dumpzrxinfo qzfilever qzclustadm qzclustadm qzcab" \
  "$(tr -d '\r' <"$stub_log" | cut -d'|' -f1 | tr '\n' ' ' | sed 's/ $//')"
# The command lines they received. A tool started directly gets the arguments alone as its
# command line, so the multipath tool sees " -x" and the others name themselves first.
expect_tool_start "$stub_log" stop_wpp_ssn ""
expect_tool_start "$stub_log" get_foc_logs "$run_w\\OS 0"
expect_tool_start "$stub_log" qzflxinfo " -x"
expect_tool_start "$stub_log" qzdiag2003 "\"$program_w\\DOTNET\\qzdiag2003.EXE\" "
expect_tool_start "$stub_log" get_wpp_logs ""
expect_tool_start "$stub_log" clusnap "\"C:\\Program Files\\Brennock\\PQH\\bin\\clusnap.exe\" -o \"$run_w\""
expect_tool_start "$stub_log" get_ha_filever "$run_w "
expect_tool_start "$stub_log" qzhacab "$run_w\\clusnap $system32 $incident NO $stamp 0"
expect_tool_start "$stub_log" wltsnap "\"C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe\" -o \"$run_w\""
expect_tool_start "$stub_log" ruqdiaginfo "$program_w\\ruqdiaginfo.exe $run_w\\RUQ /silent"
expect_tool_start "$stub_log" ruqdump "$program_w\\ruqdump.exe $run_w\\RUQ"
expect_tool_start "$stub_log" osmu_snapshot "-o $run_w\\OSMU"
expect_tool_start "$stub_log" perl \
  "\"C:\\Program Files\\Tobrin\\NLDH\\bin\\perl\" \"C:\\Program Files\\Tobrin\\NLDH\\adm\\wkegather.pl\" --dir $run_w\\WKE"$'\n'"\"C:\\Program Files\\Tobrin\\NLDH\\bin\\perl\" \"$program_w\\linkgrab.pl\" -local -d $run_w\\TEJ"
expect_tool_start "$stub_log" pqhmc-diag "\"$program_w\\pqhmc-diag.exe\" \"$run_w\\PQHMC\""
expect_tool_start "$stub_log" dumpzrxinfo "$run_w\\ZRX"
expect_tool_start "$stub_log" qzfilever "qzfilever.EXE "
expect_tool_start "$stub_log" qzclustadm "qzclustadm nidmap "$'\n'"qzclustadm -v nodestate "
expect_tool_start "$stub_log" qzcab "$run_w $system32 $incident NO $stamp 0"

# The cabinets: the snapshot's inside the run folder (listed in the run's cabinet list), the
# run's beside it in the machine folder.
expect_cabinet "$run/${incident}_${node}_${stamp}_HA.cab"
expect_cabinet "$machine/${incident}_${node}_${stamp}.cab"
grep -Fq "\"\\${incident}_${node}_${stamp}_HA.cab\" \"\\${incident}_${node}_${stamp}_HA.cab\";" "$run/QzFilesToCab3.TXT" ||
  fail "the run's cabinet list does not name the snapshot cabinet"

# The run manifest: every hash in SHA256SUMS holds for the file on this side too, the
# report and the manifest among them, and both files travel in the cabinet.
expect_file "$run/SHA256SUMS"
expect_file "$run/MANIFEST.json"
(cd "$run" && sha256sum --strict -c SHA256SUMS >>"$wine_log" 2>&1) || fail "sha256sum -c SHA256SUMS failed in the run folder"
for listed in "$(basename "$(ls "$run"/*_ULVIX-Report.HTML)")" MANIFEST.json REGISTRY.TXT VM/qdsminfo.log; do
  grep -Fq "  $listed"$'\r' "$run/SHA256SUMS" || fail "SHA256SUMS does not name $listed"
done
for listed in MANIFEST.json SHA256SUMS; do
  grep -Fq "\"\\$listed\" \"\\$listed\";" "$run/QzFilesToCab3.TXT" || fail "the run's cabinet list does not name $listed"
done

finish
