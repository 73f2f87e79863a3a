#!/bin/bash
# tools/list-fill-bench.sh BUILD_DIR [ROWS...]
# Times whole fills of the history lists under Wine: builds a history of ROWS
# visits (default 100000 and 1000000) to 500 existing folders over 90 days,
# then runs the disabled FolderListBench test of app_tests on it, which fills
# each kind of list three times and prints the median.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?BUILD_DIR}" && pwd)"; shift
rows=("$@"); [ ${#rows[@]} -gt 0 ] || rows=(100000 1000000)
work="$build/fill-bench"
mkdir -p "$work"
for n in "${rows[@]}"; do
    db="$work/history-$n.dat"
    python3 - "$root/dist/Template.dat" "$db" "$n" <<'PY'
import random, shutil, sqlite3, sys, datetime
template, target, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
shutil.copyfile(template, target)
con = sqlite3.connect(target)
# The history's text columns compare under the programs' own comparison. The
# folders here are plain ASCII, for which it is letter case folded to lower
# case and then compared by code.
def fold_compare(a, b):
    a, b = a.lower(), b.lower()
    return (a > b) - (a < b)
con.create_collation("PFADWERK_NOCASE", fold_compare)
random.seed(7)
now = datetime.datetime.now()
folders = [("C:\\fillbench\\f%03d" % i, "f%03d" % i) for i in range(500)]
# A few folders get most of the visits, as in real use.
weights = [1.0 / (i + 1) for i in range(len(folders))]
def rows():
    for _ in range(n):
        path, name = random.choices(folders, weights)[0]
        when = now - datetime.timedelta(seconds=random.randint(0, 90 * 86400))
        yield path, name, when.strftime("%Y-%m-%d %H:%M:%S")
con.executemany("INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?, ?, ?)", rows())
con.commit()
con.close()
PY
done
"$root/tools/session" "$build" bash -c '
    build="$1"; shift
    drive="$WINEPREFIX/drive_c/fillbench"
    for i in $(seq -f "%03g" 0 499); do mkdir -p "$drive/f$i"; done
    for db in "$@"; do
        echo "== $(basename "$db")"
        PFADWERK_FILL_BENCH_DB="$(winepath -w "$db")" wine "$build/testbin/app_tests.exe" \
            --gtest_also_run_disabled_tests --gtest_filter="FolderListBench.*" 2>&1 | grep "^fill" || true
    done' _ "$build" $(for n in "${rows[@]}"; do echo "$work/history-$n.dat"; done)
