#!/bin/bash
# Runs each fuzzer of a fuzz build for a set time, one after the other.
#   tools/fuzz.sh BUILD_DIR SECONDS [NAME...]
# Each keeps its corpus in BUILD_DIR/corpus/NAME (seeded from fuzz/seeds/NAME)
# so that passes build on each other; an input that crashes lands in
# BUILD_DIR/crashes/ and fails the run. The inputs in fuzz/regressions/NAME,
# each of which once crashed or hung a parser, run before each fuzzer. The last lines tell how many inputs
# each fuzzer ran.
set -uo pipefail
build="$1"; seconds="$2"; shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
    for f in "$build"/fuzz/fuzz_*; do names+=("${f##*/fuzz_}"); done
fi
mkdir -p "$build/crashes"
summary=()
failed=0
for name in "${names[@]}"; do
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    seeds=()
    [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
    log="$build/fuzz-$name.log"
    # The inputs that once crashed or hung it come first.
    regressions="$root/fuzz/regressions/$name"
    if [ -d "$regressions" ] && ! "$build/fuzz/fuzz_$name" -timeout=10 "$regressions"/* >"$log" 2>&1; then
        failed=1
        summary+=("$name: FAILED on an input of $regressions, see $log")
        tail -30 "$log" >&2
        continue
    fi
    echo "fuzz: $name for ${seconds}s"
    "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$build/crashes/$name-" "$corpus" "${seeds[@]}" >"$log" 2>&1
    rc=$?
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
    if [ $rc -ne 0 ]; then
        failed=1
        summary+=("$name: FAILED after ${runs:-?} runs, see $log")
        tail -30 "$log" >&2
    else
        summary+=("$name: ${runs:-?} runs in ${seconds}s, corpus $(ls "$corpus" | wc -l) inputs")
    fi
done
printf '%s\n' "${summary[@]}"
exit $failed
