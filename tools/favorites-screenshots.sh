#!/bin/bash
# tools/favorites-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
# Pictures of the folder favorites, clicked and dragged as a user would, for
# each Windows version Wine pretends to be (win7, winxp): the favorites tab
# with its groups, the favorites manager without and with its groups, each
# with the insertion line of a favorite being dragged, and the add-favorite
# dialog: SHOTS_DIR/favorites-VERSION-WHAT.png. The favorites point at
# folders of Wine's own drive, and one at a network share.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/i686}" && pwd)"
shots="${2:-$root/build/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"

"$root/tools/session" "$build" bash -c '
set -u
dist="$1"; shots="$2"
key="HKCU\\Software\\tannbach\\Pfadwerk"
reg() { wine reg "$@" >/dev/null 2>&1; }
text() { reg add "$key\\FolderFavorites$1" /v "$2" /t REG_SZ /d "$3" /f; }

window() {  # the visible window whose title matches, waited for
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)" && [ -n "$id" ] && break
        sleep 0.2
    done
    echo "$id"
}
shot() {  # shot NAME WINDOW-ID
    sleep 1
    import -window "$2" "$shots/favorites-$version-$1.png" && echo "$shots/favorites-$version-$1.png"
}
# The screen around a window, with room below it for a tip it shows.
shotbelow() {  # shotbelow NAME WINDOW-ID
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$2")"
    import -window root -crop "$(( WIDTH + 40 ))x$(( HEIGHT + 120 ))+$(( X - 20 ))+$(( Y - 10 ))" +repage \
        "$shots/favorites-$version-$1.png" && echo "$shots/favorites-$version-$1.png"
}
# Dialog units of the manager (8-point dialog font at 96 dpi) in pixels of
# its window, which has no caption of its own without a window manager.
dlu() { echo $(( $1 * 3 / 2 )) $(( $2 * 13 / 8 )); }
# Presses the mouse on a favorite (row from 0, list top in dialog units),
# drags it onto another (into its lower half) and leaves it there.
drag() {  # drag WINDOW LISTTOP FROM ONTO
    read -r x y <<<"$(dlu 40 "$2")"
    local header=18 row=17
    xdotool mousemove --window "$1" "$x" $(( y + header + $3 * row + 8 )) mousedown 1; sleep 0.3
    for step in 1 2 3 4 5 6; do
        xdotool mousemove --window "$1" $(( x + step * 4 )) $(( y + header + $3 * row + 8 - step * ($3 - $4) * row / 6 - step * 2 )); sleep 0.1
    done
    xdotool mousemove --window "$1" $(( x + 30 )) $(( y + header + $4 * row + 13 )); sleep 0.5
}

for version in ${PFADWERK_SHOT_VERSIONS:-win7 winxp}; do
    reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d "$version" /f
    wineserver -k; wineserver -w
    reg delete "$key" /f
    reg add "$key\\CurrentSettings" /v SetupDone /t REG_DWORD /d 1 /f
    reg add "$key\\CurrentSettings" /v StartupShortcutCreated /t REG_DWORD /d 1 /f
    reg add "$key\\CurrentSettings" /v TipShown_SearchFolder /t REG_DWORD /d 1 /f
    reg add "$key\\CurrentSettings" /v ListTypeActive /t REG_DWORD /d 3 /f
    reg add "$key\\Options" /v ExitBehavior /t REG_DWORD /d 3 /f
    text "" Groups "Projekte|*#|Kunden|*#|"
    text "\\Projekte" Favorites "Windows|*#|Schriftarten|*#|System|*#|"
    text "\\Projekte" FavoritesPaths "C:\\windows|*#|C:\\windows\\Fonts|*#|C:\\windows\\system32|*#|"
    text "\\Uncategorized" Favorites "Programme|*#|Netzlaufwerk|*#|"
    text "\\Uncategorized" FavoritesPaths "C:\\Program Files|*#|\\\\server\\share\\ordner|*#|"

    LC_ALL=de_DE.UTF-8 wine "$dist/Pfadwerk.exe" >/dev/null 2>&1 </dev/null &
    pid=$!
    main="$(window "^Pfadwerk\$")"
    shot tab "$main"

    # The link "Favoriten verwalten..." at the right of the tab strip.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove --window "$main" $(( WIDTH - 110 )) 12 click 1
    manager="$(window "^Ordnerfavoriten verwalten\$")"
    shot manager "$manager"
    drag "$manager" 48 2 0
    shot manager-drag "$manager"
    xdotool key Escape mouseup 1; sleep 0.5

    # Gruppen >>: the groups below the favorites.
    read -r x y <<<"$(dlu 30 332)"
    xdotool mousemove --window "$manager" "$x" "$y" click 1; sleep 0.5
    drag "$manager" 48 4 1
    shot manager-groups-drag "$manager"
    xdotool key Escape mouseup 1; sleep 0.5

    # Hinzufügen... beside the favorites.
    read -r x y <<<"$(dlu 187 191)"
    xdotool mousemove --window "$manager" "$x" "$y" click 1
    add="$(window "^Ordnerfavoriten hinzuf")"
    xdotool mousemove --window "$add" 50 188; sleep 0.3; xdotool mousemove --window "$add" 60 189; sleep 1
    shotbelow add "$add"
    xdotool key --window "$add" Escape; sleep 0.5
    xdotool key --window "$manager" Escape; sleep 0.5
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
done
reg add "HKCU\\Software\\Wine" /v Version /t REG_SZ /d win7 /f
reg delete "$key" /f
' _ "$build/dist" "$shots"
