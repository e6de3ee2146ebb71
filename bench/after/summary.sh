#!/usr/bin/env bash
# Times headless Chromium opening the summary page summary-bench left and laying out and
# painting its first screen, against the same for an empty page (Chromium's own start), three
# times each in turns; adds a row of the medians to the bench table (goal: the page within 2 s).
# Usage: summary.sh <data folder> <scale> <rows file>
set -euo pipefail
page="$1/SUMMARY.html"
[ -f "$page" ] || { echo "summary render: no page $page" >&2; exit 1; }
empty="$(mktemp -d)"
trap 'rm -rf "$empty"' EXIT
echo '<!DOCTYPE html><title>empty</title>' >"$empty/empty.html"
render() {
  local started=$EPOCHREALTIME
  chromium --headless --no-sandbox --disable-gpu --user-data-dir="$empty/profile" --window-size=1280,1024 \
    --screenshot="$empty/shot.png" "file://$1" >/dev/null 2>&1
  awk -v a="$EPOCHREALTIME" -v b="$started" 'BEGIN { printf "%.3f\n", a - b }'
}
pages=(); blanks=()
for _ in 1 2 3; do pages+=("$(render "$page")"); blanks+=("$(render "$empty/empty.html")"); done
median() { printf '%s\n' "$@" | sort -n | sed -n 2p; }
printf 'ROW\tsummary-render\t%s\t%s\t-\t0\tChromium headless, first screen of the %s MB page; an empty page %s s (goal: within 2 s)\t-\tno\n' \
  "$2" "$(median "${pages[@]}")" "$(($(stat -c %s "$page") / 1000000))" "$(median "${blanks[@]}")" | tee -a "$3" >&2
