# Sourced by the end-to-end scripts that prove a command changed nothing of the user's: every
# file of the demo installation and every value below the product's and the environment's keys.
# Wine's own files (system.reg, user.reg) stay out: Wine rewrites them at each start and stop.
# Usage: fingerprint_installation <program folder>; fingerprint >file; differences <before> <after>
fingerprint_installation() {
  # The folders: the program folder, each folder that demo/files puts below drive C (two
  # levels down, so Wine's own folders stay out), the stand-in interpreter's install folder and
  # what demo/temp puts into the user's temporary folder.
  local temp_folder
  temp_folder="$(unix_path "$(wine_output cmd /c echo %TEMP%)")"
  declare -gA folders=([program]="$1" ["Program Files/Tobrin"]="$drive_c/Program Files/Tobrin")
  while IFS= read -r relative; do folders["$relative"]="$drive_c/$relative"; done \
    < <(cd "$root/demo/files" && find . -mindepth 2 -maxdepth 2 -printf '%P\n')
  while IFS= read -r relative; do folders["TEMP/$relative"]="$temp_folder/$relative"; done \
    < <(cd "$root/demo/temp" && find . -mindepth 1 -maxdepth 1 -printf '%P\n')
  # The keys: the product's roots that demo/registry names (three levels: hive, SOFTWARE,
  # vendor) and the user's and the machine's environment.
  mapfile -t keys < <(sed -n 's/^\[\(.*\)\]\r\{0,1\}$/\1/p' "$root"/demo/registry/*.reg |
    awk -F'\\' '{ key = $1; for (i = 2; i <= NF && i <= 3; i++) key = key "\\" $i; print key }' | sort -u)
  keys+=('HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment')
}

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

# "<sign> <path>" for every path whose fingerprint differs: "-" gone, "+" new, "~" changed.
differences() {
  awk 'FNR == NR { before[$1] = $0; next }
       { after[$1] = $0 }
       END {
         for (p in before) if (!(p in after)) print "- " p; else if (before[p] != after[p]) print "~ " p
         for (p in after) if (!(p in before)) print "+ " p
       }' FS='\t' <(sed 's/ \(folder\|file\) /\t&/' "$1") <(sed 's/ \(folder\|file\) /\t&/' "$2") | sort
}
