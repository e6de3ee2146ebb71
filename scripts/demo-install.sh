#!/usr/bin/env bash
# Installs the demo product into a Wine prefix and fills a program folder, so that a
# collection there finds the product. Idempotent: a second run puts everything back as new.
# Usage: scripts/demo-install.sh <prefix> <program folder>
#   <prefix>          the Wine prefix (made when missing); gets the registry of demo/registry/,
#                     the files of demo/files/ below its drive_c, demo/temp/ in the user's
#                     temporary folder, and the snapshot tools and perl as stand-in programs
#   <program folder>  gets Zeltrin.exe, qdsminfo.exe and the shipped files from the build's
#                     bin folder (BUILD_DIR, default build/), the product's tools as copies of
#                     zeltrin-stub-tool.exe, and the command files of demo/commands/
# The programs must be built first (scripts/build.sh).
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 <prefix> <program folder>" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
bin="$build/bin"
demo="$root/demo"
program="$(realpath -m "$2")"
source "$root/scripts/wine-prefix.sh" "$1"

stub="$bin/zeltrin-stub-tool.exe"
for built in Zeltrin.exe qdsminfo.exe zeltrin-stub-tool.exe QzRegList.txt Zeltrin.CFG Zeltrin.htm summary-page.png \
             qzcab.cmd qzhacab.cmd qzpack.cmd; do
  if [ ! -f "$bin/$built" ]; then
    echo "demo-install: $bin/$built is missing; build first" >&2
    exit 1
  fi
done

for reg in "$demo"/registry/*.reg; do
  wine regedit /S "$(winepath -w "$reg")"
done

drive_c="$WINEPREFIX/drive_c"
cp -r "$demo/files/." "$drive_c/"
# Seen once in a whole test run: the interpreter printed nothing. Say so, with its status,
# rather than fail later on an empty folder name.
temp_windows="$(wine cmd /c 'echo %TEMP%' | tr -d '\r')" && status=0 || status=$?
[ -n "$temp_windows" ] || { echo "demo-install: 'cmd /c echo %TEMP%' printed nothing (status $status)" >&2; exit 1; }
temp_folder="$(winepath -u "$temp_windows")"
mkdir -p "$temp_folder"
cp -r "$demo/temp/." "$temp_folder/"

# The programs the registry and the environment of demo/registry/ point at.
install_stub() {
  mkdir -p "$(dirname "$1")"
  cp "$stub" "$1"
}
install_stub "$drive_c/Program Files/Brennock/PQH/bin/clusnap.exe"
install_stub "$drive_c/Program Files/Brennock/WLT/bin/wltsnap.exe"
install_stub "$drive_c/Program Files/Tobrin/NLDH/bin/perl.exe"

mkdir -p "$program"
cp "$bin/Zeltrin.exe" "$bin/qdsminfo.exe" "$bin/QzRegList.txt" "$bin/Zeltrin.CFG" "$bin/Zeltrin.htm" "$bin/summary-page.png" \
   "$bin/qzcab.cmd" "$bin/qzhacab.cmd" "$bin/qzpack.cmd" "$program/"
for tool in qzflxinfo.EXE qzvmdom.EXE KDXDOM.EXE DOTNET/qzdiag2003.EXE ruqdiaginfo.exe ruqdump.exe \
            pqhmc-diag.exe qzfilever.EXE qzclustadm.exe; do
  install_stub "$program/$tool"
done
cp "$demo"/commands/* "$program/"
