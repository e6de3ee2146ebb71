#!/usr/bin/env bash
# Builds Zeltrin, installs the demo product into a demo Wine prefix (scripts/demo-install.sh)
# and runs one silent collection, "Zeltrin.exe -noGUI case#=123456", from the demo program
# folder. Then shows the program's own summary (run folder, files collected, failures, steps
# skipped, time taken, cabinets) and the failure lines it wrote. Exits 0 when the run
# completed (its report, ending in "ULVIX - Done!", lies in the run folder), nonzero when it
# did not.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
program="$build/demo/program"
incident=123456

bash "$root/scripts/setup.sh"
BUILD_DIR="$build" bash "$root/scripts/build.sh"
source "$root/scripts/wine-prefix.sh" "$build/demo/prefix"
BUILD_DIR="$build" bash "$root/scripts/demo-install.sh" "$WINEPREFIX" "$program"

# Every product tool and command file started appends its command line here.
stub_log="$build/demo/tool-starts.log"
rm -f "$stub_log"
export ZELTRIN_STUB_LOG="$(winepath -w "$stub_log")"

marker="$build/demo/run-started"
touch "$marker"
# The timestamps of the run folder are whole seconds; a run must not match an older one.
sleep 1

# The program's console lines are mixed with what the tools and the command interpreter
# print; all of it goes to a file of its own, and the program's lines are picked out below.
console_log="$build/demo/console.log"
cd "$program"
status=0
xvfb-run -a bash -c "wine Zeltrin.exe -noGUI case#=$incident; status=\$?; wineserver -w; exit \$status" \
  >"$console_log" 2>&1 || status=$?

# The share is out of reach here, so the run collects below the home drive's root.
incident_folder="$WINEPREFIX/drive_c/$incident"
report=$(find "$incident_folder" -mindepth 3 -maxdepth 3 -name '*_ULVIX-Report.HTML' -newer "$marker" \
           2>/dev/null | head -n 1)
left_behind=$(find "$program" -maxdepth 1 -name '*_ULVIX-Report.HTML' -newer "$marker" | head -n 1)

# The failure lines the program wrote: the report's entries, in order, that the program also
# put on its console before its summary (an entry quoting a system message is one line
# there). A failed copy names its source on an earlier entry; bring it along.
print_failures() {
  perl -e '
    open my $console, "<", $ARGV[1] or die "$ARGV[1]: $!\n";
    my %shown;
    while (my $line = <$console>) {
      $line =~ s/\r?\n\z//;
      last if $line =~ /^Run folder: /;
      $shown{$line} = 1 unless $line =~ /^\[[ 12][0-9]\/25\] /;
    }
    open my $report, "<", $ARGV[0] or die "$ARGV[0]: $!\n";
    my $html = do { local $/; <$report> };
    my $source = "";
    print "Failure lines:\n";
    for my $text (split /(?=(?:0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9](?:AM|PM)\t)/, $html) {
      $text =~ s/\A\d\d:\d\d:\d\d[AP]M\t// or next;
      $text =~ s/<BR>\z//; $text =~ s/[\r\n]+\z//; $text =~ s/[\r\n]+/ /g;
      $source = $1 if $text =~ /^Source File: (.*)/;
      next unless $shown{$text};
      print "  $text", ($text =~ /^Failed to (copy|Move)!!!/ ? " ($source)" : ""), "\n";
    }' "$1" "$console_log"
}

# The program's summary: its last lines, from "Run folder: " on.
print_summary() {
  local plain="$build/demo/console.plain"
  tr -d '\r' <"$console_log" >"$plain"
  local from
  from=$(grep -n '^Run folder: ' "$plain" | tail -n 1 | cut -d: -f1)
  if [ -n "$from" ]; then tail -n +"$from" "$plain"; else echo "run: the program wrote no summary" >&2; fi
}

if [ -z "$report" ]; then
  echo "run: the collection did not complete (exit status $status): no report in a new run folder below $incident_folder" >&2
  if [ -n "$left_behind" ]; then
    echo "Report log (left in the program folder): $left_behind"
    print_failures "$left_behind"
  fi
  exit 1
fi

print_summary
echo "Exit status: $status"
echo "Report log: $report"
echo "Console output of the program and the tools: $console_log"
[ -f "$stub_log" ] && echo "Tools and command files started: $(wc -l < "$stub_log") (listed in $stub_log)"
print_failures "$report"

if ! grep -q 'ULVIX - Done!' "$report"; then
  echo "run: the report does not end the run with \"ULVIX - Done!\"" >&2
  exit 1
fi
