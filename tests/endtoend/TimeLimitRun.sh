#!/usr/bin/env bash
# A silent collection with "timeout=2" against the demo installation whose multipath tool
# (started directly) and file version tool (through the command interpreter) hang for a
# minute, the version tool with a child of its own that hangs too. Each is ended with its
# whole process tree at the limit, with its report line and its record in the run manifest,
# and the run goes on to "ULVIX - Done!". Then a malformed limit under "-quiet": refused on
# the console with exit status 5, nothing made.
# Usage: TimeLimitRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" TimeLimitRun
incident=e2elimit
hang_ms=60000

use_faults_prefix
install_demo
# A tool of no product: it only logs its start and then hangs, the grandchild to be ended.
cp "$program/qzclustadm.exe" "$program/lingerer.exe"
rm -rf "${drive_c:?}/$incident"

started=$SECONDS
ZELTRIN_STUB_SLEEP="qzflxinfo,qzfilever,lingerer|$hang_ms" ZELTRIN_STUB_SPAWN="qzfilever|\"$program_w\\lingerer.exe\" hang" \
  zeltrin "case#=$incident" timeout=2 noshare
expect_eq "exit status of the limited run (a tool ended at the limit lost its data)" 6 "$status"
# The hung processes are gone as soon as the run is, give or take the moments Wine takes to
# tear a process down; left alone they would hang on for a minute.
for tool in qzflxinfo qzfilever lingerer; do
  for _ in $(seq 1 50); do
    pgrep -f "$tool" >/dev/null || break
    sleep 0.2
  done
  ! pgrep -f "$tool" >/dev/null || fail "$tool still runs after the run ended"
done
((SECONDS - started < hang_ms / 1000)) || fail "the run waited for the hung tools"

find_single_run
expect_completed_run
expect_eq "lingerer started by the version tool" "\"$program_w\\lingerer.exe\" hang" "$(tool_starts lingerer)"
expect_eq "the multipath tool's end at the limit" \
"Ended after the time limit of 2 seconds!!! Command: $program_w\\qzflxinfo.EXE -x
Termination status: 0x000005b4" \
  "$(entries_between "$entries" "Start - Application Name: $program_w\\qzflxinfo.EXE" "Termination status:" | tail -n 2)"
expect_entry "$entries" "Ended after the time limit of 2 seconds!!! Command: $(sed -n 's/^KDX File Ver AppArgs: //p' <<<"$entries")"
expect_eq "time-limit lines in the report, on the console, in the manifest" "2 2 2" \
  "$(grep -c '^Ended after the time limit of 2 seconds!!! ' <<<"$entries") $(tr -d '\r' <"$console" |
     grep -c '^Ended after the time limit of 2 seconds!!! ') $(grep -c '"timedOut": true' "$run/MANIFEST.json")"

# A limit out of range is refused before anything is made; under -quiet on the console.
rm -rf "${drive_c:?}/$incident"
zeltrin -quiet "case#=$incident" timeout=0
expect_eq "exit status of a malformed limit" 5 "$status"
expect_eq "the refusal on the console" \
  '"timeout=0" was refused: the time limit must be a whole number of seconds from 1 to 86400.' "$(tr -d '\r' <"$console")"
expect_absent "$drive_c/$incident"
expect_eq "reports left in the program folder" "" "$(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)"

finish
