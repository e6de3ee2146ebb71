#!/usr/bin/env bash
# The steps benchmark's data: the whole-run benchmark's, in a folder of its own.
# Usage: bench/data/steps.sh <data folder> <scale> <bin folder>
exec bash "$(dirname "$0")/wholerun.sh" "$@"
