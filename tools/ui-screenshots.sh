#!/bin/bash
# tools/ui-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
# Pictures of the main window's menus and dialogs (the button menu, the menu
# bar, the three pages of the options, the About window, the ignore manager
# and entry dialog, the notices of the update check, the import of the
# folders Windows remembers with the lists after it, and the help) for
# each Windows version Wine pretends to be (win7, winxp) and each screen
# resolution (96, 120 dpi): SHOTS_DIR/ui-VERSION-DPI-NAME.png. Needs the
# build's UiShots.exe (tools/shots); everything happens in the build's own
# Wine prefix.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/i686}" && pwd)"
shots="${2:-$root/build/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"

"$root/tools/session" "$build" bash -c '
set -u
build="$1"; shots="$2"; root="$3"
key="HKCU\\Software\\tannbach\\Pfadwerk"
reg() { wine reg "$@" >/dev/null 2>&1; }
work="$build/ui-shots"
rm -rf "$work" && mkdir -p "$work"
cp "$build/dist/Template.dat" "$work/Basis.dat"
"$root/tools/add-visits.py" "$work/Basis.dat" <<SQL
C:\\windows	windows	2024-03-05 09:12:00
C:\\windows\\Fonts	Fonts	2024-03-04 11:30:00
C:\\windows\\system32	system32	2024-02-28 14:00:00
SQL
for version in win7 winxp; do
    for dpi in 96 120; do
        reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d "$version" /f
        reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f
        wineserver -k; wineserver -w
        reg delete "$key" /f
        reg add "$key\\CurrentSettings" /v SetupDone /t REG_DWORD /d 1 /f
        reg add "$key\\CurrentSettings" /v StartupShortcutCreated /t REG_DWORD /d 1 /f
        reg add "$key\\CurrentSettings" /v TipShown_SearchFolder /t REG_DWORD /d 1 /f
        reg add "$key\\Options" /v ExitBehavior /t REG_DWORD /d 3 /f
        reg add "$key\\CurrentSettings" /v IgnoreStrings /t REG_SZ /d "c:\\daten'"'"''"'"'07|\\|d:\\archiv*|\\|*entwurf*|\\|" /f
        rm -f "$work"/*.bmp
        # Each round imports the folders Windows remembers afresh.
        cp "$work/Basis.dat" "$work/Pfadwerk.dat"
        # The pointer out of the way, or it shows the tooltip of the control
        # it happens to rest on.
        xdotool mousemove --sync 1 1 >/dev/null 2>&1
        LC_ALL=de_DE.UTF-8 wine "$build/testbin/UiShots.exe" "$(winepath -w "$work")" "$(winepath -w "$build/dist")" \
            "$(winepath -w "$work/Pfadwerk.dat")" >/dev/null 2>&1 </dev/null
        for bmp in "$work"/*.bmp; do
            [ -e "$bmp" ] || continue
            name="$(basename "$bmp" .bmp)"
            convert "$bmp" "$shots/ui-$version-$dpi-$name.png" && echo "$shots/ui-$version-$dpi-$name.png"
        done
    done
done
reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d win7 /f
reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d 96 /f
reg delete "$key" /f
' _ "$build" "$shots" "$root"
