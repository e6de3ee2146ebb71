# Sourced by the end-to-end scripts: whole silent collections of the built Zeltrin.exe, run
# under Wine in a prefix of their own (never the prefix the other tests share), and checks
# that count their failures instead of stopping at the first one.
# Usage: source EndToEnd.sh <source folder> <build folder> <name of the calling test>
set -euo pipefail

root="$(realpath "$1")"
build="$(realpath "$2")"
bin="$build/bin"
work="$build/endtoend/$3"
rm -rf "$work"
mkdir -p "$work"
# Wine's own output and that of the tools and command interpreters started by the runs.
wine_log="$work/wine.log"
: >"$wine_log"

failures=0
# A step that fails outside the checks ends the script; it says which, so the cause can be found.
trap 'echo "stopped by a failing step at line $LINENO: $BASH_COMMAND (Wine and the tools: $wine_log)" >&2' ERR

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_eq() {
  if [[ "$2" != "$3" ]]; then
    fail "$1"$'\n'"  expected: [$2]"$'\n'"  actual:   [$3]"
  fi
}

expect_file() { [[ -f "$1" ]] || fail "no file $1"; }
expect_folder() { [[ -d "$1" ]] || fail "no folder $1"; }
# A cabinet file: it exists and opens with the cabinet signature "MSCF".
expect_cabinet() {
  expect_eq "signature of $1" MSCF "$(head -c 4 "$1" 2>/dev/null)"
}

expect_absent() { [[ ! -e "$1" ]] || fail "should not exist: $1"; }

# Points Wine at a prefix, made on first use; Wine's own messages go to the log.
use_prefix() {
  # shellcheck source=/dev/null
  source "$root/scripts/wine-prefix.sh" "$1" >>"$wine_log" 2>&1
}

# Runs a Windows command in the current prefix and prints its output without carriage returns.
wine_output() { wine "$@" 2>>"$wine_log" </dev/null | tr -d '\r'; }

node_name() { wine_output cmd /c echo %COMPUTERNAME%; }

# Wine's path of a Windows path in the current prefix.
unix_path() { winepath -u "$1" 2>>"$wine_log"; }

# A program folder with the demo product's tools (scripts/demo-install.sh), which also
# installs the demo product into the current prefix.
install_demo() {
  BUILD_DIR="$build" bash "$root/scripts/demo-install.sh" "$WINEPREFIX" "$1" >>"$wine_log" 2>&1
}

# The packaging command files are wrapped so their command lines land in the stand-ins' log
# too; the shipped file still runs and packs.
wrap_packaging_command_files() {
  local name
  for name in qzcab qzhacab; do
    mv "$1/$name.cmd" "$1/$name.shipped.cmd"
    cp "$root/tests/endtoend/RecordingWrapper.cmd" "$1/$name.cmd"
  done
}

