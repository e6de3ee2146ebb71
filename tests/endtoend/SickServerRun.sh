#!/usr/bin/env bash
# A server short of space. First "-list" on the demo: it names the steps the run then carries
# out, and changes nothing. Then a silent run onto a tmpfs drive T: with 48 MiB above the
# default floor of 1 GiB (in a private mount namespace, as root): a 64 MiB log is not copied,
# two 20 MiB logs are, packing is not done, the floor stays free, no copy fails for a full disk
# (112), and the run still reaches "ULVIX - Done!".
# Usage: SickServerRun.sh <source folder> <build folder>
source "$(dirname "$0")/PrivateMounts.sh" "$0" "$@"
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" SickServerRun
source "$(dirname "$0")/Fingerprint.sh"
incident=e2esick
mib=$((1024 * 1024))

use_faults_prefix
# The wineserver opens the files itself, so it has to be one started inside this namespace.
wineserver -k >>"$wine_log" 2>&1 || true
wineserver -w
# The large logs go at the start too, in case an earlier run of this test was killed.
rm -f "$WINEPREFIX/drive_c/Program Files/Brennock/Dunmere/logs/kerd/big"*.log
install_demo

# --- the plan: it changes nothing, makes no run folder and starts no tool (the stand-ins log) ---
fingerprint_installation
fingerprint >"$work/before.txt"
(cd "$program" && wine Zeltrin.exe -list "case#=$incident" 2>>"$wine_log" </dev/null | tr -d '\r' >"$work/plan.txt") ||
  fail "Zeltrin.exe -list ended with status $?"
fingerprint >"$work/after.txt"
expect_eq "what -list changed" "" "$(differences "$work/before.txt" "$work/after.txt")"
expect_absent "$drive_c/$incident"
expect_absent "$stub_log"
# The golden plan, with this machine's node, time stamp, free space and floor put aside.
# Its step lines and totals; DemoRun holds the detail lines under each step against a run.
expect_eq "the plan of the demo" "$(cat "$root/tests/endtoend/SickServerPlan.txt")" \
  "$(grep -v '^    ' "$work/plan.txt" | sed -e "s/\\\\$node\\\\/\\\\<node>\\\\/g" -e "s/${program_w//\\/\\\\}/<program>/g" -e 's/[0-9]\{8\}__[0-9-]\{8\}/<time stamp>/g' \
         -e 's/^\(Free space on C:.\): [0-9]* bytes, floor [0-9]* MiB$/\1: <free> bytes, floor <floor> MiB/')"

# --- the run on a drive short of space --------------------------------------------------
drive="$work/drive"
mkdir -p "$drive"
mount -t tmpfs -o "size=$((1024 + 48))m" zeltrin-sick "$drive" || { fail "cannot mount a tmpfs on $drive"; finish; }
ln -sfn "$drive" "$WINEPREFIX/dosdevices/t:"
logs="$drive_c/Program Files/Brennock/Dunmere"
head -c $((64 * mib)) /dev/urandom >"$logs/ALERTLOG/ALERT.LOG"
head -c $((20 * mib)) /dev/urandom >"$logs/logs/kerd/big1.log"
head -c $((20 * mib)) /dev/urandom >"$logs/logs/kerd/big2.log"
status=0
(cd "$program" && timeout 300 wine cmd /c "set HOMEDRIVE=T:& Zeltrin.exe -noGUI case#=$incident" \
  >"$work/console.txt" 2>>"$wine_log" </dev/null) || status=$?
expect_eq "the exit status of the run (the floor kept data out)" 6 "$status"

find_single_run "$drive" T:
expect_completed_run
alert_w='C:\Program Files\Brennock\Dunmere\ALERTLOG\ALERT.LOG'
expect_eq "the Not copied lines" \
  "Not copied: $alert_w ($((64 * mib)) bytes) would leave less than 1024 MiB free on T:\\!!!" \
  "$(grep '^Not copied: ' <<<"$entries")"
grep -Fq "Not packed: $run_w (" <<<"$entries" || fail "no Not packed line"
expect_eq "the copies the floor kept out" "1295|$alert_w" "$(grab_outcomes "$entries" | grep '^1295|' | cut -d'|' -f1-2)"
expect_eq "the copies that met a full disk" 0 "$(grab_outcomes "$entries" | grep -c '^112|' || true)"
expect_file "$run/VM/big1.log"
expect_file "$run/VM/big2.log"
expect_eq "cabinets made" "" "$(find "$machine" -maxdepth 1 -name '*.cab')"
(($(df -B1 --output=avail "$drive" | tail -n 1) >= 1024 * mib)) || fail "the run went below the floor"
grep -q '^Not copied: ' "$work/console.txt" || fail "the console holds no Not copied line"
expect_eq "the manifest's files not copied" 1 "$(grep -c '"notCopied"' "$run/MANIFEST.json")"
# The run carried out the steps -list named, those and no others.
expect_eq "the steps that ran" "$(sed -n 's/^ *\([0-9]*\) .*: runs$/\1/p' "$work/plan.txt")" \
  "$(perl -MJSON::PP -0777 -ne 'print map { "$_->{row}\n" } grep { $_->{carriedOut} } @{decode_json($_)->{steps}}' \
     "$run/MANIFEST.json")"
umount "$drive"
# The next test of this prefix finds the demo's own logs (install_demo brings the alert log back).
rm -f "$logs/logs/kerd/big"*.log
finish
