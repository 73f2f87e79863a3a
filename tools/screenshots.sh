#!/bin/bash
# tools/screenshots.sh [BUILD_DIR] [SHOTS_DIR]
# Pictures of the main window's three tabs over a fixed history, for each
# Windows version Wine pretends to be (win7, winxp) and each screen
# resolution (96, 120 dpi): SHOTS_DIR/main-VERSION-DPI-VIEW.png. The dates of
# the history lie in the past, so the same build gives the same pictures on
# every run and two builds can be compared picture by picture.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/i686}" && pwd)"
shots="${2:-$root/build/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"

"$root/tools/session" "$build" bash -c '
set -u
dist="$1"; shots="$2"; root="$3"
key="HKCU\\Software\\tannbach\\Pfadwerk"
reg() { wine reg "$@" >/dev/null 2>&1; }

history() {
    local data
    data="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d "\r")")/Pfadwerk"
    rm -rf "$data" && mkdir -p "$data"
    cp "$dist/Template.dat" "$data/Pfadwerk.dat"
    "$root/tools/add-visits.py" "$data/Pfadwerk.dat" <<EOF
C:\\windows	windows	2024-03-05 09:12:00
C:\\windows	windows	2024-03-04 17:40:00
C:\\windows	windows	2024-03-01 08:05:00
C:\\windows\\Fonts	Fonts	2024-03-04 11:30:00
C:\\windows\\system32	system32	2024-02-28 14:00:00
C:\\windows\\system32	system32	2024-02-27 10:00:00
C:\\Program Files	Programme	2024-02-20 16:45:00
C:\\users\\Public	Öffentlich	2024-01-31 12:00:00
EOF
}

for version in win7 winxp; do
    for dpi in 96 120; do
        reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d "$version" /f
        reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
        wineserver -k; wineserver -w
        history
        for view in 1 2 3; do
            reg delete "$key" /f
            reg add "$key\\CurrentSettings" /v SetupDone /t REG_DWORD /d 1 /f
            reg add "$key\\CurrentSettings" /v StartupShortcutCreated /t REG_DWORD /d 1 /f
            reg add "$key\\CurrentSettings" /v TipShown_SearchFolder /t REG_DWORD /d 1 /f
            reg add "$key\\CurrentSettings" /v ListTypeActive /t REG_DWORD /d "$view" /f
            reg add "$key\\Options" /v ExitBehavior /t REG_DWORD /d 3 /f
            # The pointer out of the way: resting on a control it would show
            # the tooltip of that control in the picture.
            xdotool mousemove --sync 1 1 >/dev/null 2>&1
            LC_ALL=de_DE.UTF-8 wine "$dist/Pfadwerk.exe" >/dev/null 2>&1 </dev/null &
            pid=$!
            id=""
            for _ in $(seq 100); do
                id="$(xdotool search --name "^Pfadwerk\$" 2>/dev/null | head -n 1)" && [ -n "$id" ] && break
                sleep 0.2
            done
            sleep 2
            out="$shots/main-$version-$dpi-$view.png"
            [ -n "$id" ] && import -window "$id" "$out" && echo "$out"
            kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
        done
    done
done
reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d win7 /f
reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 96 /f
reg delete "$key" /f
' _ "$build/dist" "$shots" "$root"
