#!/usr/bin/env bash
# The redaction benchmark rewrites the whole-run benchmark's data: the demo product's logs,
# scaled up in the same way.
# Usage: bench/data/redact.sh <data folder> <scale> <bin folder>   (WINEPREFIX as set by scripts/bench.sh)
exec bash "$(dirname "$0")/wholerun.sh" "$@"
