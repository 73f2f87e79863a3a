#!/bin/bash
# tests/setup/setup-test.sh SETUP DIST VERSION OBJDUMP
# Installs, updates and removes Pfadwerk with its set-up program, silently, in
# a Wine prefix of its own (so the worker it starts meets no other test, and
# nothing of the test run's prefix is touched). Runs inside tools/session,
# which provides the X display. DIST holds PfadwerkSend.exe of the same build,
# VERSION is the version text the programs carry, OBJDUMP the build's objdump.
set -u
setup="$(realpath "$1")"
send="$(realpath "$2")/PfadwerkSend.exe"
version="$3"
objdump="$4"
# The installed programs are the user's, not a test run's.
unset PFADWERK_TEST_RUN

scratch="$(mktemp -d "${TMPDIR:-/tmp}/pfadwerk-setup-XXXXXX")"
export WINEPREFIX="$scratch/prefix"
export WINEARCH="${WINEARCH:-win32}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
    [ -n "${PF_KEEP_SCRATCH:-}" ] || rm -rf "$scratch"
}
trap cleanup EXIT

failures=0
passed=0
check() {  # check DESCRIPTION COMMAND...
    local what="$1"; shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failures=$((failures + 1))
        echo "FAILED: $what"
    fi
}
# Every step runs wine with nowhere to write: Wine's helper processes would
# otherwise keep the caller's pipe open.
w() { wine "$@" </dev/null >>"$scratch/wine.log" 2>&1; }
winpath() { winepath -u "$1" 2>/dev/null; }
wait_for() {  # wait_for SECONDS COMMAND...
    local until=$((SECONDS + $1)); shift
    until "$@"; do
        [ "$SECONDS" -ge "$until" ] && return 1
        sleep 0.2
    done
}
reg_value() {  # reg_value KEY NAME: the value's data, empty when missing
    wine reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$2 \+REG_[A-Z_]\+ \+//p"
}
key_exists() { wine reg query "$1" </dev/null >/dev/null 2>&1; }
worker_found() { w "$send" --wait 15000 visit "$1" "$2"; }
# Every process of the prefix has ended: Wine's own helpers go shortly after
# the last program, then the server itself.
all_ended() { timeout "$1" wineserver -w; }

echo "== A prefix of its own: $WINEPREFIX"
wineboot -i </dev/null >/dev/null 2>&1
wineserver -w

shellfolder() {  # the Unix path of a Windows environment folder
    winpath "$(wine cmd /c echo "%$1%" </dev/null 2>/dev/null | tr -d '\r')"
}
local_appdata="$(shellfolder LOCALAPPDATA)"
appdata="$(shellfolder APPDATA)"
programs="$local_appdata/Programs/Pfadwerk"
start_menu="$appdata/Microsoft/Windows/Start Menu/Programs"
# Wine spells the Startup folder "StartUp".
autostart="$(find "$start_menu" -maxdepth 1 -iname startup | head -n 1)/Pfadwerk-Autostart.lnk"
quick_launch="$appdata/Microsoft/Internet Explorer/Quick Launch/Pfadwerk.lnk"
history="$local_appdata/Pfadwerk/Pfadwerk.dat"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pfadwerk'
settings_key='HKCU\Software\tannbach\Pfadwerk'
[ -n "$local_appdata" ] && [ -n "$appdata" ] || { echo "FAILED: no application data folders"; exit 1; }

echo "== Silent installation"
check "the set-up program succeeds" w "$setup" /S
for f in PfadwerkHg.exe Pfadwerk.exe Template.dat watermark.png Uninstall.exe; do
    check "$f is installed" test -f "$programs/$f"
done
for f in PfadwerkHg.exe Pfadwerk.exe; do
    check "$f carries no debug information" eval '! "$objdump" -h "$programs/$f" | grep -q "\.debug"'
    check "$f carries its version" grep -qx "$version" <(strings -el "$programs/$f")
done
check "the Start menu shortcut" test -f "$start_menu/Pfadwerk.lnk"
check "the autostart shortcut" test -f "$autostart"
check "uninstall entry: name" test "$(reg_value "$uninstall_key" DisplayName)" = "Pfadwerk"
check "uninstall entry: publisher" test "$(reg_value "$uninstall_key" Publisher)" = "tannbach"
check "uninstall entry: version" test "$(reg_value "$uninstall_key" DisplayVersion)" = "$version"
check "uninstall entry: icon" grep -qi 'Programs\\Pfadwerk\\Pfadwerk.exe,0$' <<<"$(reg_value "$uninstall_key" DisplayIcon)"
check "uninstall entry: uninstaller" grep -qi 'Uninstall.exe"$' <<<"$(reg_value "$uninstall_key" UninstallString)"
size_kb=$(( $(reg_value "$uninstall_key" EstimatedSize) ))
files_kb=$(( $(du -sk --apparent-size "$programs" | cut -f1) ))
check "uninstall entry: size ($size_kb KB for $files_kb KB of files)" \
    test "$size_kb" -gt $((files_kb * 9 / 10)) -a "$size_kb" -lt $((files_kb * 11 / 10 + 8))

# The installed main program, started before the first visit, finds no
# history and makes its Quick Launch shortcut, as on a user's first start.
# Windows has the Quick Launch folder; a fresh Wine prefix does not.
mkdir -p "$(dirname "$quick_launch")"
wine "$programs/Pfadwerk.exe" </dev/null >>"$scratch/wine.log" 2>&1 &
main_program=$!
check "the main program makes its Quick Launch shortcut" wait_for 30 test -f "$quick_launch"
check "the installation started the worker" worker_found "Fonts" 'C:\windows\Fonts'
check "the worker logs the visit" wait_for 15 test -f "$history"

echo "== Silent installation over the running worker and main program"
touch -d '2001-01-01' "$programs/PfadwerkHg.exe"
check "the set-up program succeeds" w "$setup" /S
check "the worker was replaced" test "$(stat -c %Y "$programs/PfadwerkHg.exe")" -gt "$(date -d '2001-01-02' +%s)"
check "the main program was ended" wait_for 5 eval '! kill -0 $main_program 2>/dev/null' 
check "the new worker runs" worker_found "system32" 'C:\windows\system32'

echo "== Silent uninstallation, keeping the history"
check "the uninstaller starts" w "$programs/Uninstall.exe" /S
check "nothing of Pfadwerk runs any more" all_ended 60
check "the program folder is gone" test ! -e "$programs"
check "the Start menu shortcut is gone" test ! -e "$start_menu/Pfadwerk.lnk"
check "the autostart shortcut is gone" test ! -e "$autostart"
check "the Quick Launch shortcut is gone" test ! -e "$quick_launch"
check "the uninstall entry is gone" eval '! key_exists "$uninstall_key"'
check "the history is kept" test -s "$history"
check "the settings are kept" key_exists "$settings_key"

echo "== Reinstallation, then silent uninstallation with the history"
check "the set-up program succeeds" w "$setup" /S
check "the autostart shortcut is made again" test -f "$autostart"
check "the uninstaller starts" w "$programs/Uninstall.exe" /S /REMOVEDATA
check "nothing of Pfadwerk runs any more" all_ended 60
check "the program folder is gone" test ! -e "$programs"
check "the history is gone" test ! -e "$local_appdata/Pfadwerk"
check "the settings are gone" eval '! key_exists "$settings_key"'
check "the uninstall entry is gone" eval '! key_exists "$uninstall_key"'

echo "$passed passed, $failures failed"
[ "$failures" -eq 0 ]
