#!/usr/bin/env bash
# "redact" on the demo machine with planted identities (computer name ACMESRV01 by a UTS
# namespace of its own, which Wine takes it from; domain, addresses, MACs, a user profile, a SID,
# a password, a keyword): in the cabinets, opened as support opens them, no original is left,
# each stand-in stands for one original, the map is not packed, SHA256SUMS holds, every file of
# a plain run is there or withheld, and a second run gives the same stand-ins.
# Usage: RedactedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" RedactedRun

use_prefix "$build/e2e-redact-prefix"
install_demo
unshare -u true 2>/dev/null || { fail "a UTS namespace of its own needs root"; finish; }

sid_domain="1004336348-1177238915-682003330"
product='HKLM\SOFTWARE\BRENNOCK\QzSvc\Planted'
for value in "DbPassword=Hunter2Secret!" "Peer=dbhost7.corp.acme.com" "PeerAddress=10.20.30.40" \
             "Gateway6=fd12:3456:789a::17" "NodeMac=00-1A-2B-3C-4D-5E" "Owner=CORP\\jdoe"; do
  wine reg add "$product" /v "${value%%=*}" /d "${value#*=}" /f >>"$wine_log" 2>&1 || fail "cannot plant $value"
done
wine reg add 'HKLM\System\CurrentControlSet\Services\Tcpip\Parameters' /v "NV Domain" /d corp.acme.com /f \
  >>"$wine_log" 2>&1 || fail "cannot plant the domain"
wine reg add "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-$sid_domain-1001" \
  /v ProfileImagePath /d 'C:\users\jdoe' /f >>"$wine_log" 2>&1 || fail "cannot plant the profile"
hosts="$drive_c/windows/system32/drivers/etc/hosts"
grep -q dbhost7 "$hosts" 2>/dev/null || printf '10.20.30.40\tdbhost7.corp.acme.com dbhost7\r\n' >>"$hosts"
# The stand-ins of earlier invocations go: the first run here numbers them afresh.
rm -rf "$drive_c/ProgramData/Zeltrin"
printf '%s\r\n' "connect ACMESRV01.corp.acme.com (10.20.30.41) from fd12:3456:789a::17 mac 00:1a:2b:3c:4d:5e" \
  "user CORP\\jdoe sid S-1-5-21-$sid_domain-1001 password=Hunter2Secret! for project Brightwater on \\\\dbhost7\\c\$" \
  >>"$drive_c/Program Files/Brennock/Dunmere/logs/kerd/kerd.log"
# The originals the map names (the MAC in its one form), and the secret it never holds.
mapped=(ACMESRV01 corp.acme.com acme.com 10.20.30.40 10.20.30.41 fd12:3456:789a::17 00:1a:2b:3c:4d:5e jdoe
        "$sid_domain" dbhost7 Brightwater)
originals=("${mapped[@]}" 00-1A-2B-3C-4D-5E Hunter2Secret)

# A silent run on a machine of the host name (Wine's computer name); sets incident, node and
# those of find_single_run.
collect_as() {
  incident="$2"
  rm -rf "${drive_c:?}/$incident"
  wineserver -k 2>/dev/null || true
  wineserver -w
  unshare -u bash -c 'hostname "$1" && cd "$2" && wine Zeltrin.exe -noGUI "case#=$3" "${@:4}"; status=$?; wineserver -w; exit $status' \
    run "$1" "$program" "$incident" "$host_floor" "${@:3}" >>"$wine_log" 2>&1 </dev/null || fail "Zeltrin.exe $* ended with status $?"
  node="${1^^}"
  find_single_run
}

# The files below a folder, without the report's process id and the cabinets' incident, node, time.
file_list() {
  (cd "$1" && find . -type f | sed -E 's#^\./##; s#^[0-9]+_ULVIX#N_ULVIX#; s#^e2e[a-z]+_[A-Za-z0-9]+_[0-9]{8}__[0-9]{2}-[0-9]{2}-[0-9]{2}#CABINET#' | sort)
}

collect_as acmesrv01 e2eplain
plain_files="$(file_list "$run")"

collect_as acmesrv01 e2eredact redact=Brightwater
first_map="${run}_REDACTION-MAP.TXT"
expect_absent "$machine/${incident}_${node}_${stamp}.cab"
open_cabinets host0001 "$work/opened"
opened="$work/opened"
for original in "${originals[@]}"; do
  found="$(grep -railF -- "$original" "$opened" || true)"
  [[ -z "$found" ]] || fail "$original is still in: $found"
done
for original in "${mapped[@]}"; do
  grep -qiF -- "$original" "$first_map" || fail "the map has no stand-in for $original"
done
expect_eq "stand-ins that stand for more than one original" "" "$(tail -n +4 "$first_map" | cut -f1 | sort | uniq -d)"
expect_eq "originals with more than one stand-in" "" "$(tail -n +4 "$first_map" | cut -f2 | tr 'A-Z' 'a-z' | sort | uniq -d)"
(cd "$opened" && sha256sum --strict -c SHA256SUMS >>"$wine_log" 2>&1) || fail "sha256sum -c SHA256SUMS failed after extraction"
expect_eq "map files in the cabinets" "" "$(cd "$opened" && find . -iname '*REDACTION*')"

entries="$(report_entries "$(ls "$opened"/*_ULVIX-Report.HTML)" 2>&1)"
expect_eq "the report's last entry" "ULVIX - Done!" "$(tail -n 1 <<<"$entries")"
expect_entry "$entries" "Node Name: host0001"
expect_entry "$entries" "Redacted: the names behind the stand-ins are kept beside the run folder in ${stamp}_REDACTION-MAP.TXT; that file is not packed"
expect_entry "$entries" "Successfully created C:\\$incident\\host0001\\$stamp"
for recorded in '"redacted": true' '"machine": "host0001"' '"secrets": [1-9]'; do
  grep -Eq "$recorded" "$opened/MANIFEST.json" || fail "the manifest does not hold $recorded"
done

# Every file of the plain run is packed, or withheld and listed under its stand-in name with why.
withheld="$(perl -0777 -ne 'while (/"path": "([^"]+)",\s*"reason": "[^"]+"/g) { print "$1\n" }' "$opened/MANIFEST.json" |
            sed -E 's#^e2e[a-z]+_[A-Za-z0-9]+_[0-9]{8}__[0-9]{2}-[0-9]{2}-[0-9]{2}#CABINET#' | sort)"
expect_eq "files withheld: the snapshot cabinet and the encoded tool output" $'CABINET_HA.cab\nVM/qzflxinfo.enc' "$withheld"
expect_eq "withheld files beside the run folder" "$withheld" "$(file_list "${run}_WITHHELD")"
redacted_files="$( (file_list "$opened"; printf '%s\n' $withheld) | grep -v '^QzFilesToCab3.TXT$' | sort)"
expect_eq "files of the plain run missing from the redacted one" "" \
  "$(comm -23 <(grep -v '^QzFilesToCab3.TXT$' <<<"$plain_files") <(sort -u <<<"$redacted_files"))"

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
collect_as acmesrv01 e2eagain redact=Brightwater
second_map="${run}_REDACTION-MAP.TXT"
expect_eq "stand-ins of the first run that the second changed" "" \
  "$(comm -23 <(tail -n +4 "$first_map" | sort) <(tail -n +4 "$second_map" | sort))"
open_cabinets host0001 "$work/opened-again"

finish
