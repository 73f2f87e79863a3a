#!/bin/bash
# tools/dialog-jump-bench.sh [BUILD_DIR] [RUNS]
# The dialog jump's own time under Wine (inside tools/session): the dialog
# jump tests of app_tests run RUNS times with PFADWERK_DIALOGJUMP_BENCH set.
# The main program notes the moment of each pick ("pick <ms>", with the moment
# its watch saw the dialog change), FileDialogHost each folder change of its
# dialog ("change <ms>"), both on the performance counter. Prints every jump
# from the pick to the dialog's folder change, and the median. Needs a build
# of the tests (make windows-test, or cmake --build BUILD --target app_tests).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build/i686}"
runs="${2:-5}"
build="$(cd "$build" && pwd)"
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
"$root/tools/session" "$build" bash -c '
    out="$1"; exe="$2"; runs="$3"
    export PFADWERK_DIALOGJUMP_BENCH="$(winepath -w "$out")"
    for _ in $(seq "$runs"); do
        wine "$exe" --gtest_filter="DialogJump.A*Dialog*" >/dev/null 2>&1 || echo "a test run failed" >&2
    done' _ "$out" "$build/testbin/app_tests.exe" "$runs"
# Each pick with the first folder change at or after it.
figures="$(awk '
    $1 == "pick"   { picks[++np] = $2; seen[np] = $4 }
    $1 == "change" { changes[++nc] = $2 }
    END {
        for (i = 1; i <= np; i++) {
            best = -1
            for (j = 1; j <= nc; j++) if (changes[j] >= picks[i] && (best < 0 || changes[j] < best)) best = changes[j]
            if (best >= 0) printf "%d %d\n", best - picks[i], seen[i] - picks[i]
        }
    }' "$out")"
[ -n "$figures" ] || { echo "no jump was measured" >&2; exit 1; }
echo "$figures" | awk '{ printf "jump: pick to folder change %d ms (seen by the main program after %d ms)\n", $1, $2 }'
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%d", v[int((NR + 1) / 2)] }'; }
echo "median of $(echo "$figures" | wc -l) jumps: pick to folder change $(echo "$figures" | awk '{ print $1 }' | median) ms," \
     "pick to the name put back $(echo "$figures" | awk '{ print $2 }' | median) ms"
