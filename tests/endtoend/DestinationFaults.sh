#!/usr/bin/env bash
# Silent collections on the demo machine whose local destination is a drive that fills up or
# one that is read-only. The drives are tmpfs mounts in a private mount namespace, mapped to
# Wine drive letters and handed to the runs as their home drive; the network share is out of
# reach under Wine, so each run falls back to its home drive.
#   T: 1 MiB with 64 KiB free: the run reports every copy the full drive refused, leaves no
#      partial copy behind, reaches "ULVIX - Done!", and keeps its report in the program folder
#      when the report cannot be moved onto the full drive.
#   R: read-only and empty: the bug folder cannot be made; the fatal line ends the run.
#   S: read-only with the bug and machine folders already there: the run folder cannot be made.
# Needs root for the namespace and the mounts; without them it says so and fails.
# Usage: DestinationFaults.sh <source folder> <build folder>
set -euo pipefail
if [[ -z "${ZELTRIN_PRIVATE_MOUNTS:-}" ]]; then
  if ! unshare --mount --propagation private true 2>/dev/null; then
    echo "FAIL: no private mount namespace can be made here (unshare --mount needs root):" \
         "the full and read-only destinations were not tried" >&2
    exit 1
  fi
  ZELTRIN_PRIVATE_MOUNTS=1 exec unshare --mount --propagation private bash "$0" "$@"
fi

source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" DestinationFaults
full_incident=e2efull
readonly_incident=e2eronly
# The full drive: 256 pages, all but 16 taken by a file that is not the run's.
full_size_kib=1024
free_kib=64
# No run of these may wait for a box nobody answers.
run_limit_s=120
box_wait_ms=100000

use_prefix "$build/e2e-faults-a-prefix"
# The wineserver opens the files itself, so it has to be one started inside this namespace.
wineserver -k >>"$wine_log" 2>&1 || true
wineserver -w
program="$work/program"
install_demo "$program"
prepare_run "$program"

drives="$work/drives"
mount_drive() {
  local letter="$1" folder="$drives/$2"
  mkdir -p "$folder"
  if ! mount -t tmpfs -o "size=${full_size_kib}k" "zeltrin-$2" "$folder"; then
    fail "cannot mount a tmpfs on $folder: the destination faults were not tried"
    finish
  fi
  ln -sfn "$folder" "$WINEPREFIX/dosdevices/$letter:"
}
make_read_only() {
  mount -o remount,ro "$drives/$1" || { fail "cannot make $drives/$1 read-only"; finish; }
}

# A silent run with the given home drive and incident; prints nothing, fails the test unless
# the run ends with the given status. "reserve=0": these drives are far below any free-space
# floor, and the runs are to meet the full and read-only drives themselves.
run_with_home_drive() {
  local status=0
  (cd "$program" && timeout $run_limit_s wine cmd /c "set HOMEDRIVE=$1& Zeltrin.exe -noGUI case#=$2 reserve=0" \
    >>"$wine_log" 2>&1 </dev/null) || status=$?
  expect_eq "the exit status of the run on $1" "$3" "$status"
}

