#!/usr/bin/env bash
# "redact" on the demo machine ACMESRV01 (its name by a UTS namespace of its own, which Wine
# takes it from) with the identities of RedactionPlants.txt planted in the registry, the hosts
# file, user profiles, the product's log and a file's name: in the cabinets, opened as support
# opens them, no planted original is left and no ordinary word was replaced; every file has one
# name in the cabinets, SHA256SUMS, the manifest and the report; each stand-in stands for one
# original, the map is not packed, SHA256SUMS holds, every file of a plain run is there or
# withheld; a second run gives the same stand-ins; a run onto a share leaves nothing in clear there.
# Usage: RedactedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" RedactedRun

use_prefix "$build/e2e-redact-prefix"
install_demo
unshare -u true 2>/dev/null || { fail "a UTS namespace of its own needs root"; finish; }

plants="$root/tests/endtoend/RedactionPlants.txt"
# The rows of one kind, without it.
planted() { awk -v kind="$1" 'index($0, kind "\t") == 1 { print substr($0, length(kind) + 2) }' "$plants"; }
ansi() { iconv -f UTF-8 -t CP1252; }

# One .reg file in UTF-16 for the values and profiles: names beyond ASCII arrive as they are.
{
  printf 'Windows Registry Editor Version 5.00\r\n'
  planted reg | while IFS=$'\t' read -r key value data; do
    printf '\r\n[%s]\r\n"%s"="%s"\r\n' "${key/#HKLM/HKEY_LOCAL_MACHINE}" "$value" "$(sed 's/\\/\\\\/g; s/"/\\"/g' <<<"$data")"
  done
  planted profile | while IFS=$'\t' read -r sid path; do
    printf '\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\%s]\r\n"ProfileImagePath"="%s"\r\n' \
      "$sid" "${path//\\/\\\\}"
  done
} | iconv -f UTF-8 -t UTF-16 >"$work/plants.reg"
wine regedit /s "$(winepath -w "$work/plants.reg")" >>"$wine_log" 2>&1 || fail "cannot plant the registry values"
hosts="$drive_c/windows/system32/drivers/etc/hosts"
grep -q dbhost7 "$hosts" 2>/dev/null || planted hosts | sed 's/$/\r/' >>"$hosts"
kerd="$drive_c/Program Files/Brennock/Dunmere/logs/kerd"
{ planted log | sed 's/$/\r/'; planted ansi-log | ansi | sed 's/$/\r/'; } >>"$kerd/kerd.log"
# A file named with the computer name, and a log cut short by a crash: NULs to its end.
printf 'trace of ACMESRV01\r\n' >"$kerd/ACMESRV01-trace.log"
{ printf 'ACMESRV01 stopped\r\n'; head -c 4096 /dev/zero; } >"$kerd/crashed.log"
# The stand-ins of earlier invocations go: the first run here numbers them afresh.
rm -rf "$drive_c/ProgramData/Zeltrin"

# A silent run on a machine of the host name (Wine's computer name); sets incident and node;
# collect_as also those of find_single_run.
run_as() {
  incident="$2"
  rm -rf "${drive_c:?}/$incident"
  wineserver -k 2>/dev/null || true
  wineserver -w
  unshare -u bash -c 'hostname "$1" && cd "$2" && wine Zeltrin.exe -noGUI "case#=$3" "${@:4}"; status=$?; wineserver -w; exit $status' \
    run "$1" "$program" "$incident" "$host_floor" "${@:3}" >>"$wine_log" 2>&1 </dev/null || fail "Zeltrin.exe $* ended with status $?"
  node="${1^^}"
}
collect_as() {
  run_as "$@"
  find_single_run
}

# The files below a folder, without the report's process id and the cabinets' incident, node, time.
file_list() {
  (cd "$1" && find . -type f | sed -E 's#^\./##; s#^[0-9]+_ULVIX#N_ULVIX#; s#^e2e[a-z]+_[A-Za-z0-9]+_[0-9]{8}__[0-9]{2}-[0-9]{2}-[0-9]{2}#CABINET#' | sort)
}

# The files the manifest lists (its last "files" array), and those SHA256SUMS names.
manifest_files() { perl -0777 -ne 's/.*"files": \[//s; print "$1\n" while /"path": "([^"]+)"/g' "$1" | sort; }
summed_files() { tr -d '\r' <"$1" | sed -E 's/^[0-9a-f]{64} [ *]//' | sort; }

