#!/usr/bin/env bash
# Silent collections on the demo machine whose local destination is a small drive of its own: a
# tmpfs in a private mount namespace, mapped to a drive letter and handed to the run as its home
# drive (the network share is out of reach under Wine). First T:, 1 MiB with 64 KiB free and no
# floor: every copy the full drive refused is reported and leaves no partial copy, the run
# reaches "ULVIX - Done!", and its report stays in the program folder when it cannot be moved
# onto the full drive. Then drives that a floor guards: a registry dump larger than the room, a
# drive 150 KiB above its floor, 2,000 logs against a floor of 48 MiB, another process filling
# the drive mid-run, and a redacted run whose log has no room to be rewritten. Each keeps its
# floor free (sampled while it runs), names every file cut short or not written in a failure
# line and in the manifest, and ends with status 6.
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

# mount_drive <letter> <name> [<size in KiB>]
mount_drive() {
  mkdir -p "$drives/$2"
  mount -t tmpfs -o "size=${3:-$full_size_kib}k" "zeltrin-$2" "$drives/$2" || { fail "cannot mount a tmpfs on $drives/$2"; finish; }
  ln -sfn "$drives/$2" "$WINEPREFIX/dosdevices/${1,,}:"
}
free_bytes() { df -B1 --output=avail "$drives/$1" | tail -n 1; }

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
grep -Eq "^Not written: ${run_w//\\/\\\\}\\\\MANIFEST\.json: .*Error = 112!!!" "$wine_log" ||
  fail "no line says the manifest was not written for the full disk"

# --- Drives that a floor guards ------------------------------------------------------------
mib=$((1024 * 1024))
kerd="$drive_c/Program Files/Brennock/Dunmere/logs/kerd"
bulk_key='HKLM\SOFTWARE\BRENNOCK\QzSvc\ZeltrinBulk'
cleanup_plants() {
  rm -f "$kerd"/bulk*.log
  wine reg delete "$bulk_key" /f >>"$wine_log" 2>&1 || true
}
cleanup_plants