report_name=""
# The one report a run left in the program folder, set aside under a name of its own.
take_report() {
  local reports
  mapfile -t reports < <(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
  expect_eq "reports the $1 run left in the program folder" 1 "${#reports[@]}"
  if ((${#reports[@]} == 1)); then
    mv "$program/${reports[0]}" "$work/$1-report.HTML"
    report_name="${reports[0]}"
  fi
}

share_w='\\zeltrin-logs\incidents\'

# --- T: fills up ------------------------------------------------------------------------
mount_drive t full
head -c $(((full_size_kib - free_kib) * 1024)) /dev/zero >"$drives/full/other-data.bin"
# A log bigger than the whole drive, early in the run.
alert_log="$drive_c/Program Files/Brennock/Dunmere/ALERTLOG/ALERT.LOG"
alert_log_w='C:\Program Files\Brennock\Dunmere\ALERTLOG\ALERT.LOG'
head -c $((2 * full_size_kib * 1024)) /dev/urandom >"$alert_log"
# Read-only, so its cut-off copy is read-only too and must still be removed.
chmod a-w "$alert_log"

box_record="$work/box.txt"
wine "$bin/msgbox-answer.exe" "Zeltrin - Marlowisp" "$(winepath -w "$box_record")" 0 $box_wait_ms \
  >>"$wine_log" 2>&1 </dev/null &
answerer=$!
# Done (0), although the report could not follow.
run_with_home_drive T: $full_incident 0
if kill -0 $answerer 2>/dev/null; then kill $answerer; fi
wait $answerer || true
chmod u+w "$alert_log"

machine="$drives/full/$full_incident/$node"
mapfile -t runs < <(find "$machine" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' 2>/dev/null)
expect_eq "run folders below $machine" 1 "${#runs[@]}"
stamp="${runs[0]:-none}"
run="$machine/$stamp"
run_w="T:\\$full_incident\\$node\\$stamp"

take_report full
entries="$(report_entries "$work/full-report.HTML" 2>&1)"
expect_whole_report "$work/full-report.HTML"
expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
# The share failed at once, so the run fell back to the home drive.
expect_entry "$entries" "CreateDirectory() failed to create $share_w$full_incident\\"
expect_entry "$entries" "Start - CreateTargetFolder T:\\$full_incident\\"
expect_entry "$entries" "Successfully created $run_w"
# The report could not follow onto the full drive: the box said where it is, it is whole in
# the program folder, and the run folder holds no empty one.
expect_eq "the box about the report" \
  "Could not move $report_name to $run_w\\$report_name. "$'\n\n'"However, you still have it in the local folder." \
  "$(cat "$box_record" 2>/dev/null | tail -n +2)"
expect_eq "reports in the run folder" "" "$(cd "$run" 2>/dev/null && ls -- *_ULVIX-Report.HTML 2>/dev/null)"

# The log bigger than the drive failed as a full disk (112) and left nothing; the space was
# free again for the plug-in files right after it; the drive filled up later all the same.
expect_eq "the big log's outcome" "112|0|$alert_log_w|$run_w\\VM\\ALERT.LOG" \
  "$(grab_outcomes "$entries" | grep -F "|$alert_log_w|")"
expect_absent "$run/VM/ALERT.LOG"
expect_file "$run/VM/VolumeManager.xml"
expect_file "$run/VM/Replication.xml"
(($(grab_outcomes "$entries" | grep -c '^112|') > 1)) || fail "no later copy met the full drive"
expect_grabs_whole "$entries" 'C:\' "$drive_c/" 'T:\' "$drives/full/" 'Z:\' /
expect_eq "the other data on the drive" $(((full_size_kib - free_kib) * 1024)) "$(stat -c %s "$drives/full/other-data.bin")"

# --- R: read-only, empty ----------------------------------------------------------------
mount_drive r readonly-empty
make_read_only readonly-empty
# No run folder (3).
run_with_home_drive R: $readonly_incident 3
take_report readonly-empty
entries="$(report_entries "$work/readonly-empty-report.HTML" 2>&1)"
expect_whole_report "$work/readonly-empty-report.HTML"
expect_entry "$entries" "Finish - CreateTargetFolder.  Error=3<BR>"
code="$(tr -d '\r' <<<"$entries" | sed -n "s/^Finish - CreateTargetFolder.  Error=\([0-9]*\)<BR>\$/\1/p" | tail -n 1)"
expect_eq "the end of the report on the read-only root" \
  "Error = $code"$'\n'"CreateDirectory() failed to create R:\\$readonly_incident\\"$'\n'"Finish - CreateTargetFolder.  Error=$code<BR>"$'\n'"FATAL: failed to create R:\\$readonly_incident\\" \
  "$(tr -d '\r' <<<"$entries" | tail -n 4)"
expect_entry_starting "$entries" "R:\\$readonly_incident\\ - "
[[ "$code" != 0 && "$code" != 183 ]] || fail "the read-only root gave the code $code"
expect_eq "what the run made on the read-only root" "" "$(ls -A "$drives/readonly-empty")"

# --- S: read-only, bug and machine folders already there ---------------------------------
mount_drive s readonly-made
mkdir -p "$drives/readonly-made/$readonly_incident/$node"
make_read_only readonly-made
run_with_home_drive S: $readonly_incident 3
take_report readonly-made
entries="$(report_entries "$work/readonly-made-report.HTML" 2>&1)"
expect_whole_report "$work/readonly-made-report.HTML"
ending="$(tr -d '\r' <<<"$entries" | tail -n 4)"
stamp_w="$(sed -n "s/^FATAL: failed to create S:\\\\$readonly_incident\\\\$node\\\\\(.*\)\$/\1/p" <<<"$ending")"
[[ "$stamp_w" =~ ^[0-9]{8}__[0-9]{2}-[0-9]{2}-[0-9]{2}$ ]] || fail "the fatal line names no run folder: [$ending]"
expect_eq "the end of the report below existing folders" \
  "Error = $code"$'\n'"CreateDirectory() failed to create S:\\$readonly_incident\\$node\\$stamp_w"$'\n'"Finish - CreateTargetFolder.  Error=$code<BR>"$'\n'"FATAL: failed to create S:\\$readonly_incident\\$node\\$stamp_w" \
  "$ending"
# Both existing levels were taken as they were (183), neither was said to have failed.
expect_entry_starting "$entries" "S:\\$readonly_incident\\ - "
expect_entry_starting "$entries" "S:\\$readonly_incident\\$node\\ - "
for level in "S:\\$readonly_incident\\" "S:\\$readonly_incident\\$node\\"; do
  if grep -Fxq "CreateDirectory() failed to create $level" <<<"$entries"; then fail "the existing $level was said to fail"; fi
done
expect_eq "what the run made below the existing folders" "" "$(ls -A "$drives/readonly-made/$readonly_incident/$node")"

finish
