#!/bin/bash
# tools/dialog-jump-screenshots.sh [BUILD_DIR] [SHOTS_DIR]
# Pictures of the dialog jump under Wine, driven as a user would: a program
# waits in its "Save" dialog (FileDialogHost of the tests), the hot key is
# pressed over it, the main window names the waiting dialog in its caption
# (dialogjump-main.png), a folder is searched and opened with Enter, and the
# dialog shows that folder with its file name kept (dialogjump-after.png).
# Needs a build of the tests (FileDialogHost.exe).
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/i686}" && pwd)"
shots="${2:-$root/build/screenshots}"
mkdir -p "$shots"
shots="$(cd "$shots" && pwd)"

"$root/tools/session" "$build" bash -c '
set -u
build="$1"; shots="$2"; root="$3"
dist="$build/dist"
run() { "$root/tools/wine-run" "$@"; }
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
    import -window "$2" "$shots/dialogjump-$1.png" && echo "$shots/dialogjump-$1.png"
}
# Without a window manager the captions are drawn by Wine itself only so;
# the caption is what the first picture is about.
x11="HKCU\\Software\\Wine\\X11 Driver"
wine reg add "$x11" /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
trap "wine reg delete \"\$x11\" /v Decorated /f >/dev/null 2>&1" EXIT
wine reg add "HKCU\\Software\\tannbach\\Pfadwerk\\CurrentSettings" /v SetupDone /t REG_DWORD /d 1 /f >/dev/null 2>&1
drive="$(winepath -u "C:\\")"
mkdir -p "$drive/Projekte/Angebote 2026" "$drive/Projekte/Vorlagen"
# Something to see in the folder the dialog goes to.
: >"$drive/Projekte/Angebote 2026/Angebot Meyer.txt"
: >"$drive/Projekte/Angebote 2026/Angebot Schulz.txt"
rm -f "$drive/dialog.log"
wine "$dist/PfadwerkHg.exe" >/dev/null 2>&1 </dev/null &
run "$dist/PfadwerkSend.exe" --wait 20000 visit "Vorlagen" "C:\\Projekte\\Vorlagen" || { echo "the worker did not start"; exit 1; }
run "$dist/PfadwerkSend.exe" visit "Angebote 2026" "C:\\Projekte\\Angebote 2026"
run "$dist/PfadwerkSend.exe" visit "Windows" "C:\\windows"
wine "$build/testbin/FileDialogHost.exe" save "C:\\dialog.log" "C:\\windows" >/dev/null 2>&1 </dev/null &
dialog="$(window "^Save$")"
[ -n "$dialog" ] || { echo "no dialog"; exit 1; }
xdotool windowactivate "$dialog" 2>/dev/null || true
sleep 1
xdotool key --window "$dialog" super+ctrl+space
main="$(window "Ordner f")"
[ -n "$main" ] || { echo "the hot key brought up no main window naming the dialog"; exit 1; }
shot main "$main"
# Into the search box (at the top right of the list) by the mouse, as the
# keys go where the pointer put the focus.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $(( WIDTH - 110 )) 40 click 1
sleep 0.5
xdotool type --delay 80 "Angebote"
sleep 1
xdotool key Return
sleep 2
shot after "$dialog"
cat "$(winepath -u "C:\\dialog.log")" | grep -a -v "^.\?tree"
run "$dist/PfadwerkSend.exe" exit
' _ "$build" "$shots" "$root"
