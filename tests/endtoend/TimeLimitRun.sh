#!/usr/bin/env bash
# A silent collection with "timeout=2" against the demo installation whose multipath tool
# (started directly) and file version tool (started through the command interpreter) hang
# for a minute, the version tool with a child of its own that hangs too. Each is ended with
# its whole process tree at the limit, with its report line and its record in the run
# manifest, and the run goes on to "ULVIX - Done!" and exit status 0. Then a malformed
# limit under "-quiet": refused on the console with exit status 5, nothing made.
# Usage: TimeLimitRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" TimeLimitRun
source "$(dirname "$0")/FaultRuns.sh"
incident=e2elimit
hang_ms=60000

use_faults_prefix
program="$work/program"
install_demo "$program"
prepare_run "$program"
# A tool of no product: it only logs its start and then hangs, the grandchild to be ended.
cp "$program/qzclustadm.exe" "$program/lingerer.exe"
rm -rf "${drive_c:?}/$incident"
console="$work/console.txt"

started=$SECONDS
status=0
(cd "$program" && ZELTRIN_STUB_SLEEP="qzflxinfo,qzfilever,lingerer|$hang_ms" \
  ZELTRIN_STUB_SPAWN="qzfilever|\"$program_w\\lingerer.exe\" hang" \
  wine Zeltrin.exe -noGUI "case#=$incident" timeout=2 noshare >"$console" 2>>"$wine_log" </dev/null) || status=$?
expect_eq "exit status of the limited run" 0 "$status"
# The hung processes are gone as soon as the run is, give or take the moments Wine takes to
# tear a process down; left alone they would hang on for a minute.
for tool in qzflxinfo qzfilever lingerer; do
  for ((tries = 0; tries < 50; tries++)); do
    pgrep -f "$tool" >/dev/null || break
    sleep 0.2
  done
  echo "$tool gone after $tries polls" >>"$wine_log"
  if pgrep -f "$tool" >/dev/null; then fail "$tool still runs after the run ended: $(pgrep -af "$tool")"; fi
done
((SECONDS - started < hang_ms / 1000)) || fail "the run waited for the hung tools"

find_single_run
expect_completed_run "$run" "$program" "$run_w"
expect_eq "lingerer started by the version tool" "\"$program_w\\lingerer.exe\" hang" "$(tool_starts "$stub_log" lingerer)"

expect_eq "the multipath tool's end at the limit" \
"Waiting for the process to terminate ...
Ended after the time limit of 2 seconds!!! Command: $program_w\\qzflxinfo.EXE -x
Termination status: 0x000005b4" \
  "$(entries_between "$entries" "Start - Application Name: $program_w\\qzflxinfo.EXE" "Termination status:" | tail -n 3)"
version_command="$(sed -n 's/^KDX File Ver AppArgs: //p' <<<"$entries")"
[[ -n "$version_command" ]] || fail "no version tool command in the report"
expect_entry "$entries" "Ended after the time limit of 2 seconds!!! Command: $version_command"
expect_eq "time-limit lines" 2 "$(grep -c '^Ended after the time limit of 2 seconds!!! ' <<<"$entries")"

# The manifest says which children were ended, and the console lists both lines as failures.
expect_eq "children ended at the limit in the manifest" 2 "$(grep -c '"timedOut": true' "$run/MANIFEST.json")"
expect_eq "time-limit lines on the console" 2 "$(tr -d '\r' <"$console" | grep -c '^Ended after the time limit of 2 seconds!!! ')"
grep -q "^Run folder: $(sed 's/\\/\\\\/g' <<<"$run_w")"$'\r'"\?$" "$console" || fail "no summary naming the run folder on the console"

# A limit out of range is refused before anything is made; under -quiet the refusal is on
# the console instead of in a box.
rm -rf "${drive_c:?}/$incident"
status=0
(cd "$program" && wine Zeltrin.exe -noGUI -quiet "case#=$incident" timeout=0 >"$console" 2>>"$wine_log" </dev/null) ||
  status=$?
expect_eq "exit status of a malformed limit" 5 "$status"
expect_eq "the refusal on the console" \
  '"timeout=0" was refused: the time limit must be a whole number of seconds from 1 to 86400.' \
  "$(tr -d '\r' <"$console")"
expect_absent "$drive_c/$incident"
expect_eq "reports left in the program folder" "" "$(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)"

finish
