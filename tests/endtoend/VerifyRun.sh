#!/usr/bin/env bash
# "Zeltrin.exe -verify" on the demo run's bundle: its cabinets and its run folder are whole;
# cabinets rebuilt with a changed, a removed and an added file, one cut short, and a path that
# is not there are named with their lines and exit statuses; nothing is written.
# Usage: VerifyRun.sh <source folder> <build folder>
source "$(dirname "$0")/EndToEnd.sh" "$1" "$2" VerifyRun
incident=e2everify

use_prefix "$build/e2e-prefix"
install_demo
rm -rf "${drive_c:?}/$incident"
zeltrin "case#=$incident"
expect_eq "the run's exit status" 0 "$status"
find_single_run

# -verify with the given paths: its lines, without CRs, in $verified and its status in $vstatus.
# Into a file: Wine's own processes, when this start begins them, keep a pipe open.
verify() {
  vstatus=0
  (cd "$program" && wine Zeltrin.exe -verify "$@" >"$work/verified.txt" 2>>"$wine_log" </dev/null) || vstatus=$?
  verified="$(tr -d '\r' <"$work/verified.txt")"
}

stem="${incident}_${node}_${stamp}"
cabinets=("$machine/$stem"*.cab)
# The names a cabinet holds, as cabextract lists them.
cabinet_names() { cabextract -l "$1" | grep -E '^ *[0-9]+ \| ' | sed 's/.* | //'; }
packed=$(for cabinet in "${cabinets[@]}"; do cabinet_names "$cabinet"; done | wc -l)
marker="$work/before-verify"
touch "$marker"
# Named by its last cabinet: the run's others are taken with it, and the run once.
verify "C:\\$incident\\$node\\${cabinets[-1]##*/}" "C:\\$incident\\$node\\$stem.cab"
expect_eq "-verify of the cabinets: exit status" 0 "$vstatus"
expect_eq "-verify of the cabinets" "Bundle: C:\\$incident\\$node\\$stem.cab (cabinets: ${#cabinets[@]})
Verified: $packed files, 0 problems" "$verified"
verify "$run_w"
expect_eq "-verify of the run folder: exit status" 0 "$vstatus"
expect_eq "-verify of the run folder" "Bundle: $run_w (folder)
Verified: $(find "$run" -type f | wc -l) files, 0 problems" "$verified"
expect_eq "files written by -verify" "" "$(find "$drive_c" "$program" -newer "$marker" -type f)"

# The cabinets opened, one byte of a file changed, a file removed and one added, packed again.
unpacked="$work/unpacked"
open_cabinets "$node" "$unpacked"
printf 'X' | dd of="$unpacked/VM/kerd.log" bs=1 seek=3 conv=notrunc status=none
rm "$unpacked/OS/CLUSTER.LOG"
echo added >"$unpacked/MISC/x.log"
mkdir -p "$work/tampered"
(cd "$unpacked" && find . -type f -printf '%P\n' | LC_ALL=C sort | xargs -d '\n' gcab -c -z "$work/tampered/$stem.cab")
tampered_w="$(winepath -w "$work/tampered/$stem.cab" 2>>"$wine_log")"
verify "$tampered_w"
expect_eq "-verify of the changed cabinet: exit status" 7 "$vstatus"
expect_eq "-verify of the changed cabinet" "Bundle: $tampered_w (cabinets: 1)
Extra: MISC/x.log
Missing: OS/CLUSTER.LOG
Changed: VM/kerd.log
Verified: $packed files, 3 problems" "$verified"

# The run's first cabinet without its last bytes, beside the others: what it could not give is missing.
mkdir -p "$work/cut"
cp "${cabinets[@]}" "$work/cut/"
head -c $(($(stat -c %s "$machine/$stem.cab") - 64)) "$machine/$stem.cab" >"$work/cut/$stem.cab"
cut_w="$(winepath -w "$work/cut/$stem.cab" 2>>"$wine_log")"
verify "$cut_w"
expect_eq "-verify of a cabinet cut short: exit status" 7 "$vstatus"
expect_eq "-verify of a cabinet cut short: its second line" "Not readable: $cut_w: damaged or cut short" \
  "$(sed -n 2p <<<"$verified")"
last_of_first="$(cabinet_names "$machine/$stem.cab" | tail -n 1)"
first_of_second="$(cabinet_names "${cabinets[1]}" | head -n 1)"
grep -Fxq "Missing: $last_of_first" <<<"$verified" || fail "the cut cabinet's last file is not said missing"
! grep -Fq "$first_of_second" <<<"$verified" || fail "a file of the second cabinet is named: $first_of_second"

# A bundle from before the summary page: the run folder without the page, its sums without its
# line. "-summary" makes the page beside it from the manifest: the run's own page but for what
# an older manifest does not record (the exit status; the duration, in whole seconds).
older="$machine/older"
cp -r "$run" "$older"
rm "$older/SUMMARY.html"
sed -i '/  SUMMARY\.html\r\?$/d' "$older/SHA256SUMS"
verify "C:\\$incident\\$node\\older" -summary
expect_eq "-verify -summary of an older bundle" "0|Bundle: C:\\$incident\\$node\\older (folder)
Summary: C:\\$incident\\$node\\older_SUMMARY.html
Verified: $(find "$older" -type f | wc -l) files, 0 problems" "$vstatus|$verified"
page_rows() { grep -vE '^<tr><th>(Duration|Exit status)</th>' "$1"; }
expect_eq "the summary page made from the manifest, against the run's own" "" \
  "$(diff <(page_rows "$run/SUMMARY.html") <(page_rows "${older}_SUMMARY.html"))"
verify "$run_w" -summary
expect_eq "-verify -summary of a bundle with its page" "Summary: the bundle has its own SUMMARY.html" \
  "$(sed -n 2p <<<"$verified")"

verify "C:\\$incident\\nothing-here"
expect_eq "-verify of a path that is not there: exit status" 5 "$vstatus"
expect_eq "-verify of a path that is not there" "Not found: C:\\$incident\\nothing-here" "$verified"

finish
