#!/usr/bin/env bash
# One silent collection, "Zeltrin.exe -noGUI case#=e2edemo", on a Windows 7 machine with the
# demo product installed and the operations manager's gather script in place: the run
# folder's layout and files, the report, the command line every stand-in tool and command file
# received, the console's summary, the cabinets as a support engineer opens them, and the
# "-list" plan made just before, against the run's manifest.
# Usage: DemoRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" DemoRun
incident=e2edemo

use_prefix "$build/e2e-prefix"
install_demo
wrap_packaging_command_files
winecfg -v win7 >>"$wine_log" 2>&1
mkdir -p "$drive_c/Program Files/Tobrin/NLDH/adm"
echo '# stand-in gather script' >"$drive_c/Program Files/Tobrin/NLDH/adm/wkegather.pl"
rm -rf "${drive_c:?}/$incident"

# The plan first: the run below must start the commands it names and make the files it names.
(cd "$program" && wine Zeltrin.exe -list "$host_floor" "case#=$incident" 2>>"$wine_log" </dev/null |
  tr -d '\r' >"$work/plan.txt") || fail "Zeltrin.exe -list ended with status $?"

started=$(date +%s)
zeltrin "case#=$incident"
ended=$(date +%s)
expect_eq "exit status" 0 "$status"

# C:\<incident>\<node>\<time stamp>, the stamp taken during the run.
find_single_run
[[ "$stamp" =~ ^([0-9]{2})([0-9]{2})([0-9]{4})__([0-9]{2})-([0-9]{2})-([0-9]{2})$ ]] ||
  fail "run folder name [$stamp] is not mmddyyyy__HH-MM-SS"
stamp_time=$(date -d "${BASH_REMATCH[3]:-0}-${BASH_REMATCH[1]:-0}-${BASH_REMATCH[2]:-0} ${BASH_REMATCH[4]:-0}:${BASH_REMATCH[5]:-0}:${BASH_REMATCH[6]:-0}" +%s 2>/dev/null || echo 0)
((stamp_time >= started && stamp_time <= ended)) || fail "time stamp $stamp is not within the run"
expect_completed_run
expect_entry "$entries" "Successfully created $run_w"
expect_entry "$entries" "Incident #: $incident"
expect_entry "$entries" "wkegather.pl is available"
expect_no_entry_containing "$entries" "Start - CaptureNLDInfo"
expect_no_entry_containing "$entries" "FATAL"

# Every file of the run folder but the report, the manifest's sums and the cabinets.
expect_eq "the run folder's files" \
"LICENSES/DUNMERE-DMP.lic LICENSES/DUNMERE-ENT.lic MANIFEST.json MISC/hosts MISC/qzsvc.log MISC/setup.log
OS/APP_Events.log OS/CLUSTER.LOG OS/SYSTEM32_DLL_VER.TXT OS/SYSTEM32_EXE_VER.TXT OS/SYSTEM32_SYS_VER.TXT
OS/SYS_Events.log OS/mountvol.txt OSMU/osmu_snapshot.txt PLR/Log.Pelorin PLR/Product.Inventory.Pelorin
PQHMC/pqhmc-diag.log QzFilesToCab3.TXT RBK_Schedules/HourlyRecovery.log RBK_Schedules/HourlyRecovery.xml
RBK_Schedules/NightlySnapshot.log RBK_Schedules/NightlySnapshot.xml REGISTRY.TXT RUQ/ruqdiaginfo.log RUQ/ruqdump.log
SHA256SUMS SUMMARY.html Solutions/solutions.log TEJ/perl.log VM/ALERT.LOG VM/HNV_NIDMAP_REPORT.TXT
VM/HNV_NODESTATE_REPORT.TXT VM/KDX_BINARY_VERSION.TXT VM/QzOKAPO.LOG VM/QzOKAPO.LOG.1 VM/Replication.xml
VM/VM_QzOKAPO.LOG VM/VolumeManager.xml VM/instmpio.log VM/kerd.log VM/kerd.log.1 VM/qdsminfo.log VM/qzdiag.txt
VM/qzflxinfo.enc WKE/perl.log ZRX clusnap/HA_FILEVER.TXT clusnap/QzHAFilesToCab3.TXT clusnap/clusnap.log
wltsnap/wltsnap.log" \
  "$(cd "$run" && find . -type f ! -name '*_ULVIX-Report.HTML' ! -name '*.cab' -printf '%P\n' | LC_ALL=C sort |
     paste -sd ' ' | fold -s -w 120 | sed 's/ $//')"
