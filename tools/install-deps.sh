#!/bin/bash
# Installs what building, running and testing need on a fresh Debian machine.
# Does nothing when everything is there already.
#
# The toolchain comes first, since the 32-bit probe of tools/wine-arch needs
# only binutils; then exactly the Wine of the path this host takes: the
# 32-bit Wine (wine32:i386) where the shipped i686 build runs, the 64-bit
# Wine where the x86_64 build runs. Where the host runs 32-bit programs but
# wine32:i386 cannot be installed (a mirror in the middle of a sync can leave
# the i386 index behind the amd64 one for hours), the 64-bit path is taken
# instead of failing; tools/wine-arch then says so.
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
base=(cmake make g++ binutils git curl ca-certificates
      mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
      googletest sqlite3 python3 nsis fp-utils clang libclang-rt-dev
      xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core)
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
pause="${PFADWERK_APT_RETRY_PAUSE:-10}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT

say() { echo "install-deps: $*" >&2; }

updated=0
failed_indexes=""
# A single index that cannot be fetched (a mirror mid-sync, a short outage)
# makes apt-get update fail although every package may still install: retry
# a few times, then go on with what there is.
update_index() {
    [ $updated = 1 ] && return 0
    updated=1
    local attempt
    for attempt in 1 2 3; do
        if $SUDO apt-get update -qq >"$log" 2>&1 && ! grep -q '^E: ' "$log"; then
            failed_indexes=""
            return 0
        fi
        failed_indexes="$(sed -n 's/^E: Failed to fetch \([^ ]*\).*/\1/p' "$log" | sort -u | tr '\n' ' ')"
        [ $attempt = 3 ] || sleep "$pause"
    done
    cat "$log" >&2
    say "the package index could not be updated completely${failed_indexes:+ (${failed_indexes% })}; installing from the index there is."
}

missing_of() {
    local p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || echo "$p"
    done
}

# install PACKAGES...: installs those not installed yet; on failure says in
# one sentence which could not be installed and why, and returns 1.
install() {
    local missing
    mapfile -t missing < <(missing_of "$@")
    [ ${#missing[@]} -gt 0 ] || return 0
    update_index
    if DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >"$log" 2>&1
    then
        return 0
    fi
    cat "$log" >&2
    local why unknown
    unknown="$(sed -n "s/^E: Unable to locate package \(.*\)/\1/p" "$log" | tr '\n' ' ')"
    if [ -n "$unknown" ]; then
        why="the package index does not list ${unknown% }"
    elif grep -qiE 'held (broken )?packages|generated breaks|unmet dependencies' "$log"; then
        why="their dependencies cannot be resolved (apt reports held or broken packages)"
    else
        why="apt-get install failed (its messages are above)"
    fi
    [ -n "$failed_indexes" ] && why="$why, after the index ${failed_indexes% } could not be downloaded"
    say "could not install ${missing[*]}: $why."
    return 1
}

install "${base[@]}" || exit 1

if [ "$("$here/wine-arch" --host)" = i686 ]; then
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $SUDO dpkg --add-architecture i386
        updated=0
    fi
    if ! install wine wine32:i386; then
        say "taking the 64-bit path instead: the x86_64 build is tested under 64-bit Wine (make dist still builds the i686 files)."
        install wine wine64 || exit 1
    fi
else
    install wine wine64 || exit 1
fi
exit 0
