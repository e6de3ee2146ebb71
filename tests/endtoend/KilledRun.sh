#!/usr/bin/env bash
# Silent collections on the demo machine that are killed. One while it waits for the multipath
# tool: the tool goes with it, the report it leaves in the program folder must be whole up to
# its last entry, which is the wait it was killed in, and nothing may claim the run was done.
# One in the middle of a large copy: no file under the copy's name, which would look whole.
# Usage: KilledRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" KilledRun
incident=e2ekilled

use_faults_prefix
install_demo
rm -rf "${drive_c:?}/$incident"
release="$work/tool-release"
ZELTRIN_STUB_WAIT="qzflxinfo|$(winepath -w "$release" 2>>"$wine_log")"
export ZELTRIN_STUB_WAIT
# exec: the background job's process is Zeltrin.exe itself.
(cd "$program" && exec wine Zeltrin.exe -noGUI "$host_floor" "case#=$incident" >>"$wine_log" 2>&1 </dev/null) &
zeltrin=$!
# A whole demo run takes about 5 s; this is how long it may take to reach the tool.
for _ in $(seq 1 1200); do
  if [[ -n "$(tool_starts qzflxinfo)" ]] || ! kill -0 $zeltrin 2>/dev/null; then break; fi
  sleep 0.05
done
[[ -n "$(prefix_processes qzflxinfo)" ]] || fail "the multipath tool is not seen running"
[[ -n "$(tool_starts qzflxinfo)" ]] && kill -KILL $zeltrin 2>/dev/null ||
  fail "the run did not reach the multipath tool, or ended before it could be killed"
wait $zeltrin || true
# The tool's job ends it once the killed run's handle to the job is gone.
for _ in $(seq 1 100); do [[ -n "$(prefix_processes qzflxinfo)" ]] || break; sleep 0.05; done
expect_eq "the multipath tool's processes 5 s after its run was killed" "" "$(prefix_processes qzflxinfo)"
touch "$release"

# The run folder was filled up to the tool; the report stays where it was made, whole (it
# parses and ends with an entry's "<BR>"), ending with the wait for the tool.
find_single_run
expect_file "$run/REGISTRY.TXT"
expect_absent "$run/VM/qzflxinfo.enc"
mapfile -t reports < <(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
expect_eq "reports in the program folder" 1 "${#reports[@]}"
report="$program/${reports[0]:-none}"
expect_eq "the report's last bytes" "<BR>" "$(tail -c 4 "$report" 2>/dev/null)"
entries="$(report_entries "$report")"
expect_eq "the report's last entries" \
  "Start - Application Name: $program_w\\qzflxinfo.EXE
Start - Arguments:  -x
Start - Source Output File:qzflxinfo.enc
Start - Target Output File:$run_w\\VM\\qzflxinfo.enc
Start - Move File: 1
Start - Timeout: -1
Waiting for the process to terminate ..." \
  "$(tail -n 7 <<<"$entries")"
expect_no_entry_containing "$entries" "ULVIX - Done!"
rm -f "$program"/*_ULVIX-Report.HTML

# --- killed while it copies a log of 512 MiB: what is there is the partial file alone. One thread:
# the cluster log's command of row 6 would otherwise be starting beside the copy, and a child
# the run has created but not yet put into its job when it is killed stays behind, suspended.
rm -rf "${drive_c:?}/$incident"
alert="$drive_c/Program Files/Brennock/Dunmere/ALERTLOG/ALERT.LOG"
head -c $((512 * 1024 * 1024)) /dev/urandom >"$alert"
(cd "$program" && exec wine Zeltrin.exe -noGUI "$host_floor" "case#=$incident" threads=1 >>"$wine_log" 2>&1 </dev/null) &
zeltrin=$!
for _ in $(seq 1 3000); do
  partial="$(find "$drive_c/$incident" -name 'ALERT.LOG.zeltrin-part' 2>/dev/null || true)"
  if [[ -n "$partial" ]] || ! kill -0 $zeltrin 2>/dev/null; then break; fi
  sleep 0.01
done
[[ -n "$partial" ]] && kill -KILL $zeltrin 2>/dev/null || fail "the run ended before its copy of the large log could be killed"
wait $zeltrin || true
expect_eq "files under the copy's own name" "" "$(find "$drive_c/$incident" -name ALERT.LOG || true)"
rm -f "$program"/*_ULVIX-Report.HTML

# --- killed with four threads while three tools work side by side (the installer diagnostic of
# row 20, the management console's of row 23, the comms gather of row 24): every entry appended
# to the report is whole, the entries of the rows after the earliest one still working wait whole
# in the run folder, and no tool outlives the run.
rm -rf "${drive_c:?}/$incident"
: >"$stub_log"
ZELTRIN_STUB_WAIT="ruqdiaginfo,pqhmc-diag,perl|$(winepath -w "$work/three-release" 2>>"$wine_log")"
export ZELTRIN_STUB_WAIT
(cd "$program" && exec wine Zeltrin.exe -noGUI "$host_floor" "case#=$incident" threads=4 >>"$wine_log" 2>&1 </dev/null) &
zeltrin=$!
working() { [[ -n "$(tool_starts ruqdiaginfo)" && -n "$(tool_starts pqhmc-diag)" && -n "$(tool_starts perl)" ]]; }
for _ in $(seq 1 1200); do
  if working || ! kill -0 $zeltrin 2>/dev/null; then break; fi
  sleep 0.05
done
working && kill -KILL $zeltrin 2>/dev/null || fail "the run did not reach three tools at once, or ended before"
wait $zeltrin || true
for _ in $(seq 1 100); do [[ -z "$(prefix_processes ruqdiaginfo)$(prefix_processes pqhmc-diag)$(prefix_processes perl.exe)" ]] && break; sleep 0.05; done
expect_eq "the three tools' processes 5 s after their run was killed" "" \
  "$(prefix_processes ruqdiaginfo)$(prefix_processes pqhmc-diag)$(prefix_processes perl.exe)"
# A child of another row that was being created at the kill would stay suspended (see above).
wineserver -k 2>>"$wine_log" || true
touch "$work/three-release"
find_single_run
mapfile -t reports < <(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
expect_eq "reports in the program folder" 1 "${#reports[@]}"
entries="$(report_entries "$program/${reports[0]:-none}")" || fail "the killed run's report does not parse"
expect_eq "the report's last entry: the earliest row still working waits for its tool" \
  "Waiting for the process to terminate ..." "$(tail -n 1 <<<"$entries")"
# Each waiting entry is "<row><TAB><entry as the report holds it>" and a line end; an entry may
# hold line ends of its own (a system's error text). Rows 21 to 24 have begun, none before them.
waiting="$(perl -0777 -ne '
  for my $entry (split /(?=^\d+\t\d\d:\d\d:\d\d[AP]M\t)/m) {
    $entry =~ /\A(\d+)\t\d\d:\d\d:\d\d[AP]M\t.*<BR>\r\n\z/s or die "not whole: $entry\n";
    print "$1\n";
  }' "$run/REPORT_ENTRIES_WAITING.TXT" | sort -un | paste -sd ' ')" || fail "a waiting entry is not whole"
[[ "$waiting" =~ ^21\ 22\ 23\ 24(\ (2[5-9]|3[0-8]))*$ ]] || fail "rows whose entries wait in the run folder: [$waiting]"
rm -f "$program"/*_ULVIX-Report.HTML
install_demo

finish
