# Sourced by the end-to-end scripts: whole silent collections of the built Zeltrin.exe, run
# under Wine in a prefix of their own (never the prefix the other tests share), and checks
# that count their failures instead of stopping at the first one.
# Usage: source EndToEnd.sh <source folder> <build folder> <name of the calling test>
set -Eeuo pipefail

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
# A step that fails outside the checks, in a helper too (-E), ends the script and says which,
# with the end of Wine's log; in a command substitution a failure ends nothing, so it is not told.
trap 'step_status=$?; ((BASH_SUBSHELL > 0)) || {
        echo "stopped by a failing step (status $step_status) at ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND; the end of $wine_log:"
        tail -n 20 "$wine_log"; } >&2' ERR

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

expect_eq() {
  [[ "$2" == "$3" ]] || fail "$1"$'\n'"  expected: [$2]"$'\n'"  actual:   [$3]"
}

expect_file() { [[ -f "$1" ]] || fail "no file $1"; }
expect_absent() { [[ ! -e "$1" ]] || fail "should not exist: $1"; }
expect_entry() { grep -Fxq -- "$2" <<<"$1" || fail "no report entry [$2]"; }
expect_no_entry_containing() { ! grep -Fq -- "$2" <<<"$1" || fail "a report entry holds [$2]"; }

# Points Wine at a prefix, made on first use, once the server the test before left has ended;
# Wine's own messages go to the log.
use_prefix() {
  # shellcheck source=/dev/null
  source "$root/scripts/wine-prefix.sh" "$1" >>"$wine_log" 2>&1
  wineserver -w
}

# The prefix the fault runs share (CTest lock e2e_faults_prefix). A tool that crashes there
# ends at once, as on a server that shows no crash dialog: by default Wine's debugger would
# wait for its dialog to be closed, and the run with it.
use_faults_prefix() {
  use_prefix "$build/e2e-faults-prefix"
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$wine_log" 2>&1
}

# A program folder with the demo product's tools (scripts/demo-install.sh), which also
# installs the demo product into the current prefix; then drive_c, the stand-ins' log
# (exported to them), the node name and the program folder as Windows sees it.
install_demo() {
  program="$work/program"
  BUILD_DIR="$build" bash "$root/scripts/demo-install.sh" "$WINEPREFIX" "$program" >>"$wine_log" 2>&1
  prepare_run
}

prepare_run() {
  drive_c="$WINEPREFIX/drive_c"
  stub_log="$work/tool-starts.log"
  ZELTRIN_STUB_LOG="$(winepath -w "$stub_log" 2>>"$wine_log")"
  export ZELTRIN_STUB_LOG
  node="$(wine cmd /c echo %COMPUTERNAME% 2>>"$wine_log" </dev/null | tr -d '\r')"
  program_w="$(winepath -w "$program" 2>>"$wine_log")"
}

# The packaging command files are wrapped so their command lines land in the stand-ins' log
# too; the shipped file still runs and packs.
wrap_packaging_command_files() {
  local name
  for name in qzcab qzhacab; do
    mv "$program/$name.cmd" "$program/$name.shipped.cmd"
    cp "$root/tests/endtoend/RecordingWrapper.cmd" "$program/$name.cmd"
  done
}

# The floor of the runs on the test machine's disk: with the default, 5 % of the volume, its
# free space would decide what a test sees. SickServerRun meets the default on a drive of its own.
host_floor=reserve=1

# A silent run of the program folder's Zeltrin.exe with the given arguments; its console goes
# to $console. Sets "status" to its exit status.
zeltrin() {
  console="$work/console.txt"
  status=0
  (cd "$program" && wine Zeltrin.exe -noGUI "$host_floor" "$@" >"$console" 2>>"$wine_log" </dev/null) || status=$?
}

# The one run folder of a silent run below <root>\<incident>\<node> (C: unless given; a redacted
# run's withheld files beside it are no run): sets machine, stamp, run (its Linux path) and
# run_w (as Windows sees it).
find_single_run() {
  local root_u="${1:-$drive_c}" root_w="${2:-C:}" runs
  machine="$root_u/$incident/$node"
  mapfile -t runs < <(find "$machine" -mindepth 1 -maxdepth 1 -type d ! -name '*_WITHHELD' -printf '%f\n' 2>/dev/null)
  expect_eq "run folders below $machine" 1 "${#runs[@]}"
  stamp="${runs[0]:-none}"
  run="$machine/$stamp"
  run_w="$root_w\\$incident\\$node\\$stamp"
}