# floor_run <letter> <name> <drive KiB> <free KiB> <tokens...>: a quiet run onto the drive, its
# free space sampled while it runs and after. Sets status, least_free, console_lines and run/run_w.
floor_run() {
  local letter=$1 name=$2 size=$3 free=$4 pid
  shift 4
  mount_drive "$letter" "$name" "$size"
  head -c $(($(free_bytes "$name") - free * 1024)) /dev/zero >"$drives/$name/other-data.bin"
  incident="e2ef$letter"
  (cd "$program" && exec timeout 300 wine cmd /c "set HOMEDRIVE=$letter:& Zeltrin.exe -noGUI -quiet case#=$incident $*" \
    >"$work/$name-console.txt" 2>>"$wine_log" </dev/null) &
  pid=$!
  : >"$work/$name-free"
  while kill -0 $pid 2>/dev/null; do
    free_bytes "$name" >>"$work/$name-free"
    [[ -z "${during_run:-}" ]] || "$during_run" "$name"
    sleep 0.02
  done
  status=0
  wait $pid || status=$?
  free_bytes "$name" >>"$work/$name-free"
  least_free=$(sort -n "$work/$name-free" | head -n 1)
  console_lines="$(tr -d '\r' <"$work/$name-console.txt")"
  find_single_run "$drives/$name" "$letter:"
  rm -f "$program"/*_ULVIX-Report.HTML
}

# The run kept its floor, lost data and said so: status 6, never less than the floor free, every
# file of its own writing that the manifest marks cut short or not written named on the console
# with the bytes it holds, and no listing or dump left empty without a line.
expect_losses_said() {
  local name=$1 floor_mib=$2 path size
  expect_eq "the exit status of the run on $name" 6 "$status"
  ((least_free >= floor_mib * mib)) || fail "$name: the drive went down to $least_free bytes free, below the floor of $floor_mib MiB"
  while IFS=$'\t' read -r path size; do
    [[ "$size" =~ ^[0-9]+$ ]] || { fail "$name: $path is $size in the manifest's files"; continue; }
    if ((size == 0)); then
      grep -Fq "Not written: $run_w\\${path//\//\\}: " <<<"$console_lines" || fail "$name: no Not written line for $path"
      expect_absent "$run/$path"
    else
      grep -Fq "Cut short: $run_w\\${path//\//\\} after $size bytes: " <<<"$console_lines" || fail "$name: no Cut short line for $path"
      expect_eq "$name: the bytes of $path" "$size" "$(stat -c %s "$run/$path" 2>/dev/null)"
    fi
  done < <(python3 -c 'import json, sys
m = json.load(open(sys.argv[1], encoding="utf-8"))
cut = {f["path"] for f in m["files"] if f.get("cut")}
for s in m["steps"]:
    for f in s.get("cut", []):
        print("%s\t%d" % (f["path"], f["size"]))
        if f["size"] and f["path"] not in cut: print("%s\tnot marked cut" % f["path"])' "$run/MANIFEST.json")
  for path in REGISTRY.TXT OS/SYSTEM32_EXE_VER.TXT OS/SYSTEM32_DLL_VER.TXT OS/SYSTEM32_SYS_VER.TXT; do
    [[ -s "$run/$path" ]] || grep -Fq ": $run_w\\${path//\//\\}" <<<"$console_lines" ||
      fail "$name: $path is empty or missing without a line"
  done
}

# 20,000 registry values of the product, 3 MiB free, a floor of 1 MiB: the dump is cut short.
python3 -c 'import sys
print("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\BRENNOCK\\QzSvc\\ZeltrinBulk]")
for i in range(20000): print("\"Value%05d\"=\"%s\"" % (i, "v" * 120))' >"$work/bulk.reg"
wine regedit /s "$(winepath -w "$work/bulk.reg")" >>"$wine_log" 2>&1
floor_run U registry 4096 3072 reserve=1
expect_losses_said registry 1
grep -Fq "Cut short: $run_w\\REGISTRY.TXT after " <<<"$console_lines" || fail "the registry dump was not cut short"
wine reg delete "$bulk_key" /f >>"$wine_log" 2>&1

# 150 KiB above the floor: nothing is copied, the closing records still fit.
floor_run V closing 2048 $((1024 + 150)) reserve=1
expect_losses_said closing 1
grep -q '^Not copied: ' <<<"$console_lines" || fail "closing: no Not copied line"
expect_file "$run/MANIFEST.json"
expect_file "$run/SHA256SUMS"

# 2,000 logs of 16 KiB against a floor of 48 MiB on a drive of 64 MiB.
python3 -c 'import sys
for i in range(2000): open("%s/bulk%04d.log" % (sys.argv[1], i), "w").write(("%04d " % i) * 3276 + "\n")' "$kerd"
floor_run W manylogs $((64 * 1024)) $((64 * 1024)) reserve=48
expect_losses_said manylogs 48
grep -q '^Not copied: .*bulk[0-9]*\.log' <<<"$console_lines" || fail "manylogs: no log was kept out"
rm -f "$kerd"/bulk*.log

# Another process fills the drive once the run folder is there.
fill_drive() {
  [[ -z "$(find "$drives/$1" -mindepth 3 -maxdepth 3 -type d 2>/dev/null)" ]] && return
  head -c "$(free_bytes "$1")" /dev/zero >>"$drives/$1/other-data.bin" 2>/dev/null || true
  during_run=
}
during_run=fill_drive
floor_run X filled 8192 8192 reserve=1
least_free=$mib  # the other process, not the run, took the drive below its floor
expect_losses_said filled 1

# A text log of 40 MiB on a drive of 64 MiB with a floor of 16 MiB: it is copied, but has no
# room to be rewritten, so it is withheld and the console says so.
alert="$drive_c/Program Files/Brennock/Dunmere/ALERTLOG/ALERT.LOG"
python3 -c 'import sys; open(sys.argv[1], "w").write("12/07/2026 10:00:00 an alert of the volume manager\n" * 822084)' "$alert"
floor_run Y redacted $((64 * 1024)) $((64 * 1024)) reserve=16 redact
expect_losses_said redacted 16
grep -Fq "Withheld: VM/ALERT.LOG: it could not be redacted: less than 16 MiB free on Y:\\!!!" <<<"$console_lines" ||
  fail "redacted: the log without room is not said to be withheld"
expect_file "${run}_WITHHELD/VM/ALERT.LOG"
install_demo

cleanup_plants
finish