expect_eq "the multipath tool's output, moved in" "qzflxinfo stub output" "$(tr -d '\r' <"$run/VM/qzflxinfo.enc")"
expect_absent "$program/qzflxinfo.enc"
expect_eq "the replication configuration in the run folder's ZRX path" "DumpZRXInfo stub output" "$(tr -d '\r' <"$run/ZRX")"
expect_eq "the cluster log" "get_foc_logs stub output (Windows 8 or later: 0)" "$(head -n 1 "$run/OS/CLUSTER.LOG" | tr -d '\r')"

# Per step, the run started the plan's commands (not its fallbacks: the gather script works) and made
# the files it named as there now, written or a tool's output (Wine's event log backup writes no .evt).
expect_eq "the plan's commands and files that the run did not start or make" "" "$(python3 - "$work/plan.txt" "$run/MANIFEST.json" <<'PY'
import json, re, sys
stamp = lambda text: re.sub(r"[0-9]{8}__[0-9-]{8}", "<time stamp>", text)
planned, row = {}, None
for line in open(sys.argv[1], encoding="latin-1").read().splitlines():
    if step := re.match(r" ?(\d+) .*: runs$", line):
        row = int(step.group(1)); planned[row] = ([], set())
    elif line.startswith("    starts: "):
        planned[row][0].append(stamp(line[12:]))
    elif re.match(r"    (copies|moves|writes): ", line) and "(not there now)" not in line and not line.endswith(".evt"):
        planned[row][1].add(re.sub(r" \([^()]*\)$", "", line).split("\\")[-1].split(": ")[-1])
for step in json.load(open(sys.argv[2], encoding="utf-8"))["steps"]:
    starts, files = planned.pop(step["row"], ([], set()))
    ran = [stamp(child["commandLine"]) for child in step["children"]]
    if ran != starts: print(f"row {step['row']}: started {ran}, planned {starts}")
    missing = files - {f["path"].split("/")[-1] for f in step["files"]}
    if missing: print(f"row {step['row']}: not made {sorted(missing)}")
PY
)"

# Every start of the step table, packaging last, with its command line: a tool started directly
# gets the arguments alone, so the multipath tool sees " -x". In the table's order with one
# thread (below); with more, the rows that run side by side start theirs in any order.
expected_starts() {
  echo "stop_wpp_ssn|
get_foc_logs|$run_w\\OS 0
qzflxinfo| -x
qzdiag2003|\"$program_w\\DOTNET\\qzdiag2003.EXE\" 
get_wpp_logs|
clusnap|\"C:\\Program Files\\Brennock\\PQH\\bin\\clusnap.exe\" -o \"$run_w\"
get_ha_filever|$run_w 
qzhacab|$run_w\\clusnap C:\\windows\\system32 $incident NO $stamp 0
wltsnap|\"C:\\Program Files\\Brennock\\WLT\\bin\\wltsnap.exe\" -o \"$run_w\"
ruqdiaginfo|$program_w\\ruqdiaginfo.exe $run_w\\RUQ /silent
ruqdump|$program_w\\ruqdump.exe $run_w\\RUQ
osmu_snapshot|-o $run_w\\OSMU
perl|\"C:\\Program Files\\Tobrin\\NLDH\\bin\\perl\" \"C:\\Program Files\\Tobrin\\NLDH\\adm\\wkegather.pl\" --dir $run_w\\WKE
pqhmc-diag|\"$program_w\\pqhmc-diag.exe\" \"$run_w\\PQHMC\"
perl|\"C:\\Program Files\\Tobrin\\NLDH\\bin\\perl\" \"$program_w\\linkgrab.pl\" -local -d $run_w\\TEJ
dumpzrxinfo|$run_w\\ZRX
qzfilever|qzfilever.EXE 
qzclustadm|qzclustadm nidmap 
qzclustadm|qzclustadm -v nodestate 
qzcab|$run_w C:\\windows\\system32 $incident NO $stamp 0"
}
expect_eq "tools and command files started, with their command lines" "$(expected_starts | LC_ALL=C sort)" \
  "$(tr -d '\r' <"$stub_log" | LC_ALL=C sort)"
expect_eq "the last start" "qzcab|$run_w C:\\windows\\system32 $incident NO $stamp 0" "$(tr -d '\r' <"$stub_log" | tail -n 1)"

# The console: each failure entry of the report, then the summary, counted before the cabinet
# list was written.
tr -d '\r' <"$console" >"$work/console.lines"
grep -Fxq -- "[25/25] Packaging all the logs files ..." "$work/console.lines" || fail "no last progress line"
grep -E '!!!|FATAL|^Failed|^Command line too long|^Ended after the time limit|^CreateDirectory\(\) failed|^Entry does not expand' <<<"$entries" | grep -vx 'No more files are left, so we are done here!!!' |
  grep -vF '\\zeltrin-logs\' >"$work/report-failures" || true
