#!/bin/bash
# tools/import-bench.sh [BUILD_DIR] [RUNS]
# The import of the folders Windows remembers under Wine (inside
# tools/session): a user with 5,000 remembered folders planted in a test run
# of the benchmark's own; each run times the dialog until it lists them all
# and the import of all of them. Builds the benchmark first.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/i686}"
runs="${2:-3}"
build="$(cd "$build" && pwd)"
cmake --build "$build" --target pfadwerk_import_bench >/dev/null
"$root/tools/session" "$build" bash -c 'wine "$1" "$2" 2>/dev/null' _ "$build/testbin/pfadwerk_import_bench.exe" "$runs"
