#!/usr/bin/env bash
# A full silent collection must change nothing of the user's: the installation is fingerprinted
# (Fingerprint.sh) before and after the run; the only difference allowed is the multipath
# tool's output, which the tool writes into the program folder under a fixed name and the run
# moves into the run folder (an older file of that name is overwritten and moved away).
# Usage: NothingChangedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" NothingChangedRun
source "$(dirname "$0")/Fingerprint.sh"
incident=e2enochg

use_faults_prefix
install_demo
rm -rf "${drive_c:?}/$incident"
printf 'left by an earlier run of the multipath tool\r\n' >"$program/qzflxinfo.enc"

fingerprint_installation
fingerprint >"$work/before.txt"
zeltrin "case#=$incident"
fingerprint >"$work/after.txt"
expect_eq "exit status" 0 "$status"
find_single_run
expect_completed_run
expect_eq "the multipath tool's own output, moved in" "qzflxinfo stub output" "$(tr -d '\r' <"$run/VM/qzflxinfo.enc")"
# The fingerprints cover what they must: the product's files, its tools and its keys.
for line in "$program/Zeltrin.exe " "Dunmere/logs/qzsvc.log " "qzmpio/instmpio.log " "NLDH/bin/perl.exe " \
            '[HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK\QzSvc\CurrentVersion\VolumeManager] "Version"' '"PQH_HOME"'; do
  grep -Fq -- "$line" "$work/before.txt" || fail "the fingerprint does not hold [$line]"
done
! grep '^missing ' "$work/before.txt" || fail "a folder or key of the installation is not there (above)"
expect_eq "what the run changed of the installation" "< $program/qzflxinfo.enc" \
  "$(differences "$work/before.txt" "$work/after.txt")"

finish
