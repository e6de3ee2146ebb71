#!/usr/bin/env bash
# The collector's folders depend on each other in one direction only, and the dialog's header
# stays with the dialog and the start-up: the engine and its subsystems need no window.
set -uo pipefail
cd "$1/collector" || exit 2
status=0
outside=$(grep -rl '"dialog/CULVIXDlg.h"' --include='*.h' --include='*.cpp' . | grep -v -E '^\./(dialog|app)/')
if [ -n "$outside" ]; then
  echo "the dialog's header is included outside dialog/ and app/:" $outside
  status=1
fi
# One "from to" pair per folder that includes a header of another.
pairs=$(grep -r -o -E '#include "[a-z]+/' --include='*.h' --include='*.cpp' . |
        sed -E 's#^\./([a-z]+)/[^:]*:\#include "([a-z]+)/$#\1 \2#' | awk '$1 != $2' | sort -u)
if ! loops=$(printf '%s\n' "$pairs" | tsort 2>&1 >/dev/null) || [ -n "$loops" ]; then
  echo "folders that include each other, round a circle:"
  echo "$loops"
  status=1
fi
exit $status
