#!/usr/bin/env bash
# A full silent collection must change nothing of the user's: every file of the demo
# installation and every value below the product's registry keys and of the environment are
# fingerprinted before and after the run; the only difference allowed is the multipath
# tool's output, which the tool writes into the program folder under a fixed name and the run
# moves into the run folder (an older file of that name is overwritten and moved away).
# Usage: NothingChangedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" NothingChangedRun
incident=e2enochg

use_faults_prefix
install_demo
rm -rf "${drive_c:?}/$incident"
printf 'left by an earlier run of the multipath tool\r\n' >"$program/qzflxinfo.enc"

# The program folder, each folder that demo/files puts below drive C (two levels down, so
# Wine's own folders stay out), the stand-in interpreter's folder and what demo/temp puts
# into the user's temporary folder.
temp_folder="$(winepath -u "$(wine cmd /c echo %TEMP% 2>>"$wine_log" </dev/null | tr -d '\r')" 2>>"$wine_log")"
folders=("$program" "$drive_c/Program Files/Tobrin")
while IFS= read -r relative; do folders+=("$drive_c/$relative"); done < <(cd "$root/demo/files" && find . -mindepth 2 -maxdepth 2 -printf '%P\n')
while IFS= read -r relative; do folders+=("$temp_folder/$relative"); done < <(cd "$root/demo/temp" && find . -mindepth 1 -maxdepth 1 -printf '%P\n')
# The product's roots that demo/registry names (hive, SOFTWARE, vendor) and the environments.
mapfile -t keys < <(sed -n 's/^\[\(.*\)\]\r\{0,1\}$/\1/p' "$root"/demo/registry/*.reg |
  awk -F'\\' '{ print $1 "\\" $2 "\\" $3 }' | sort -u)
keys+=('HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment' 'HKEY_CURRENT_USER\Environment')

# One line per folder, file (with its hash, size and time) and registry line.
fingerprint() {
  local folder key
  for folder in "${folders[@]}"; do
    [[ -d "$folder" ]] || { echo "missing $folder"; continue; }
    find "$folder" -mindepth 1 \( -type d -printf '%p folder\n' \) -o \( -type f -printf '%p %s %T@ ' -exec sh -c 'sha256sum <"$1" | cut -c1-64' _ {} \; \)
  done | sort
  for key in "${keys[@]}"; do
    rm -f "$work/export.reg"
    wine reg export "$key" "$(winepath -w "$work/export.reg" 2>>"$wine_log")" /y >>"$wine_log" 2>&1 || echo "missing $key"
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" 2>/dev/null | tr -d '\r' | awk -v root="$key" '/^\[/ { key = $0; next } NF { print root, key, $0 }'
  done
}

fingerprint >"$work/before.txt"
zeltrin "case#=$incident"
fingerprint >"$work/after.txt"
expect_eq "exit status" 0 "$status"
find_single_run
expect_completed_run
expect_eq "the multipath tool's own output, moved in" "qzflxinfo stub output" "$(tr -d '\r' <"$run/VM/qzflxinfo.enc")"
# The fingerprints cover what they must: the product's files, its tools and its keys.
for line in "$program/Zeltrin.exe " "Dunmere/logs/qzsvc.log " "qzmpio/instmpio.log " "NLDH/bin/perl.exe " \
            '[HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK\QzSvc\CurrentVersion\VolumeManager] "Version"' '"PQH_HOME"'; do
  grep -Fq -- "$line" "$work/before.txt" || fail "the fingerprint does not hold [$line]"
done
! grep '^missing ' "$work/before.txt" || fail "a folder or key of the installation is not there (above)"
expect_eq "what the run changed of the installation" "< $program/qzflxinfo.enc" \
  "$(diff "$work/before.txt" "$work/after.txt" | grep '^[<>]' | sed -E 's/ [0-9]+ [0-9.]+ [0-9a-f]{64}$//')"

finish
