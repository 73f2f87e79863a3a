#!/bin/bash
# tools/demo.sh DIST SHOTS — run inside tools/session: starts the worker, logs
# a few sample visits through the visit sender, shows the history and takes
# two screenshots of the main window: run.png of its first start (which
# greets a new user with the welcome pane, whatever the history holds) and
# run-list.png of a second start (the list of the sample folders).
set -u
dist="$1"; shots="$2"
mkdir -p "$shots"
run() { "$(dirname "$0")/wine-run" "$@"; }

echo "== Starting the worker (PfadwerkHg.exe)"
wine "$dist/PfadwerkHg.exe" >/dev/null 2>&1 </dev/null &

echo "== Sending sample visits (PfadwerkSend.exe)"
run "$dist/PfadwerkSend.exe" --wait 20000 visit "Windows" 'C:\windows' || { echo "the worker did not start"; exit 1; }
run "$dist/PfadwerkSend.exe" visit "Fonts" 'C:\windows\Fonts'
run "$dist/PfadwerkSend.exe" visit "system32" 'C:\windows\system32'
run "$dist/PfadwerkSend.exe" visit "Programme" 'C:\Program Files'
run "$dist/PfadwerkSend.exe" visit "Öffentlich" 'C:\users\Public'
run "$dist/PfadwerkSend.exe" visit "Windows" 'C:\windows'
sleep 1

db="$(find "$WINEPREFIX/drive_c/users" -path '*Pfadwerk/Pfadwerk.dat' 2>/dev/null | head -n 1)"
echo "== The history ($db)"
if [ -n "$db" ]; then
    sqlite3 -header -column "$db" \
        "SELECT FolderName, FolderPath, DateUsed FROM FoldersProtocol ORDER BY DateUsed DESC, rowid DESC;"
else
    echo "(no history file was created)"
fi

# main_window NAME: starts the main program, waits for its window and saves
# a picture of the screen as SHOTS/NAME.png.
main_window() {
    echo "== Opening the main window (Pfadwerk.exe)"
    # A German user sees German dates and times.
    LC_ALL=de_DE.UTF-8 wine "$dist/Pfadwerk.exe" >/dev/null 2>&1 </dev/null &
    for _ in $(seq 50); do
        xdotool search --name '^Pfadwerk$' >/dev/null 2>&1 && break
        sleep 0.2
    done
    sleep 2
    import -window root "$shots/$1.png" && echo "== Screenshot: $shots/$1.png"
}

if [ -f "$dist/Pfadwerk.exe" ]; then
    main_window run
    # Closed as a user closes it, so that the second start is an ordinary one.
    wine taskkill /IM Pfadwerk.exe >/dev/null 2>&1
    for _ in $(seq 50); do
        xdotool search --name '^Pfadwerk$' >/dev/null 2>&1 || break
        sleep 0.2
    done
    main_window run-list
else
    import -window root "$shots/run.png" && echo "== Screenshot: $shots/run.png"
fi

run "$dist/PfadwerkSend.exe" exit
