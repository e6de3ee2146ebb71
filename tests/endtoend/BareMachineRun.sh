#!/usr/bin/env bash
# One silent collection on a machine without the product: a prefix that never gets the demo,
# and a program folder holding only what ships with the collector. The run goes through to its
# end with the product's steps skipped. It runs as an unattended agent would, without a home
# drive, beside a bcrypt.dll someone planted there and with native DLLs preferred, and it packs
# files whose names the command interpreter could take for its own syntax. A second run
# without CNG (bcrypt.dll disabled) completes all the same, without sums.
# Usage: BareMachineRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" BareMachineRun
incident=e2ebare

use_prefix "$build/e2e-bare-prefix"
program="$work/program"
mkdir -p "$program"
for shipped in Zeltrin.exe qdsminfo.exe QzRegList.txt Zeltrin.CFG Zeltrin.htm summary-page.png qzcab.cmd qzhacab.cmd qzpack.cmd; do
  cp "$bin/$shipped" "$program/"
done
wrap_packaging_command_files
prepare_run
rm -rf "${drive_c:?}/$incident" "${drive_c:?}/e2enocng" "${drive_c:?}/e2eodd"
odd_names=('100%.log' '%OS%.log' 'a^b.log' 'a;b.log' 'bang!.log' '!OS!.log' 'a&b.log' '(x).log' 'a,b=c.log' 'café.log')
mkdir -p "$drive_c/e2eodd"
for name in "${odd_names[@]}"; do printf 'bytes of %s\r\n' "$name" >"$drive_c/e2eodd/$name"; done
printf 'C:\\e2eodd\\*\r\n' >>"$program/Zeltrin.CFG"
cp "$build/planted/bcrypt.dll" "$program/"
# Zeltrin.exe prefers a native bcrypt.dll, as Windows looks for a DLL that is no known DLL in
# the program's folder first. Set for Zeltrin.exe alone: Wine would take the planted one for
# the interpreters the run starts in that folder too, which Windows takes from the system folder.
wine reg add 'HKCU\Software\Wine\AppDefaults\Zeltrin.exe\DllOverrides' /v bcrypt /d native,builtin /f \
  >>"$wine_log" 2>&1

(cd "$program" && wine cmd /c "set HOMEDRIVE=&& Zeltrin.exe -noGUI $host_floor case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
find_single_run
expect_completed_run
expect_entry "$entries" "No home drive: the local root is the system drive C:\\"
expect_absent "$program/planted-dll-loaded.txt"

# The detection greys the boxes of what it did not find, so their steps and folders are
# skipped; the steps without a detection condition still run and report their missing tools.
for box in "PQH / HA" "WLT" "ZRX" "QzOkapo Log(s)" "&Logs" "MPS &Reports" "Solutions" "RBK Schedules" \
           "&Providers (DOM)" "&QzSvc Dump" "&Cluster Log(s)"; do
  expect_entry "$entries" "$box = Disabled"
done
for tool in qzflxinfo.EXE ruqdiaginfo.exe pqhmc-diag.exe; do
  grep -Fq "CreateProcess() failed to create $program_w\\$tool!!! REASON: <system text> Error = 2" <<<"$entries" ||
    fail "no creation failure of $tool"
done
expect_eq "the run folder's folders" "MISC OS PLR RUQ VM" "$(cd "$run" && find . -mindepth 1 -type d -printf '%P\n' | sort | paste -sd ' ')"
# Only the run's packaging command file was started; every file comes out of the cabinets.
expect_eq "command files and tools started" "qzcab|$run_w C:\\windows\\system32 $incident NO $stamp 0" \
  "$(tr -d '\r' <"$stub_log" 2>/dev/null)"
for name in "${odd_names[@]}"; do
  grep -Fq "  MISC/$name"$'\r' "$run/SHA256SUMS" || fail "SHA256SUMS does not name MISC/$name"
done
expect_cabinets_verify

# Without CNG. Wine's CryptoAPI provider needs bcrypt.dll too, so this run has no SHA-256 at
# all: the manifest lists the files without sums, says so, and there are no sums to trust.
incident=e2enocng
(cd "$program" && WINEDLLOVERRIDES="bcrypt=d;mscoree,mshtml=" wine Zeltrin.exe -noGUI "$host_floor" "case#=$incident" \
   >"$work/nocng.txt" 2>>"$wine_log" </dev/null) || fail "Zeltrin.exe without CNG ended with status $?"
find_single_run
expect_completed_run
grep -Eq '"sha256Source": ?"none"' "$run/MANIFEST.json" || fail "the manifest does not say it has no sums"
expect_absent "$run/SHA256SUMS"
grep -q "^Failed to hash the run's files" "$work/nocng.txt" || fail "the console does not say the run has no sums"

finish
