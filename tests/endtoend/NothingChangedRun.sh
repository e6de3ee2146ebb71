#!/usr/bin/env bash
# A full silent collection must change nothing of the user's: every file of the demo
# installation (the program folder and the product's folders that scripts/demo-install.sh
# lays out) and every value below the product's registry keys and of the environment are
# fingerprinted before and after the run, and the only differences allowed are those listed
# below, each with its reason.
# Usage: NothingChangedRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" NothingChangedRun
source "$(dirname "$0")/FaultRuns.sh"
incident=e2enochg

# What the run may change, as "<sign> <path>" ("-" gone, "+" new, "~" changed): nothing else.
allowed_changes=(
  # The multipath tool writes its output into the program folder under a fixed name, and the
  # run moves it into the run folder (move flag 1): a file of that name left there by an
  # earlier run of the tool is overwritten and moved away.
  "- program/qzflxinfo.enc"
)

use_faults_prefix
program="$work/program"
install_demo "$program"
prepare_run "$program"
rm -rf "${drive_c:?}/$incident"
printf 'left by an earlier run of the multipath tool\r\n' >"$program/qzflxinfo.enc"

# The folders of the installation: the program folder, each folder that demo/files puts
# below drive C (two levels down, so Wine's own folders stay out), the stand-in interpreter's
# install folder and what demo/temp puts into the user's temporary folder.
temp_folder="$(unix_path "$(wine_output cmd /c echo %TEMP%)")"
declare -A folders=([program]="$program" ["Program Files/Tobrin"]="$drive_c/Program Files/Tobrin")
while IFS= read -r relative; do folders["$relative"]="$drive_c/$relative"; done \
  < <(cd "$root/demo/files" && find . -mindepth 2 -maxdepth 2 -printf '%P\n')
while IFS= read -r relative; do folders["TEMP/$relative"]="$temp_folder/$relative"; done \
  < <(cd "$root/demo/temp" && find . -mindepth 1 -maxdepth 1 -printf '%P\n')
# The keys: the product's roots that demo/registry names (three levels: hive, SOFTWARE,
# vendor) and the user's and the machine's environment.
mapfile -t keys < <(sed -n 's/^\[\(.*\)\]\r\{0,1\}$/\1/p' "$root"/demo/registry/*.reg |
  awk -F'\\' '{ key = $1; for (i = 2; i <= NF && i <= 3; i++) key = key "\\" $i; print key }' | sort -u)
keys+=('HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment')

# One line per folder, file and registry line: "<path> <kind> <fingerprint>".
fingerprint() {
  local label key export_file
  for label in "${!folders[@]}"; do
    [[ -d "${folders[$label]}" ]] || { echo "$label missing"; continue; }
    (cd "${folders[$label]}" && find . -mindepth 1 -printf '%P\n' | sort | while IFS= read -r path; do
      if [[ -d "$path" ]]; then echo "$label/$path folder"
      else echo "$label/$path file $(sha256sum <"$path" | cut -d' ' -f1) $(stat -c '%s %Y' "$path")"
      fi
    done)
  done
  export_file="$work/export.reg"
  for key in "${keys[@]}"; do
    rm -f "$export_file"
    wine reg export "$key" "$(winepath -w "$export_file" 2>>"$wine_log")" /y >>"$wine_log" 2>&1 ||
      { echo "$key cannot be exported"; continue; }
    # One line per value, named by its key, so a changed value names itself.
    iconv -f UTF-16 -t UTF-8 "$export_file" | tr -d '\r' |
      awk -v root="$key" '/^\[/ { section = $0; next } NF { print root " " section " " $0 }'
  done
}

# "<sign> <path>" for every path whose fingerprint differs.
differences() {
  awk 'FNR == NR { before[$1] = $0; next }
       { after[$1] = $0 }
       END {
         for (p in before) if (!(p in after)) print "- " p; else if (before[p] != after[p]) print "~ " p
         for (p in after) if (!(p in before)) print "+ " p
       }' FS='\t' <(sed 's/ \(folder\|file\) /\t&/' "$1") <(sed 's/ \(folder\|file\) /\t&/' "$2") | sort
}

fingerprint >"$work/before.txt"
(cd "$program" && wine Zeltrin.exe -noGUI "case#=$incident" >>"$wine_log" 2>&1 </dev/null) ||
  fail "Zeltrin.exe ended with status $?"
fingerprint >"$work/after.txt"

find_single_run
expect_completed_run "$run" "$program" "$run_w"
expect_eq "the multipath tool's own output, moved in" "qzflxinfo stub output" \
  "$(file_state "$machine/$stamp/VM/qzflxinfo.enc")"
# The fingerprints cover what they must: the product's files, its tools and its keys.
for line in "program/qzflxinfo.EXE file" "program/Zeltrin.exe file" "Program Files/Brennock/Dunmere/logs/qzsvc.log file" \
            "TEMP/qzmpio/instmpio.log file" "Program Files/Tobrin/NLDH/bin/perl.exe file" \
            'HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK [HKEY_LOCAL_MACHINE\SOFTWARE\BRENNOCK\QzSvc\CurrentVersion\VolumeManager] "Version"' \
            'HKEY_CURRENT_USER\Environment [HKEY_CURRENT_USER\Environment] "PQH_HOME"'; do
  grep -Fq -- "$line" "$work/before.txt" || fail "the fingerprint does not hold [$line]"
done
if grep -E ' (missing|cannot be exported)$' "$work/before.txt"; then fail "a folder or key of the installation is not there (above)"; fi

expect_eq "what the run changed of the installation" "$(printf '%s\n' "${allowed_changes[@]}" | sort)" \
  "$(differences "$work/before.txt" "$work/after.txt")"

finish