# The entries of a report log, one a line, without the time prefix and the closing "<BR>". A
# report that does not parse (cut off inside an entry, say) stops the script.
report_entries() {
  perl -0777 -ne '
    s/\A<HTML>\n<HEADER>\n<TITLE>Zeltrin - Marlowisp Report<\/TITLE>\n<\/HEADER>\n<BODY>\n<P>// or die "report opening\n";
    for my $entry (split /(?=(?:0[1-9]|1[0-2]):[0-5][0-9]:[0-5][0-9](?:AM|PM)\t)/) {
      $entry =~ s/\A\d\d:\d\d:\d\d[AP]M\t// or die "entry without time: $entry\n";
      $entry =~ s/<BR>\z// or die "entry not closed: $entry\n";
      print "$entry\n";
    }' "$1" | tr -d '\r'
}

# The entries with each failure's quoted system text (its own wording, then "Error = <code>")
# shown as "<system text> Error = <code>": Wine words them its own way.
entries_with_system_texts_put_aside() {
  report_entries "$1" | perl -0777 -pe 's/(FAILED-> |REASON: )[^\n]+\nError = (-?\d+)$/$1<system text> Error = $2/mg'
}

# A completed run: its report moved into the run folder, none left in the program folder,
# the run's last entry. Sets "entries" to the report's entries.
expect_completed_run() {
  local reports
  mapfile -t reports < <(cd "$run" 2>/dev/null && ls -- *_ULVIX-Report.HTML 2>/dev/null)
  expect_eq "reports in the run folder" 1 "${#reports[@]}"
  expect_eq "reports left in the program folder" "" "$(cd "$program" && ls -- *_ULVIX-Report.HTML 2>/dev/null)"
  entries="$(entries_with_system_texts_put_aside "$run/${reports[0]:-none}")"
  expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
}

# The entries from the first that equals <first> up to the next one that begins with <last>.
entries_between() {
  first="$2" last="$3" awk '
    !on && $0 == ENVIRON["first"] { on = 1 }
    on { print }
    on && index($0, ENVIRON["last"]) == 1 && $0 != ENVIRON["first"] { exit }' <<<"$1"
}

# One line per GrabFile of a report's entries: "<error code>|<source>|<target>".
grab_outcomes() {
  awk 'index($0, "Source File: ") == 1 { source = substr($0, 14) }
       index($0, "Target File: ") == 1 { target = substr($0, 14) }
       index($0, "Finish - GrabFile.  Error = ") == 1 { print substr($0, 29) "|" source "|" target }' <<<"$1"
}

# Every file a run grabbed is whole: a copy reported done equals its source, one that failed
# left nothing behind. After the entries: the Windows prefixes and Unix folders of the drives
# the run used, as pairs (C:\ "$drive_c/" ...).
expect_grabs_whole() {
  local entries="$1" code source target
  shift
  while IFS='|' read -r code source target; do
    local source_u target_u
    source_u="$(drive_path "$source" "$@")"
    target_u="$(drive_path "$target" "$@")"
    if [[ "$code" == 0 ]] && ! cmp -s "$source_u" "$target_u"; then
      [[ ! -f "$source_u" && -f "$target_u" ]] || fail "grabbed but not equal to its source: $target"
    elif [[ "$code" != 0 && -e "$target_u" ]]; then
      fail "a failed grab (error $code) left a file: $target"
    fi
  done < <(grab_outcomes "$entries")
}

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

# The lines of the stand-ins' log that one tool wrote, without its name.
tool_starts() {
  [[ -f "$stub_log" ]] || return 0
  tr -d '\r' <"$stub_log" | awk -F'|' -v tool="$1" '$1 == tool { print substr($0, length(tool) + 2) }'
}

# The processes of this test's Wine prefix that run a program whose file name holds <text> (its
# image is mapped; the command line may not name it): the other tests' prefixes may run tools of
# the same names at the same time.
prefix_processes() {
  local maps
  for maps in /proc/[0-9]*/maps; do
    grep -Fqi -- "$1" "$maps" 2>/dev/null &&
      tr '\0' '\n' <"${maps%/maps}/environ" 2>/dev/null | grep -Fqx "WINEPREFIX=$WINEPREFIX" && echo "${maps%/maps}"
  done
  return 0
}

# The run's cabinets that carry <node> in their names, opened into <folder> as a support
# engineer does on Linux.
open_cabinets() {
  rm -rf "$2" && mkdir -p "$2"
  local cabinets=("$machine/${incident}_$1_${stamp}"*.cab) cabinet
  [[ -f "${cabinets[0]}" ]] || fail "no cabinet ${incident}_$1_${stamp}.cab in $machine"
  for cabinet in "${cabinets[@]}"; do
    cabextract -q -d "$2" "$cabinet" >>"$wine_log" 2>&1 || fail "cabextract failed on $cabinet"
  done
}

# The run's cabinets opened: every file the sums name comes out with its bytes.
expect_cabinets_verify() {
  local unpacked="$work/unpacked-$incident"
  open_cabinets "$node" "$unpacked"
  (cd "$unpacked" && sha256sum --strict -c SHA256SUMS >>"$wine_log" 2>&1) ||
    fail "sha256sum -c SHA256SUMS failed in the unpacked cabinets of $incident"
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
