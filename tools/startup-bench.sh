#!/bin/bash
# tools/startup-bench.sh [BUILD_DIR] [RUNS]
# Starts dist/Pfadwerk.exe RUNS times under Wine (inside tools/session) with
# PFADWERK_STARTUP_BENCH set: each run appends the time from process creation
# and from the program's own entry to the first paint of the main window, then
# ends. Prints every run and the medians.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/i686}"
runs="${2:-10}"
build="$(cd "$build" && pwd)"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$root/tools/session" "$build" bash -c '
    out="$1"; exe="$2"; runs="$3"
    # One start to warm the prefix and the file cache, not counted.
    PFADWERK_STARTUP_BENCH="$(winepath -w /dev/null)" wine "$exe" >/dev/null 2>&1 || true
    for _ in $(seq "$runs"); do
        PFADWERK_STARTUP_BENCH="$(winepath -w "$out")" wine "$exe" >/dev/null 2>&1 || true
    done' _ "$out" "$build/dist/Pfadwerk.exe" "$runs"
cat "$out"
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.1f", v[int((NR + 1) / 2)] }'; }
[ -s "$out" ] || { echo "no run reported" >&2; exit 1; }
echo "median of $(wc -l < "$out") runs: process start to first paint $(awk '{ print $2 }' "$out" | median) ms," \
     "program entry to first paint $(awk '{ print $5 }' "$out" | median) ms"
