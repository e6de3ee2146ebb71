#!/usr/bin/env bash
# Runs a Windows test program under Wine for CTest (discovery and test runs alike).
# Every test program writes its banner first, so one that fails without writing a single byte
# never reached its main: Wine did not start it. That was seen, rarely, early in a run on a
# busy machine; such a start is tried again, at most twice. A program that ran keeps its
# result and its output, whatever they are.
set -u
for attempt in 1 2 3; do
  out="$(mktemp)"
  err="$(mktemp)"
  wine "$@" >"$out" 2>"$err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -eq 3 ]; then
    cat "$out"
    cat "$err" >&2
    rm -f "$out" "$err"
    exit "$status"
  fi
  rm -f "$out" "$err"
  echo "wine-run: $1 ended with status $status before writing anything; starting it again" >&2
done