[[ -s "$work/report-failures" ]] || fail "no failure entries in the report (the demo lacks some logs)"
while IFS= read -r entry; do
  grep -Fq -- "${entry%%!!!*}" "$work/console.lines" || fail "failure entry not on the console: $entry"
done <"$work/report-failures"
files=$(find "$run" -type f ! -name QzFilesToCab3.TXT | wc -l)
bytes=$(find "$run" -type f ! -name QzFilesToCab3.TXT -printf '%s\n' | awk '{ t += $1 } END { print t + 0 }')
cabinets=$(for cabinet in "$machine/${incident}_${node}_${stamp}"*.cab "$run/${incident}_${node}_${stamp}_HA"*.cab; do
             echo "  $(winepath -w "$cabinet" 2>>"$wine_log") ($(stat -c %s "$cabinet") bytes)"; done | LC_ALL=C sort)
expect_eq "the summary" \
"Run folder: $run_w
Files collected: $files files, $bytes bytes
Failures: $(wc -l <"$work/report-failures")
Steps skipped: <n> of 38
$(python3 -c 'import collections, json, sys
n = collections.Counter(step["outcome"] for step in json.load(open(sys.argv[1], encoding="utf-8"))["steps"])
print("Steps: %d ok, %d partial, %d failed, %d skipped" % (n["ok"], n["partial"], n["failed"], n["skipped"]))' "$run/MANIFEST.json")
Cabinet files: $(grep -c . <<<"$cabinets")
$cabinets
Result: $(winepath -w "$machine" 2>>"$wine_log")\\${incident}_${node}_${stamp}_RESULT.json" \
  "$(sed -n '/^Run folder: /,$p' "$work/console.lines" | grep -v '^Time taken: ' | sed 's/^Steps skipped: [0-9]* of/Steps skipped: <n> of/')"
grep -Eq '^Time taken: [0-9]+\.[0-9] s$' "$work/console.lines" || fail "no time taken on the console"
# Each row's outcome, 1 to 38: the demo lacks the VDS logs and some Windows logs, and Wine lacks
# mountvol and the MPIO classes qdsminfo reads.
expect_eq "the steps' outcomes" "ok skipped skipped skipped skipped ok ok ok ok ok ok ok ok partial skipped ok partial \
ok ok ok ok ok ok ok failed partial ok ok skipped skipped skipped ok ok ok ok ok ok failed" \
  "$(python3 -c 'import json, sys; print(" ".join(s["outcome"] for s in json.load(open(sys.argv[1]))["steps"]))' \
     "$run/MANIFEST.json")"

# The run's cabinet beside the run folder, the snapshot's inside it and named in the list.
grep -Fq "\"\\${incident}_${node}_${stamp}_HA.cab\" \"\\${incident}_${node}_${stamp}_HA.cab\";" "$run/QzFilesToCab3.TXT" ||
  fail "the run's cabinet list does not name the snapshot cabinet"
python3 -c 'import json, sys; json.load(open(sys.argv[1], encoding="utf-8"))' "$run/MANIFEST.json" 2>>"$wine_log" ||
  fail "MANIFEST.json is no JSON a parser reads"
(cd "$run" && sha256sum --strict -c SHA256SUMS >>"$wine_log" 2>&1) || fail "sha256sum -c SHA256SUMS failed in the run folder"
expect_cabinets_verify

# The result file names the run's status, counts and every cabinet with its size and SHA-256.
expect_eq "the result file" "" "$( (python3 - "$machine/${incident}_${node}_${stamp}_RESULT.json" "$run/MANIFEST.json" \
    "$(wc -l <"$work/report-failures")" "$run_w" "$cabinets" <<'PY'
import collections, hashlib, json, subprocess, sys
result, manifest = (json.load(open(path, encoding="utf-8")) for path in sys.argv[1:3])
n = collections.Counter(step["outcome"] for step in manifest["steps"])
expected = {"program": "Zeltrin", "version": manifest["version"], "incident": manifest["incident"],
            "machine": manifest["machine"], "exitStatus": 0, "failures": int(sys.argv[3]), "runFolder": sys.argv[4],
            "steps": {k: n[k] for k in ("ok", "partial", "failed", "skipped")}}
for key, value in expected.items():
    if result.get(key) != value: print(f"{key}: {result.get(key)!r}, expected {value!r}")
cabinets = []
for cabinet in result["cabinets"]:
    unix = subprocess.run(["winepath", "-u", cabinet["path"]], capture_output=True, text=True).stdout.strip()
    data = open(unix, "rb").read()
    if cabinet["sha256"] != hashlib.sha256(data).hexdigest(): print("sha256 differs:", cabinet["path"])
    cabinets.append(f"  {cabinet['path']} ({cabinet['size']} bytes)")
if "\n".join(sorted(cabinets)) != sys.argv[5]: print("cabinets:", cabinets)
PY
) || echo "the check ended with status $?")"

