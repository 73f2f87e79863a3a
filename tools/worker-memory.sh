#!/bin/bash
# tools/worker-memory.sh BUILD_DIR — the worker's memory over 10,000 visits
# and a daily clean-up, measured under Wine (not a test: a figure to read).
# Runs itself inside tools/session BUILD_DIR, so the worker works on that
# session's scratch prefix. The clean-up is made to come 10 s after the
# first visit (no clean-up day stored yet) with a kept period of 0 days, so
# that it deletes and compacts in the middle of the run.
set -u
build="$(cd "$1" && pwd)"
if [ -z "${PFADWERK_SESSION:-}" ]; then
    exec "$(dirname "$0")/session" "$build" env PFADWERK_SESSION=1 "$0" "$build"
fi
dist="$build/dist"
run() { "$(dirname "$0")/wine-run" "$@"; }

wine reg delete 'HKCU\Software\tannbach\Pfadwerk' /f >/dev/null 2>&1
wine reg add 'HKCU\Software\tannbach\Pfadwerk\Options' /v KeepProtocolDays /t REG_DWORD /d 0 /f >/dev/null 2>&1
data="$(find "$WINEPREFIX/drive_c/users" -maxdepth 4 -path '*Local Settings/Application Data' -o -maxdepth 4 -path '*AppData/Local' 2>/dev/null | head -n 1)"
rm -rf "$data/Pfadwerk"

wine "$dist/PfadwerkHg.exe" >/dev/null 2>&1 </dev/null &
run "$dist/PfadwerkSend.exe" --wait 20000 visit "Erster" 'C:\windows' || { echo "the worker did not start"; exit 1; }
# The worker of this session's prefix; other sessions on the machine may run
# workers of their own.
pid=""
for candidate in $(pgrep -f 'PfadwerkHg\.exe'); do
    if tr '\0' '\n' <"/proc/$candidate/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
        pid=$candidate
    fi
done
[ -n "$pid" ] || { echo "worker process not found"; exit 1; }
db="$data/Pfadwerk/Pfadwerk.dat"
rows() { sqlite3 "$db" 'SELECT count(*) FROM FoldersProtocol' 2>/dev/null || echo '?'; }
mem() { awk '/^VmRSS|^RssAnon/ {printf "%s %s kB  ", $1, $2}' "/proc/$pid/status"; }

printf '%-28s %8s  %s\n' "after" "rows" "worker memory"
printf '%-28s %8s  %s\n' "start (1 visit)" "$(rows)" "$(mem)"
for batch in $(seq 10); do
    run "$dist/PfadwerkSend.exe" --repeat 1000 visit "Ordner" "C:\\Last\\Stapel $batch"
    # Until the worker has stored them: the count stands still (the clean-up
    # takes rows away during the second batch).
    last=""; for _ in $(seq 60); do now="$(rows)"; [ "$now" = "$last" ] && break; last="$now"; sleep 1; done
    printf '%-28s %8s  %s\n' "$((batch * 1000 + 1)) visits" "$(rows)" "$(mem)"
done
sleep 12
printf '%-28s %8s  %s  (%s bytes on disk)\n' "clean-up done" "$(rows)" "$(mem)" "$(stat -c %s "$db")"
run "$dist/PfadwerkSend.exe" exit