# The one run folder of a silent run below C:\<incident>\<node>: sets machine, stamp, run (its
# Linux path) and run_w (as Windows sees it); counts a failure unless there is exactly one.
find_single_run() {
  machine="$drive_c/$incident/$node"
  local runs
  mapfile -t runs < <(find "$machine" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' 2>/dev/null)
  expect_eq "run folders below $machine" 1 "${#runs[@]}"
  stamp="${runs[0]:-none}"
  run="$machine/$stamp"
  run_w="C:\\$incident\\$node\\$stamp"
}

# What every run script needs once its prefix and program folder are set: drive_c, the
# stand-ins' log (exported to them), the node name, the system directory and the program
# folder as Windows sees it.
prepare_run() {
  local program="$1"
  drive_c="$WINEPREFIX/drive_c"
  stub_log="$work/tool-starts.log"
  ZELTRIN_STUB_LOG="$(winepath -w "$stub_log" 2>>"$wine_log")"
  export ZELTRIN_STUB_LOG
  node="$(node_name)"
  system32='C:\windows\system32'
  program_w="$(winepath -w "$program" 2>>"$wine_log")"
}

# The entries of a report log, one a line, without the time prefix and the closing "<BR>".
report_entries() {
  perl -0777 -ne '
    s/\A<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report<\/TITLE>\n<\/HEADER>\n<BODY>\n<P>// or die "report opening\n";
    for my $entry (split /(?=(?:0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9](?:AM|PM)\t)/) {
      $entry =~ s/\A\d\d:\d\d:\d\d[AP]M\t// or die "entry without time: $entry\n";
      $entry =~ s/<BR>\z// or die "entry not closed: $entry\n";
      print "$entry\n";
    }' "$1"
}

# A completed run in <run folder> (Unix path) made in <program folder>: its report moved in,
# none left behind, the run's last entry. Sets "entries" to the report's entries.
expect_completed_run() {
  local run="$1" program="$2" run_w="$3"
  local reports
  mapfile -t reports < <(cd "$run" 2>/dev/null && ls -- *_ULVIX-Report.HTML 2>/dev/null)
  expect_eq "reports in the run folder" 1 "${#reports[@]}"
  expect_eq "reports left in the program folder" "" "$(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)"
  entries="$(report_entries "$run/${reports[0]:-none}" 2>&1)"
  expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
  expect_entry "$entries" "Successfully created $run_w"
}

# A report cut off at any moment must still parse: the opening, then whole entries only.
expect_whole_report() {
  local parsed
  parsed="$(report_entries "$1" 2>&1)" || fail "the report $1 does not parse: $(tail -n 1 <<<"$parsed")"
}

# One line per GrabFile of a report's entries: "<error code>|<failed move: 1, else 0>|<source>|
# <target>", the paths as Windows saw them.
grab_outcomes() {
  tr -d '\r' <<<"$1" | awk '
    BEGIN { move = 0 }
    $0 == "Start - GrabFile" { source = ""; target = "" }
    index($0, "Source File: ") == 1 { source = substr($0, 14) }
    index($0, "Target File: ") == 1 { target = substr($0, 14) }
    index($0, "Failed to Move!!! ") == 1 { move = 1 }
    index($0, "Finish - GrabFile.  Error = ") == 1 { print substr($0, 29) "|" move "|" source "|" target; move = 0 }'
}

# Every file a run grabbed is whole: a copy reported done is there and equals its source, one
# that failed left nothing but what was there before, and a failed move kept its source.
# Arguments: the report's entries, then the Windows prefixes and Unix folders of the drives the
# run used, as pairs (C:\ "$drive_c/" ...).
expect_grabs_whole() {
  local entries="$1" code move source target
  shift
  while IFS='|' read -r code move source target; do
    local source_u target_u
    source_u="$(drive_path "$source" "$@")"
    target_u="$(drive_path "$target" "$@")"
    if [[ "$code" == 0 ]]; then
      if [[ ! -f "$target_u" ]]; then
        fail "grabbed but missing: $target"
      elif [[ -f "$source_u" ]] && ! cmp -s "$source_u" "$target_u"; then
        fail "grabbed but not equal to its source: $target"
      fi
    elif [[ -e "$target_u" ]] && ! cmp -s "$source_u" "$target_u"; then
      fail "a failed grab (error $code) left a partial file: $target"
    fi
    if [[ "$move" == 1 && ! -f "$source_u" ]]; then fail "a failed move lost its source: $source"; fi
  done < <(grab_outcomes "$entries")
}

# The Unix path of a Windows path on one of the given drives (pairs of prefix and folder).
drive_path() {
  local path="$1"
  shift
  while (($# >= 2)); do
    if [[ "${path,,}" == "${1,,}"* ]]; then
      local rest="${path:${#1}}"
      printf '%s%s\n' "$2" "${rest//\\//}"
      return
    fi
    shift 2
  done
  printf '%s\n' "$path"
}

expect_entry() {
  grep -Fxq -- "$2" <<<"$1" || fail "no report entry [$2]"
}

# An entry that begins with a fixed text and goes on with the system's own wording.
expect_entry_starting() {
  # Through the environment: awk -v would take the backslashes of paths as escapes.
  start="$2" awk 'index($0, ENVIRON["start"]) == 1 { found = 1 } END { exit !found }' <<<"$1" ||
    fail "no report entry beginning [$2]"
}

expect_no_entry_containing() {
  if grep -Fq -- "$2" <<<"$1"; then fail "a report entry holds [$2]"; fi
}

# The lines of the stand-ins' log that one tool wrote, without its name.
tool_starts() {
  [[ -f "$1" ]] || return 0
  tr -d '\r' <"$1" | awk -F'|' -v tool="$2" '$1 == tool { print substr($0, length(tool) + 2) }'
}

expect_tool_start() {
  expect_eq "command line of $2" "$3" "$(tool_starts "$1" "$2")"
}

# Ends the test: waits until the prefix's processes are gone and reports the count.
finish() {
  wineserver -w
  if ((failures > 0)); then
    echo "$failures check(s) failed; Wine's and the tools' output: $wine_log" >&2
    exit 1
  fi
  echo "all checks passed"
}
