#!/usr/bin/env bash
# A silent collection on the demo machine whose local destination is a drive that fills up: a
# tmpfs of 1 MiB with 64 KiB free in a private mount namespace, mapped to T: and handed to the
# run as its home drive (the network share is out of reach under Wine). Every copy the full
# drive refused is reported and leaves no partial copy, the run reaches "ULVIX - Done!", and
# its report stays in the program folder when it cannot be moved onto the full drive.
# Needs root for the namespace and the mounts; without them it says so and fails.
# Usage: DestinationFaults.sh <source folder> <build folder>
source "$(dirname "$0")/PrivateMounts.sh" "$0" "$@"
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" DestinationFaults
full_size_kib=1024
free_kib=64

use_faults_prefix
# The wineserver opens the files itself, so it has to be one started inside this namespace.
wineserver -k >>"$wine_log" 2>&1 || true
wineserver -w
install_demo
drives="$work/drives"

mount_drive() {
  mkdir -p "$drives/$2"
  mount -t tmpfs -o "size=${full_size_kib}k" "zeltrin-$2" "$drives/$2" || { fail "cannot mount a tmpfs on $drives/$2"; finish; }
  ln -sfn "$drives/$2" "$WINEPREFIX/dosdevices/$1:"
}

# A silent run with the given home drive; the report it leaves in the program folder is
# moved aside and its entries put into "entries". "reserve=0": these drives are far below any
# free-space floor, and the runs are to meet the full and read-only drives themselves.
run_with_home_drive() {
  local reports
  status=0
  (cd "$program" && timeout 120 wine cmd /c "set HOMEDRIVE=$1& Zeltrin.exe -noGUI case#=$incident reserve=0" \
    >>"$wine_log" 2>&1 </dev/null) || status=$?
  expect_eq "the exit status of the run on $1" "$2" "$status"
  mapfile -t reports < <(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)
  expect_eq "reports the run on $1 left in the program folder" 1 "${#reports[@]}"
  report_name="${reports[0]:-none}"
  mv "$program/$report_name" "$work/$1-report.HTML" 2>/dev/null || true
  entries="$(entries_with_system_texts_put_aside "$work/$1-report.HTML")"
}

# --- T: fills up; a log bigger than the whole drive, read-only so its cut-off copy is too.
incident=e2efull
mount_drive t full
head -c $(((full_size_kib - free_kib) * 1024)) /dev/zero >"$drives/full/other-data.bin"
alert_log_w='C:\Program Files\Brennock\Dunmere\ALERTLOG\ALERT.LOG'
alert_log="$drive_c/Program Files/Brennock/Dunmere/ALERTLOG/ALERT.LOG"
head -c $((2 * full_size_kib * 1024)) /dev/urandom >"$alert_log"
chmod a-w "$alert_log"
wine "$bin/msgbox-answer.exe" "Zeltrin - Marlowisp" "$(winepath -w "$work/box.txt")" 0 100000 >>"$wine_log" 2>&1 </dev/null &
answerer=$!
run_with_home_drive T: 6
kill $answerer 2>/dev/null || true
wait $answerer || true
chmod u+w "$alert_log"
find_single_run "$drives/full" T:
expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
expect_entry "$entries" "Successfully created $run_w"
expect_eq "the box about the report" \
  "Could not move $report_name to $run_w\\$report_name. "$'\n\n'"However, you still have it in the local folder." \
  "$(tail -n +2 "$work/box.txt" 2>/dev/null)"
expect_eq "reports in the run folder" "" "$(cd "$run" 2>/dev/null && ls -- *_ULVIX-Report.HTML 2>/dev/null)"
# The big log failed as a full disk (112) and left nothing; the space was free again for the
# files right after it; later copies met the full drive all the same.
expect_eq "the big log's outcome" "112|$alert_log_w|$run_w\\VM\\ALERT.LOG" "$(grab_outcomes "$entries" | grep -F "|$alert_log_w|")"
expect_file "$run/VM/VolumeManager.xml"
(($(grab_outcomes "$entries" | grep -c '^112|') > 1)) || fail "no later copy met the full drive"
expect_grabs_whole "$entries" 'C:\' "$drive_c/" 'T:\' "$drives/full/" 'Z:\' /
expect_eq "the other data on the drive" $(((full_size_kib - free_kib) * 1024)) "$(stat -c %s "$drives/full/other-data.bin")"

finish
