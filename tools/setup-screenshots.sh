#!/bin/bash
# tools/setup-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
# Pictures of the set-up program's pages, the welcome window it leaves open
# and the uninstaller's question, clicked through as a user would, in a Wine
# prefix of their own: SHOTS_DIR/setup-N-WHAT.png.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/i686}" && pwd)"
shots="${2:-$root/build/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"

"$root/tools/session" "$build" bash -c '
set -u
setup="$1"; shots="$2"
scratch="$(mktemp -d "${TMPDIR:-/tmp}/pfadwerk-shots-XXXXXX")"
export WINEPREFIX="$scratch/prefix"
unset PFADWERK_TEST_RUN
trap "wineserver -k >/dev/null 2>&1; wineserver -w; rm -rf \"$scratch\"" EXIT
wineboot -i </dev/null >/dev/null 2>&1; wineserver -w

window() {  # the visible window whose title matches, waited for
    local id=""
    for _ in $(seq 100); do
        id="$(xdotool search --onlyvisible --name "$1" 2>/dev/null | tail -n 1)" && [ -n "$id" ] && break
        sleep 0.2
    done
    echo "$id"
}
shot() {  # shot NAME WINDOW-TITLE
    local id; id="$(window "$2")"
    [ -n "$id" ] || { echo "no window \"$2\" for $1" >&2; return 1; }
    sleep 1
    import -window "$id" "$shots/setup-$1.png" && echo "$shots/setup-$1.png"
}
next() { xdotool key --window "$(window "$1")" Return; sleep 1.5; }

setup_title="^Installation von Pfadwerk"
LC_ALL=de_DE.UTF-8 wine "$setup" </dev/null >/dev/null 2>&1 &
shot 1-welcome "$setup_title"; next "$setup_title"
shot 2-folder "$setup_title"; next "$setup_title"
sleep 3
shot 3-finish "$setup_title"; next "$setup_title"
shot 4-welcome-window "^Pfadwerk$"
xdotool key --window "$(window "^Pfadwerk$")" Return; sleep 2

programs="$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% </dev/null 2>/dev/null | tr -d "\r")")/Programs/Pfadwerk"
LC_ALL=de_DE.UTF-8 wine "$programs/Uninstall.exe" </dev/null >/dev/null 2>&1 &
uninstall_title="^Deinstallation von Pfadwerk"
shot 5-uninstall-question "$uninstall_title"
# The check box, below the text.
xdotool mousemove --window "$(window "$uninstall_title")" 34 218 click 1; sleep 0.5
shot 6-uninstall-question-ticked "$uninstall_title"; next "$uninstall_title"
sleep 3
shot 7-uninstalled "$uninstall_title"; next "$uninstall_title"
' _ "$build/package/Pfadwerk-Setup.exe" "$shots"
