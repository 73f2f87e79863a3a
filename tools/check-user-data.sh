#!/bin/bash
# tools/check-user-data.sh [BUILD_DIR]
# Shows that the Windows tests leave a real user's Pfadwerk alone: plants
# settings, a history, an autostart shortcut and a running worker in the
# build's Wine prefix as a user would have them, runs the whole Windows suite
# twice in a row, and checks that all of it is still there and unchanged.
# Takes a while (two suite runs); not part of make test. Run after a build of
# the tests (make test, or cmake --build BUILD_DIR).
set -u
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/$("$root/tools/wine-arch")}" && pwd)"
exec "$root/tools/session" "$build" bash -c '
    set -u
    root="$0"; build="$1"; dist="$build/dist"; work="$(mktemp -d)"
    trap "rm -rf \"$work\"" EXIT
    unset PFADWERK_TEST_RUN
    send() { "$root/tools/wine-run" "$dist/PfadwerkSend.exe" "$@"; }
    local_app="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d "\r")")"
    startup="$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d "\r")")/Microsoft/Windows/Start Menu/Programs/Startup"

    echo "== Planting a user: settings, a running worker with its history, an autostart shortcut"
    wine reg add "HKCU\\Software\\tannbach\\Pfadwerk\\Options" /v KeepProtocolDays /t REG_DWORD /d 99 /f >/dev/null
    wine reg add "HKCU\\Software\\tannbach\\Pfadwerk\\CurrentSettings" /v SetupDone /t REG_DWORD /d 1 /f >/dev/null
    wine reg add "HKCU\\Software\\tannbach\\Pfadwerk\\FolderFavorites" /v Gruppe1 /t REG_SZ /d "Meine Ordner" /f >/dev/null
    wine "$dist/PfadwerkHg.exe" >/dev/null 2>&1 </dev/null &
    worker=$!
    send --wait 20000 visit "Dokumente" "C:\\users\\Public\\Documents" || { echo "the worker did not start"; exit 1; }
    send visit "Übersicht" "C:\\windows"
    # The first visit of the day has the worker clean up ten seconds later
    # (and note the day in the settings): that is the own worker of the user at
    # work, so it has to be over before the first look.
    sleep 12
    mkdir -p "$startup"
    echo "the users own autostart shortcut" >"$startup/Pfadwerk-Autostart.lnk"

    snapshot() {
        wine reg export "HKCU\\Software\\tannbach" "$work/reg.txt" /y >/dev/null 2>&1
        { iconv -f UTF-16 -t UTF-8 "$work/reg.txt" | tr -d "\r"
          find "$local_app/Pfadwerk" "$startup/Pfadwerk-Autostart.lnk" -type f -exec sha256sum {} + 2>&1
          kill -0 "$worker" 2>/dev/null && echo "worker running" || echo "worker gone"; } >"$work/$1"
    }
    snapshot before
    grep -q "worker running" "$work/before" && [ -f "$local_app/Pfadwerk/Pfadwerk.dat" ] ||
        { echo "planting failed:"; cat "$work/before"; exit 1; }

    for run in 1 2; do
        echo "== Windows suite, run $run"
        (cd "$build" && ctest --timeout 180 2>&1 | tail -n 3)
    done

    snapshot after
    echo "== The user after both runs"
    if diff "$work/before" "$work/after"; then
        echo "unchanged: settings, history, autostart shortcut, running worker"
    else
        echo "CHANGED (see above)"; exit 1
    fi
    # And the worker still does its job.
    rows() { sqlite3 "$local_app/Pfadwerk/Pfadwerk.dat" "SELECT Count(*) FROM FoldersProtocol"; }
    n=$(rows); send visit "Noch da" "C:\\windows\\Fonts"; sleep 1
    if [ "$(rows)" -eq $((n + 1)) ]; then echo "the users worker still logs visits"
    else echo "the users worker stopped logging"; exit 1; fi
    send exit
    # The planted user belongs to this script; the prefix is left as it was.
    sleep 1
    wine reg delete "HKCU\\Software\\tannbach" /f >/dev/null 2>&1
    rm -rf "$local_app/Pfadwerk" "$startup/Pfadwerk-Autostart.lnk"
' "$root" "$build"