collect_as acmesrv01 e2eplain
plain_files="$(file_list "$run")"

collect_as acmesrv01 e2eredact 'redact=Brightwater;CORP'
first_map="${run}_REDACTION-MAP.TXT"
expect_absent "$machine/${incident}_${node}_${stamp}.cab"
open_cabinets host0001 "$work/opened"
opened="$work/opened"
while IFS= read -r original; do
  found="$(grep -railF -- "$original" "$opened" || true)"
  [[ -z "$found" ]] || fail "$original is still in: $found"
done < <(planted leak; planted mapped; planted ansi-leak | ansi)
while IFS= read -r original; do
  found="$(grep -railwF -- "$original" "$opened" || true)"
  [[ -z "$found" ]] || fail "the word $original is still in: $found"
done < <(planted word)
expect_eq "file names that hold an original" "" "$(cd "$opened" && find . -iname '*acmesrv01*')"
opened_kerd="$(cat "$opened/VM/kerd.log")"
while IFS= read -r kept; do
  grep -qF -- "$kept" <<<"$opened_kerd" || fail "$kept went from kerd.log"
done < <(planted keep)
expect_eq "the crashed log's lines" "host0001 stopped" "$(tr -d '\r\0' <"$opened/VM/crashed.log")"
while IFS= read -r original; do
  grep -qiF -- "$original" "$first_map" || fail "the map has no stand-in for $original"
done < <(planted mapped)
expect_eq "stand-ins that stand for more than one original" "" "$(tail -n +4 "$first_map" | cut -f1 | sort | uniq -d)"
expect_eq "originals with more than one stand-in" "" "$(tail -n +4 "$first_map" | cut -f2 | tr 'A-Z' 'a-z' | sort | uniq -d)"
expect_eq "service and built-in profiles taken for users" "" \
  "$(tail -n +4 "$first_map" | awk -F'\t' '$3 == "userNames\r" || $3 == "userNames"' | grep -iE 'MSSQLSERVER|NET v4|defaultuser0' || true)"
(cd "$opened" && sha256sum --strict -c SHA256SUMS >>"$wine_log" 2>&1) || fail "sha256sum -c SHA256SUMS failed after extraction"
expect_eq "map files in the cabinets" "" "$(cd "$opened" && find . -iname '*REDACTION*')"

# One name per file: the cabinets, SHA256SUMS, the manifest, the cabinet list and the report's targets.
expect_eq "files in the cabinets but the sums, against SHA256SUMS" \
  "$(file_list "$opened" | grep -vxF -e SHA256SUMS -e QzFilesToCab3.TXT | sed -E 's#^N_ULVIX#x#' | sort)" \
  "$(summed_files "$opened/SHA256SUMS" | sed -E 's#^[0-9]+_ULVIX#x#' | sort)"
expect_eq "files of the manifest against SHA256SUMS" "$(summed_files "$opened/SHA256SUMS" | grep -vxF -e MANIFEST.json -e SUMMARY.html)" \
  "$(manifest_files "$opened/MANIFEST.json")"
