#!/usr/bin/env bash
# The fleet playbook's gathering on the controller, for real: one demo run, named by its
# console's "Result:" line, gathered by deploy/ansible/zeltrin_gather.yml for hosts of a local
# inventory: "good" reads the run's own files, "bad" a copy with one cabinet changed, "gone" a
# result file that is not there. The layout <incident>/<host>/, its sums, the report per host.
# Usage: FleetGatherRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" FleetGatherRun
incident=e2efleet

use_prefix "$build/e2e-prefix"
install_demo
rm -rf "${drive_c:?}/$incident"
zeltrin -quiet "case#=$incident"
expect_eq "exit status" 0 "$status"
find_single_run
last_line=$(tr -d '\r' <"$console" | tail -n 1)
[[ "$last_line" == "Result: "* ]] || { fail "the console's last line is no Result line: [$last_line]"; finish; }
result=$(realpath "$(winepath -u "${last_line#Result: }" 2>>"$wine_log")")
expect_eq "the result file" "$machine/${incident}_${node}_${stamp}_RESULT.json" "$result"

# name|size|sha256 of each cabinet the result file names, and the report line of a good host.
mapfile -t cabinets < <(jq -r '.cabinets[] | "\(.path | split("\\") | last)|\(.size)|\(.sha256)"' "$result")
((${#cabinets[@]} > 0)) || fail "the result file names no cabinet"
summary=$(jq -r '"ok, exit status \(.exitStatus); \(.cabinets | length) cabinets, \([.cabinets[].size] | add) bytes; steps: \(.steps.ok) ok, \(.steps.partial) partial, \(.steps.failed) failed, \(.steps.skipped) skipped; \(.failures) failures"' "$result")

# The bad host's drive: the run's files with the main cabinet's last byte changed.
main="${incident}_${node}_${stamp}.cab"
mkdir -p "$work/bad-c" && cp -r "$drive_c/$incident" "$work/bad-c/"
printf '\x5a' | dd of="$work/bad-c/$incident/$node/$main" bs=1 seek=$(($(stat -c %s "$machine/$main") - 1)) conv=notrunc 2>>"$wine_log"
cat >"$work/inventory.yml" <<EOF
zeltrin:
  vars: {ansible_connection: local, ansible_python_interpreter: /usr/bin/python3, zeltrin_result_local: "$result"}
  hosts:
    good: {zeltrin_cabinet_paths: [{windows: 'C:\\', local: "$drive_c"}]}
    bad: {zeltrin_cabinet_paths: [{windows: 'C:\\', local: "$work/bad-c"}]}
    gone: {zeltrin_result_local: "$machine/none_RESULT.json"}
EOF
gather() {
  gathered=0
  PYTHONDONTWRITEBYTECODE=1 ANSIBLE_LOCAL_TEMP="$work/ansible-tmp" ansible-playbook -i "$work/inventory.yml" \
    "$root/deploy/ansible/zeltrin_gather.yml" -e "zeltrin_incident=$incident zeltrin_dest=$work/collected" "$@" \
    >>"$work/ansible.log" 2>&1 || gathered=$?
}
gather
expect_eq "ansible-playbook's status with failed hosts" 2 "$gathered"

# Each host's folder: the cabinets under their names with the result file's sums, the result
# file; the changed cabinet aside; nothing else.
expected_files() {
  for cabinet in "${cabinets[@]}"; do echo "${cabinet%%|*}$([[ "${cabinet%%|*}" == "$1" ]] && echo .sha256-mismatch)"; done
  basename "$result"
}
for host in good bad; do
  expect_eq "the files gathered for $host" "$(expected_files "$([[ $host == bad ]] && echo "$main")" | LC_ALL=C sort)" \
    "$(ls "$work/collected/$incident/$host" | LC_ALL=C sort)"
  expect_eq "the result file gathered for $host" "" "$(cmp "$result" "$work/collected/$incident/$host/$(basename "$result")" 2>&1)"
done
for cabinet in "${cabinets[@]}"; do
  IFS='|' read -r name size sum <<<"$cabinet"
  expect_eq "$name, gathered for good" "$sum  $work/collected/$incident/good/$name" \
    "$(sha256sum "$work/collected/$incident/good/$name" 2>&1)"
  expect_eq "$name's size" "$size" "$(stat -c %s "$work/collected/$incident/good/$name")"
  [[ "$name" == "$main" ]] && bad_sum=$(sha256sum <"$work/bad-c/$incident/$node/$main" | cut -d' ' -f1) && main_line="$cabinet"
done
expect_eq "the changed cabinet, kept aside" "" "$(cmp "$work/bad-c/$incident/$node/$main" "$work/collected/$incident/bad/$main.sha256-mismatch" 2>&1)"
expect_absent "$work/collected/$incident/gone"

IFS='|' read -r _ main_size main_sum <<<"${main_line:-||}"
report="$work/collected/$incident/zeltrin-report.txt"
expect_eq "the report" "Zeltrin, incident $incident: 1 of 3 hosts gathered into $work/collected/$incident
bad: FAILED while gathering: $main differs from the result file: SHA-256 ${bad_sum:-}, $main_size bytes; the result file says $main_sum, $main_size bytes; kept as $main.sha256-mismatch
gone: FAILED while gathering: no result file $machine/none_RESULT.json
good: $summary" "$(cat "$report")"

# The good host alone: the play succeeds.
gather --limit good
expect_eq "ansible-playbook's status with the good host alone" 0 "$gathered"
expect_eq "the report of the good host alone" "Zeltrin, incident $incident: 1 of 1 hosts gathered into $work/collected/$incident
good: $summary" "$(cat "$report")"

finish
