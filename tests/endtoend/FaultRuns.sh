# Sourced after EndToEnd.sh by the fault runs: their prefix, and the report read with the
# system's own wording of error texts put aside.

# The prefix the fault runs share (CTest lock e2e_faults_prefix), made on first use. A tool
# that crashes there ends at once, as on a server that shows no crash dialog: by default
# Wine's debugger would wait for its dialog to be closed, and the run with it.
use_faults_prefix() {
  use_prefix "$build/e2e-faults-b-prefix"
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$wine_log" 2>&1
}

# The entries of a report, each failure's quoted system text (its own wording, then a line
# "Error = <code>") shown as "<system text> Error = <code>". A text that is missing does not
# match, so the entry stays as written and fails the comparison.
entries_with_system_texts_put_aside() {
  report_entries "$1" | tr -d '\r' |
    perl -0777 -pe 's/(FAILED-> |REASON: )[^\n]+\nError = (-?\d+)$/$1<system text> Error = $2/mg'
}

# The entries from the first that equals <first> up to the next one that begins with <last>.
entries_between() {
  first="$2" last="$3" awk '
    !on && $0 == ENVIRON["first"] { on = 1 }
    on { print }
    on && index($0, ENVIRON["last"]) == 1 && $0 != ENVIRON["first"] { exit }' <<<"$1"
}

# The bytes of a file as the report names them: absent, empty, or its first line.
file_state() {
  if [[ ! -e "$1" ]]; then echo absent
  elif [[ ! -s "$1" ]]; then echo empty
  else head -n 1 "$1" | tr -d '\r'
  fi
}