expect_eq "files of the cabinet list that are not in the cabinets" "" \
  "$(tr -d '\r' <"$opened/QzFilesToCab3.TXT" | sed -E 's/^"\\?([^"]*)".*/\1/; s#\\#/#g' | while IFS= read -r f; do
       [[ -f "$opened/$f" ]] || echo "$f"; done)"
entries="$(report_entries "$(ls "$opened"/*_ULVIX-Report.HTML)" 2>&1)"
expect_eq "files grabbed that are not packed under the names the report gives" "" \
  "$(grab_outcomes "$entries" | awk -F'|' -v prefix="C:\\\\$incident\\\\host0001\\\\$stamp\\\\" \
       '$1 == 0 && index($3, prefix) == 1 { print substr($3, 1 + length(prefix)) }' |
     sed 's#\\#/#g' | while IFS= read -r f; do [[ -f "$opened/$f" || -f "${run}_WITHHELD/$f" ]] || echo "$f"; done)"
grep -q "Target File: .*host0001-trace.log" <<<"$entries" || fail "the report does not name the renamed file as packed"

expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
expect_entry "$entries" "Node Name: host0001"
expect_entry "$entries" "Redacted: the names behind the stand-ins are kept beside the run folder in ${stamp}_REDACTION-MAP.TXT; that file is not packed"
expect_entry "$entries" "Successfully created C:\\$incident\\host0001\\$stamp"
for recorded in '"redacted": true' '"machine": "host0001"' '"secrets": [1-9]' '"fibreChannelNames": 2'; do
  grep -Eq "$recorded" "$opened/MANIFEST.json" || fail "the manifest does not hold $recorded"
done

# Every file of the plain run is packed (under its redacted name), or withheld and listed under
# its stand-in name with why.
withheld="$(perl -0777 -ne 'while (/"path": "([^"]+)",\s*"reason": "[^"]+"/g) { print "$1\n" }' "$opened/MANIFEST.json" |
            sed -E 's#^e2e[a-z]+_[A-Za-z0-9]+_[0-9]{8}__[0-9]{2}-[0-9]{2}-[0-9]{2}#CABINET#' | sort)"
expect_eq "files withheld: the snapshot cabinet and the encoded tool output" $'CABINET_HA.cab\nVM/qzflxinfo.enc' "$withheld"
expect_eq "withheld files beside the run folder" "$withheld" "$(file_list "${run}_WITHHELD")"
redacted_files="$( (file_list "$opened"; printf '%s\n' $withheld) | grep -v '^QzFilesToCab3.TXT$' | sort)"
expect_eq "files of the plain run missing from the redacted one" "" \
  "$(comm -23 <(grep -v '^QzFilesToCab3.TXT$' <<<"$plain_files" | sed 's/ACMESRV01/host0001/' | sort) <(sort -u <<<"$redacted_files"))"

# The demo machine "VM", like the run folder's VM folder: its name goes only where it stands as one.
collect_as vm e2evm redact
vm="$(tr -d '\r' <"${run}_REDACTION-MAP.TXT" | awk -F'\t' 'tolower($2) == "vm" && $3 == "hostNames" { print $1 }')"
[[ "$vm" =~ ^host[0-9]{4}$ ]] || fail "no host stand-in for VM in the map: [$vm]"
open_cabinets "$vm" "$work/opened-vm"
expect_eq "the machine level of the run folder's paths" "" "$(grep -rlF "\\e2evm\\VM\\" "$work/opened-vm" || true)"
entries="$(report_entries "$(ls "$work/opened-vm"/*_ULVIX-Report.HTML)" 2>&1)"
expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
expect_entry "$entries" "Node Name: $vm"
grep -q "^KDX/VM Version: " <<<"$entries" || fail "the report's own word VM went from KDX/VM Version"
grep -q "^VM Log file path: " <<<"$entries" || fail "the report's own word VM went from VM Log file path"
expect_file "$work/opened-vm/VM/kerd.log"

# A second run on the planted machine: the same originals, the same stand-ins.
collect_as acmesrv01 e2eagain 'redact=Brightwater;CORP'
second_map="${run}_REDACTION-MAP.TXT"
expect_eq "stand-ins of the first run that the second changed" "" \
  "$(comm -23 <(tail -n +4 "$first_map" | sort) <(tail -n +4 "$second_map" | sort))"
open_cabinets host0001 "$work/opened-again"

# Onto a share: the machine's folder there has the stand-in's name; the map and the withheld
# files stay on the local root, under the real name.
share="$drive_c/e2eshare"
rm -rf "$share" && mkdir -p "$share"
run_as acmesrv01 e2eshared 'share=C:\e2eshare' 'redact=Brightwater'
machine="$drive_c/$incident/$node"
expect_eq "run folders on the local root" "" "$(find "$machine" -mindepth 1 -maxdepth 1 -type d ! -name '*_WITHHELD')"
expect_eq "what the share holds in clear" "" "$(find "$share" -iname '*acmesrv01*' -o -iname '*REDACTION-MAP*' -o -iname '*_WITHHELD*')"
shared_runs=("$share/$incident/host0001/"*/)
expect_eq "run folders on the share" 1 "${#shared_runs[@]}"
expect_eq "maps kept on the local root" 1 "$(find "$machine" -maxdepth 1 -name '*_REDACTION-MAP.TXT' | wc -l)"
expect_eq "withheld folders kept on the local root" 1 "$(find "$machine" -maxdepth 1 -type d -name '*_WITHHELD' | wc -l)"

finish
