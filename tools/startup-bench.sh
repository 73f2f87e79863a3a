#!/bin/bash
# tools/startup-bench.sh [BUILD_DIR] [RUNS]
# Starts dist/Pfadwerk.exe and, as its yardstick, testbin/
# pfadwerk_bare_window.exe (a window with a list view and a tab control on
# common controls 6) RUNS times each, taking turns, under one Wine session
# (tools/session) with PFADWERK_STARTUP_BENCH set: each run appends the time
# from process creation and from the program's own entry to the first paint
# of its window, then ends; Pfadwerk adds the time of each phase on the way.
# Prints every run, the medians, the ratio of the two programs and where
# Pfadwerk's time goes. Builds both programs first.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
default="$root/build/i686"
[ -d "$default" ] || default="$root/build/x86_64"
build="${1:-$default}"
runs="${2:-10}"
build="$(cd "$build" && pwd)"
cmake --build "$build" --target Pfadwerk pfadwerk_bare_window >/dev/null
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The history of the prefix's user, visits to 60 folders of the prefix's own
# over the last 30 days.
cat >"$work/plant.py" <<'PY'
import datetime, glob, os, random, sqlite3, sys
drive = sys.argv[1]
history = glob.glob(os.path.join(drive, "users", "*", "AppData", "Local", "Pfadwerk", "Pfadwerk.dat"))[0]
folders = []
for top in ("windows", "Program Files", "users"):
    for root, dirs, _ in os.walk(os.path.join(drive, top)):
        dirs.sort()
        if root.count(os.sep) - drive.count(os.sep) > 3:
            continue
        folders.append("C:\\" + os.path.relpath(root, drive).replace(os.sep, "\\"))
        if len(folders) >= 60:
            break
    if len(folders) >= 60:
        break
con = sqlite3.connect(history)
con.create_collation("PFADWERK_NOCASE", lambda a, b: (a.lower() > b.lower()) - (a.lower() < b.lower()))
con.execute("DELETE FROM FoldersProtocol")
random.seed(7)
now = datetime.datetime.now()
visits = []
for _ in range(600):
    path = random.choice(folders)
    when = now - datetime.timedelta(seconds=random.randint(0, 30 * 86400))
    visits.append((path, path.rsplit("\\", 1)[-1], when.strftime("%Y-%m-%d %H:%M:%S")))
con.executemany("INSERT INTO FoldersProtocol (FolderPath, FolderName, DateUsed) VALUES (?, ?, ?)", visits)
con.commit()
PY
"$root/tools/session" "$build" bash -c '
    work="$1"; exe="$2"; bare="$3"; runs="$4"
    warm() { PFADWERK_STARTUP_BENCH="$(winepath -w /dev/null)" wine "$1" >/dev/null 2>&1 || true; }
    # A start of each to warm the prefix and the file cache, not counted;
    # the first makes the history, which then gets visits to folders that
    # exist, so that the window opens filled. Its first start with entries
    # shows the search tip once: not counted either.
    warm "$exe"; warm "$bare"
    python3 "$5" "$WINEPREFIX/drive_c"
    warm "$exe"
    main="$(winepath -w "$work/main")"; yardstick="$(winepath -w "$work/bare")"
    for _ in $(seq "$runs"); do
        PFADWERK_STARTUP_BENCH="$yardstick" wine "$bare" >/dev/null 2>&1 || true
        PFADWERK_STARTUP_BENCH="$main" wine "$exe" >/dev/null 2>&1 || true
    done' _ "$work" "$build/dist/Pfadwerk.exe" "$build/testbin/pfadwerk_bare_window.exe" "$runs" "$work/plant.py"
for f in main bare; do
    [ -s "$work/$f" ] || { echo "no run of $f reported" >&2; exit 1; }
done
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR) printf "%.1f", v[int((NR + 1) / 2)] }'; }
echo "Pfadwerk:"; cat "$work/main"
echo "bare window:"; cat "$work/bare"
main_ms="$(awk '{ print $5 }' "$work/main" | median)"
bare_ms="$(awk '{ print $5 }' "$work/bare" | median)"
echo "median of $(wc -l < "$work/main") runs each, program entry to first paint:" \
     "Pfadwerk $main_ms ms, bare window $bare_ms ms, ratio $(awk -v a="$main_ms" -v b="$bare_ms" 'BEGIN { printf "%.2f", a / b }')"
echo "process start to first paint: Pfadwerk $(awk '{ print $2 }' "$work/main" | median) ms," \
     "bare window $(awk '{ print $2 }' "$work/bare" | median) ms"
echo "Pfadwerk's phases (median ms):"
# The phases follow the totals as "; name ms", in the order they ran.
awk -F'; ' '{ for (i = 2; i <= NF; i++) { n = split($i, w, " "); name = w[1]; for (j = 2; j < n; j++) name = name " " w[j]; print name "\t" w[n] } }' "$work/main" |
    awk -F'\t' '!seen[$1]++ { print $1 }' | while IFS= read -r phase; do
        printf '  %-22s %s\n' "$phase" "$(awk -F'; ' -v p="$phase" '{ for (i = 2; i <= NF; i++) { n = split($i, w, " "); name = w[1]; for (j = 2; j < n; j++) name = name " " w[j]; if (name == p) print w[n] } }' "$work/main" | median)"
    done
