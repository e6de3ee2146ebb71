#!/usr/bin/env bash
# A full silent collection must change nothing of the user's: the installation is fingerprinted
# (Fingerprint.sh) before and after the run, and the only differences allowed are those listed
# below, each with its reason.
# Usage: NothingChangedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" NothingChangedRun
source "$(dirname "$0")/FaultRuns.sh"
source "$(dirname "$0")/Fingerprint.sh"
incident=e2enochg

# What the run may change, as "<sign> <path>" ("-" gone, "+" new, "~" changed): nothing else.
allowed_changes=(
  # The multipath tool writes its output into the program folder under a fixed name, and the
  # run moves it into the run folder (move flag 1): a file of that name left there by an
  # earlier run of the tool is overwritten and moved away.
  "- program/qzflxinfo.enc"
)

use_faults_prefix
program="$work/program"
install_demo "$program"
prepare_run "$program"
rm -rf "${drive_c:?}/$incident"
printf 'left by an earlier run of the multipath tool\r\n' >"$program/qzflxinfo.enc"

fingerprint_installation "$program"
fingerprint >"$work/before.txt"
(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
fingerprint >"$work/after.txt"

find_single_run
expect_completed_run "$run" "$program" "$run_w"
expect_eq "the multipath tool's own output, moved in" "qzflxinfo stub output" \
  "$(file_state "$machine/$stamp/VM/qzflxinfo.enc")"
# The fingerprints cover what they must: the product's files, its tools and its keys.
for line in "program/qzflxinfo.EXE file" "program/Zeltrin.exe file" "Program Files/Brennock/Dunmere/logs/qzsvc.log file" \
            "TEMP/qzmpio/instmpio.log file" "Program Files/Tobrin/NLDH/bin/perl.exe file" \
            'HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK [HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK\QzSvc\CurrentVersion\VolumeManager] "Version"' \
            'HKEY_CURRENT_USER\Environment [HKEY_CURRENT_USER\Environment] "PQH_HOME"'; do
  grep -Fq -- "$line" "$work/before.txt" || fail "the fingerprint does not hold [$line]"
done
if grep -E ' (missing|cannot be exported)$' "$work/before.txt"; then fail "a folder or key of the installation is not there (above)"; fi

expect_eq "what the run changed of the installation" "$(printf '%s\n' "${allowed_changes[@]}" | sort)" \
  "$(differences "$work/before.txt" "$work/after.txt")"

finish
