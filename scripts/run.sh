#!/usr/bin/env bash
# Builds Zeltrin, installs the demo product into a demo Wine prefix (scripts/demo-install.sh)
# and runs one silent collection, "Zeltrin.exe -noGUI case#=123456", from the demo program
# folder. Then prints the run folder, how many files it holds, the cabinets made, and the
# report's failure lines. Exits 0 when the run completed (its report, ending in
# "ULVIX - Done!", lies in the run folder), nonzero when it did not.
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

# What the tools and the command interpreter print goes to a file of its own, so the
# summary below stays readable.
console_log="$build/demo/console.log"
cd "$program"
xvfb-run -a bash -c "wine Zeltrin.exe -noGUI case#=$incident; wineserver -w" >"$console_log" 2>&1

# The share is out of reach here, so the run collects below the home drive's root.
incident_folder="$WINEPREFIX/drive_c/$incident"
report=$(find "$incident_folder" -mindepth 3 -maxdepth 3 -name '*_ULVIX-Report.HTML' -newer "$marker" \
           2>/dev/null | head -n 1)
left_behind=$(find "$program" -maxdepth 1 -name '*_ULVIX-Report.HTML' -newer "$marker" | head -n 1)

# A failure line is one that an action wrote about something it could not do: it holds
# "!!!" or "FATAL", or begins with "Failed". Left out are the probes' notes of what is not
# installed ("FAILED->", "RegOpenKeyEx() failed") and the unreachable share the run falls
# back from, and the listing's "we are done here!!!".
print_failures() {
  local lines
  # A failed copy names its source on an earlier line; bring it along.
  lines=$(sed 's/<BR>/\n/g' "$1" | sed 's/<[^>]*>//g' |
          awk '/\tSource File: /{ source = substr($0, index($0, "Source File: ") + 13) }
               /Failed to (copy|Move)!!!/{ print $0 " (" source ")"; next }
               { print }' |
          grep -E '!!!|FATAL|(^|	)Failed' | grep -v 'so we are done here!!!' || true)
  if [ -z "$lines" ]; then
    echo "Failures: none"
  else
    echo "Failures ($(printf '%s\n' "$lines" | wc -l)):"
    printf '%s\n' "$lines" | sed 's/^/  /'
  fi
}

if [ -z "$report" ]; then
  echo "run: the collection did not complete: no report in a new run folder below $incident_folder" >&2
  if [ -n "$left_behind" ]; then
    echo "Report log (left in the program folder): $left_behind"
    print_failures "$left_behind"
  fi
  exit 1
fi

run_folder=$(dirname "$report")
echo "Run folder: $(winepath -w "$run_folder")  ($run_folder)"
echo "Report log: $report"
echo "Files collected: $(find "$run_folder" -type f | wc -l)"
cabinets=$(find "$(dirname "$run_folder")" -maxdepth 2 -name '*.cab' -newer "$marker" | sort)
if [ -z "$cabinets" ]; then
  echo "Cabinets: none"
else
  echo "Cabinets:"
  printf '%s\n' "$cabinets" | while read -r cab; do echo "  $cab ($(stat -c %s "$cab") bytes)"; done
fi
echo "Console output of the tools: $console_log"
[ -f "$stub_log" ] && echo "Tools and command files started: $(wc -l < "$stub_log") (listed in $stub_log)"
print_failures "$report"

if ! grep -q 'ULVIX - Done!' "$report"; then
  echo "run: the report does not end the run with \"ULVIX - Done!\"" >&2
  exit 1
fi