# The summary page, as a browser shows it: the failure lines, all 38 steps with their outcomes,
# and nothing loaded from elsewhere.
summary="$run/SUMMARY.html"
expect_eq "references out of the summary page" "" "$(grep -oiE '<script|<link|<img|<iframe|src=|href=|url\(|@import' "$summary")"
chromium --headless --no-sandbox --disable-gpu --user-data-dir="$work/chromium" --dump-dom "file://$summary" \
  2>>"$wine_log" >"$work/summary-dom.html" || fail "Chromium did not load the summary page"
expect_eq "the summary page as Chromium read it" "" "$( (python3 - "$work/summary-dom.html" "$run/MANIFEST.json" \
    "$work/report-failures" "$work/console.lines" <<'PY'
import html.parser, json, sys
class Text(html.parser.HTMLParser):
    rows, row, cell, text = [], None, None, []
    def handle_starttag(self, tag, attrs):
        if tag == "tr": self.row = []
        if tag == "td": self.cell = []
    def handle_endtag(self, tag):
        if tag == "td" and self.row is not None: self.row.append("".join(self.cell).strip()); self.cell = None
        if tag == "tr": self.rows.append(self.row); self.row = None
    def handle_data(self, data):
        self.text.append(data)
        if self.cell is not None: self.cell.append(data)
page = Text(); page.feed(open(sys.argv[1], encoding="utf-8").read())
text = " ".join("".join(page.text).split())
for step in json.load(open(sys.argv[2], encoding="utf-8"))["steps"]:
    if not any(r and r[:2] == [str(step["row"]), step["name"]] and r[2].startswith(step["outcome"]) for r in page.rows):
        print("no row for step", step["row"], step["name"], step["outcome"])
console = open(sys.argv[4], encoding="latin-1").read().splitlines()
for entry in open(sys.argv[3], encoding="latin-1").read().splitlines():
    line = next(l for l in console if l.startswith(entry.split("!!!")[0]))
    if " ".join(line.split()) not in text: print("failure line not on the page:", line)
PY
) || echo "the check ended with status $?")"

# The same run with one thread, the steps one after another as they always ran: the same report
# entries in the same order, the same files with the same bytes (the run folder's name and the
# times aside) and the same command lines, in the table's order.
mv "$drive_c/$incident" "$work/default-threads"
default_run="$work/default-threads/$node/$stamp" default_run_w="$run_w" default_stamp="$stamp"
default_entries="$entries"
: >"$stub_log"
zeltrin "case#=$incident" threads=1
expect_eq "exit status with threads=1" 0 "$status"
find_single_run
expect_completed_run
# The process id names the report; the problem time is the start's and the time block the end's.
masked() {
  sed -E -e "s/$default_stamp/<stamp>/g" -e "s/$stamp/<stamp>/g" -e 's/[0-9]+_ULVIX-Report/<pid>_ULVIX-Report/' \
    -e 's/(Problem occurred on|Current Time|Current GMT): .*/\1: <time>/'
}
expect_eq "report entries with threads=1 against the default" "" \
  "$(diff <(masked <<<"$default_entries") <(masked <<<"$entries"))"
expect_eq "tools and command files started with threads=1, in order" "$(expected_starts)" "$(tr -d '\r' <"$stub_log")"
expect_eq "files that differ with threads=1" "" "$(python3 - "$default_run" "$run" "$default_stamp" "$stamp" <<'PY'
import os, re, sys
first, second, stamps = sys.argv[1], sys.argv[2], [s.encode() for s in sys.argv[3:5]]
def files(root):
    found = {}
    for folder, _, names in os.walk(root):
        for name in names:
            if name.endswith(("_ULVIX-Report.HTML", ".cab")) or name in ("MANIFEST.json", "SHA256SUMS", "SUMMARY.html"):
                continue
            path = os.path.join(folder, name)
            data = open(path, "rb").read().replace(stamps[0], b"<s>").replace(stamps[1], b"<s>")
            data = re.sub(rb"[0-9]+_ULVIX-Report", b"<pid>_ULVIX-Report", data)
            # The version listings give each file's times; the first run's reads are the second's access times.
            found[os.path.relpath(path, root)] = re.sub(rb"\d\d/\d\d/\d{4} \d\d:\d\d:\d\d", b"<time>", data)
    return found
a, b = files(first), files(second)
for path in sorted(set(a) | set(b)):
    if a.get(path) != b.get(path): print(path)
PY
)"

finish
