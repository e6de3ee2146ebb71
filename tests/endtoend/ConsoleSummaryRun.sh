#!/usr/bin/env bash
# What a silent collection of the demo product tells its console: Zeltrin.exe started with its
# standard output in a file, then through a pipe. Checks the progress lines, the failure lines
# against the report, and the summary against the run folder and the cabinets on disk.
# Usage: ConsoleSummaryRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" ConsoleSummaryRun
incident=e2econ

use_prefix "$build/e2e-console-prefix"
program="$work/program"
install_demo "$program"
prepare_run "$program"
rm -rf "${drive_c:?}/$incident" "${drive_c:?}/e2epipe"

console="$work/console.txt"
started=$(date +%s)
(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >"$console" 2>>"$wine_log" </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
ended=$(date +%s)
tr -d '\r' <"$console" >"$work/console.lines"
lines="$work/console.lines"

find_single_run
expect_completed_run "$run" "$program" "$run_w"

# The report's entries, one a line, an entry that quotes a system message joined into one.
flat_entries() {
  perl -0777 -ne '
    s/\A<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report<\/TITLE>\n<\/HEADER>\n<BODY>\n<P>//;
    for my $entry (split /(?=(?:0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9](?:AM|PM)\t)/) {
      $entry =~ s/\A\d\d:\d\d:\d\d[AP]M\t//;
      $entry =~ s/<BR>\z//;
      $entry =~ s/[\r\n]+\z//;
      $entry =~ s/[\r\n]+/ /g;
      print "$entry\n";
    }' "$1"
}
report=$(ls "$run"/*_ULVIX-Report.HTML)
# The report's failure entries as an engineer would grep them; the share the run falls back
# from is not one.
flat_entries "$report" |
  grep -E '!!!|FATAL|^Failed|^Command line too long|^Damaged event record|^Ended after the time limit|^Couldn.t close handle|^CreateDirectory\(\) failed|^Entry does not expand|^Entry longer than a path|^Schedule file has no folder|^Schedule folder longer' |
  grep -v -x 'No more files are left, so we are done here!!!' | grep -v -F '\\zeltrin-logs\' >"$work/report-failures" || true
expect_eq "failure entries in the demo's report (the demo lacks some logs)" yes \
  "$( [[ -s "$work/report-failures" ]] && echo yes || echo no)"
while IFS= read -r entry; do
  grep -Fxq -- "$entry" "$lines" || fail "failure entry not on the console: $entry"
done <"$work/report-failures"

# Progress: every line "[nn/25] text", steps never going back, from the first to the last.
mapfile -t progress < <(grep -E '^\[[ 12][0-9]/25\] ' "$lines")
# The demo asks for every sub-folder, so no "Skipping" line comes before the first row.
expect_eq "first progress line" "[ 2/25] Stopping WPP Boot log ..." "${progress[0]:-none}"
expect_eq "last progress line" "[25/25] Packaging all the logs files ..." "${progress[-1]:-none}"
previous=0
for line in "${progress[@]}"; do
  step=$((10#$(tr -d ' ' <<<"${line:1:2}")))
  ((step >= previous)) || fail "progress goes back: $line"
  previous=$step
done
grep -Fxq "[ 9/25] Capturing YEB Alert LOG ..." "$lines" || fail "no progress line for the alert log"

# The summary: the last lines of the console.
summary_at=$(grep -n '^Run folder: ' "$lines" | tail -n 1 | cut -d: -f1)
mapfile -t summary < <(tail -n +"${summary_at:-1}" "$lines")
expect_eq "summary: run folder" "Run folder: $run_w" "${summary[0]:-}"

# Counted before the cabinet list was written: everything in the run folder now but that list.
files=$(find "$run" -type f | wc -l)
bytes=$(find "$run" -type f -printf '%s\n' | awk '{ total += $1 } END { print total + 0 }')
list_bytes=$(stat -c %s "$run/QzFilesToCab3.TXT")
expect_eq "summary: files" "Files collected: $((files - 1)) files, $((bytes - list_bytes)) bytes" "${summary[1]:-}"
expect_eq "summary: failures" "Failures: $(wc -l <"$work/report-failures")" "${summary[2]:-}"
[[ "${summary[3]:-}" =~ ^Steps\ skipped:\ ([0-9]+)\ of\ 38$ ]] || fail "summary: steps skipped [${summary[3]:-}]"
if [[ "${summary[4]:-}" =~ ^Time\ taken:\ ([0-9]+)\.[0-9]\ s$ ]]; then
  ((BASH_REMATCH[1] <= ended - started)) || fail "summary: time taken ${summary[4]} beyond $((ended - started)) s"
else
  fail "summary: time taken [${summary[4]:-}]"
fi

# The cabinets: the run's beside the run folder, the cluster snapshot's inside it; cabarc
# (Wine has no makecab) goes on in "_2", "_3", ... past 25 files.
cabinets_of() {
  local cabinet
  for cabinet in "$machine/${incident}_${node}_${stamp}"*.cab "$run/${incident}_${node}_${stamp}_HA"*.cab; do
    [[ -f "$cabinet" ]] || continue
    echo "  $(winepath -w "$cabinet" 2>>"$wine_log") ($(stat -c %s "$cabinet") bytes)"
  done | LC_ALL=C sort
}
expected_cabinets=$(cabinets_of)
expect_cabinet "$machine/${incident}_${node}_${stamp}.cab"
expect_cabinet "$run/${incident}_${node}_${stamp}_HA.cab"
expect_eq "summary: cabinet count" "Cabinet files: $(grep -c . <<<"$expected_cabinets")" "${summary[5]:-}"
expect_eq "summary: cabinets" "$expected_cabinets" "$(printf '%s\n' "${summary[@]:6}")"

# Through a pipe, quiet: the same summary reaches the reader.
(cd "$program" && wine Zeltrin.exe -noGUI -quiet "case#=e2epipe" 2>>"$wine_log" </dev/null | cat >"$work/pipe.txt") ||
  fail "the piped Zeltrin.exe ended with status $?"
incident=e2epipe
find_single_run
grep -q $'^Run folder: .*\r$' "$work/pipe.txt" || fail "the piped summary's lines do not end in CR LF"
expect_eq "summary through a pipe" "Run folder: $run_w" "$(tr -d '\r' <"$work/pipe.txt" | grep '^Run folder: ')"
expect_eq "the piped summary's cabinets" "$(cabinets_of)" "$(tr -d '\r' <"$work/pipe.txt" | sed -n '/^Cabinet files: /,$p' | tail -n +2)"

finish
