# Sourced by the end-to-end scripts that prove a command changed nothing of the user's: every
# file of the demo installation (its hash, size and time) and every value below the product's
# and the environment's keys. Wine's own files (system.reg, user.reg) stay out: Wine rewrites
# them at each start and stop.
# Usage: fingerprint_installation; fingerprint >file; differences <before> <after>
fingerprint_installation() {
  # The program folder, each folder that demo/files puts below drive C (two levels down, so
  # Wine's own folders stay out), the stand-in interpreter's folder and what demo/temp puts into
  # the user's temporary folder; the product's roots that demo/registry names (hive, SOFTWARE,
  # vendor) and the environments.
  local temp_folder relative
  temp_folder="$(winepath -u "$(wine cmd /c echo %TEMP% 2>>"$wine_log" </dev/null | tr -d '\r')" 2>>"$wine_log")"
  folders=("$program" "$drive_c/Program Files/Tobrin")
  while IFS= read -r relative; do folders+=("$drive_c/$relative"); done < <(cd "$root/demo/files" && find . -mindepth 2 -maxdepth 2 -printf '%P\n')
  while IFS= read -r relative; do folders+=("$temp_folder/$relative"); done < <(cd "$root/demo/temp" && find . -mindepth 1 -maxdepth 1 -printf '%P\n')
  mapfile -t keys < <(sed -n 's/^\[\(.*\)\]\r\{0,1\}$/\1/p' "$root"/demo/registry/*.reg | awk -F'\\' '{ print $1 "\\" $2 "\\" $3 }' | sort -u)
  keys+=('HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager\Environment' 'HKEY_CURRENT_USER\Environment')
}

fingerprint() {
  local folder key export_w
  for folder in "${folders[@]}"; do
    [[ -d "$folder" ]] || { echo "missing $folder"; continue; }
    find "$folder" -mindepth 1 \( -type d -printf '%p folder\n' \) -o \( -type f -printf '%p %s %T@ ' -exec sh -c 'sha256sum <"$1" | cut -c1-64' _ {} \; \)
  done | sort
  # The export's path as Wine's Z: drive names it, worked out here: once the path a winepath start
  # printed made "reg export" fail to create the file ("Invalid name"). A failed export is said
  # as a missing key, not read.
  export_w="Z:${work//\//\\}\\export.reg"
  for key in "${keys[@]}"; do
    rm -f "$work/export.reg"
    if ! wine reg export "$key" "$export_w" /y >>"$wine_log" 2>&1; then
      echo "missing $key"
      continue
    fi
    iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r' | awk -v root="$key" '/^\[/ { key = $0; next } NF { print root, key, $0 }'
  done
}

# The lines that differ: "<" before, ">" after, a file's hash, size and time put aside.
differences() {
  diff "$1" "$2" | grep '^[<>]' | sed -E 's/ [0-9]+ [0-9.]+ [0-9a-f]{64}$//' || true
}
