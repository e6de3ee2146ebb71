#!/usr/bin/env bash
# The fleet playbooks parse and pass the linter (offline, with the profile set beside them), and
# copy to the hosts exactly the programs and the files the build ships beside them.
# Usage: FleetPlaybookChecks.sh <source folder>
set -euo pipefail
cd "$1/deploy/ansible"
ansible-playbook --syntax-check -i inventory.example.yml zeltrin_fleet.yml zeltrin_gather.yml
ansible-lint --nocolor
shipped=$(echo Zeltrin.exe qdsminfo.exe $(sed -n 's/^set(shipped_files \(.*\))$/\1/p' "$1/release/CMakeLists.txt") | tr ' ' '\n' | sort)
copied=$(sed -n '/^zeltrin_release_files:$/,/^$/s/^  - //p' roles/zeltrin/defaults/main.yml | sort)
[[ "$shipped" == "$copied" ]] || { echo "the playbook copies [$copied], the build ships [$shipped]" >&2; exit 1; }
