#!/usr/bin/env bash
# Two silent collections of one incident started together, so both take their run folder's
# time stamp in the same second: the first to create it collects, the second must fail at
# the time-stamp level, say so, and leave its report in the program folder. The machine is
# Windows 8 with the demo product but without the management server's install folder, so
# the winner also shows the cluster command's Windows 8 argument and the storage manager
# fallback of the operations-manager gather.
# Usage: SameSecondRuns.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" SameSecondRuns
# Two runs started together usually stamp the same second; when they straddle a second
# boundary the pair is tried again with a new incident.
attempts=3

use_prefix "$build/e2e-prefix"
program="$work/program"
install_demo "$program"
winecfg -v win8 >>"$wine_log" 2>&1
wine reg delete 'HKLM\SOFTWARE\TOBRIN\NLDH\quintl' /v Installdir /f >>"$wine_log" 2>&1 ||
  fail "cannot remove the management server's install folder value"
prepare_run "$program"

collided=""
for attempt in $(seq 1 $attempts); do
  incident="e2esame$attempt"
  rm -rf "${drive_c:?}/$incident" "$stub_log"
  rm -f "$program"/*_ULVIX-Report.HTML
  (cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) &
  first=$!
  (cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) &
  second=$!
  first_status=0
  second_status=0
  wait $first || first_status=$?
  wait $second || second_status=$?
  machine="$drive_c/$incident/$node"
  mapfile -t runs < <(find "$machine" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' 2>/dev/null)
  if [[ ${#runs[@]} -eq 1 ]]; then
    collided=yes
    break
  fi
  expect_eq "the exit statuses of two runs in different seconds" "0 0" "$first_status $second_status"
  echo "attempt $attempt: the two runs took different seconds (${runs[*]}); trying again"
done
[[ -n "$collided" ]] || { fail "no two runs in $attempts attempts stamped the same second"; finish; }
# Either may win: one is done (0), the other found no run folder (3).
expect_eq "the exit statuses of the two runs, lower first" "0 3" \
  "$(printf '%s\n' "$first_status" "$second_status" | sort -n | paste -sd ' ')"

stamp="${runs[0]}"
run="$machine/$stamp"
run_w="C:\\$incident\\$node\\$stamp"

# The winner's report lies in the run folder and ends the run; the loser's stays behind.
mapfile -t moved < <(cd "$run" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
mapfile -t kept < <(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
expect_eq "reports in the run folder" 1 "${#moved[@]}"
expect_eq "reports left in the program folder" 1 "${#kept[@]}"
winner="$(report_entries "$run/${moved[0]:-none}" 2>&1)"
loser="$(report_entries "$program/${kept[0]:-none}" 2>&1)"
expect_eq "the winner's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$winner")"
expect_eq "the loser's last three entries" \
  "CreateDirectory() failed to create $run_w"$'\n'"Finish - CreateTargetFolder.  Error=183<BR>"$'\n'"FATAL: failed to create $run_w" \
  "$(tail -n 3 <<<"$loser")"
expect_no_entry_containing "$loser" "ULVIX - Done!"
expect_no_entry_containing "$loser" "Start - CaptureWKEInfo"

# Windows 8: the cluster command's last argument is 1.
expect_tool_start "$stub_log" get_foc_logs "$run_w\\OS 1"
expect_eq "the cluster log" "get_foc_logs stub output (Windows 8 or later: 1)" \
  "$(head -n 1 "$run/OS/CLUSTER.LOG" 2>/dev/null | tr -d '\r')"

# Without the install folder the gather is not tried: its start is followed at once by the
# probe's lines and the storage manager diagnostic.
wke_to_nld="$(awk '/^Start - CaptureWKEInfo$/ { on = 1 } on { print } /^Start - CaptureNLDInfo$/ { exit }' <<<"$winner")"
expect_no_entry_containing "$wke_to_nld" "WKE Install Dir"
expect_no_entry_containing "$wke_to_nld" "wkegather.pl"
expect_eq "the entry after the gather's start ends the probe's block" "Start - CaptureNLDInfo" "$(tail -n 1 <<<"$wke_to_nld")"
expect_entry "$winner" "NLD App and Args: \"$program_w\\nld_diag.cmd\" \"$run_w\\NLD\""
expect_tool_start "$stub_log" nld_diag "\"$run_w\\NLD\""
expect_file "$run/NLD/nld_diag.txt"
expect_absent "$run/WKE"
# The communication script's interpreter path is built from the missing folder too, so the
# interpreter cannot be found and nothing is started.
expect_tool_start "$stub_log" perl ""
expect_absent "$run/TEJ"

finish
