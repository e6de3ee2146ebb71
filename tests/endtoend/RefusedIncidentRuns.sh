#!/usr/bin/env bash
# Silent runs given incident numbers built to break out of the bug folder or of a command
# line, against the demo installation: the checks are those of RefusedIncidentRunsTest.cpp,
# run under Wine in the fault runs' prefix.
# Usage: RefusedIncidentRuns.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" RefusedIncidentRuns

use_faults_prefix
install_demo
rm -f "$stub_log"
ZELTRIN_DEMO_PROGRAM="$program_w" wine "$bin/endtoend_refused_incident_runs.exe" 2>>"$wine_log" </dev/null |
  tr -d '\r' || fail "the refused runs' checks failed (above), status $?"

finish
