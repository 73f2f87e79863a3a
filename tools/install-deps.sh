#!/bin/bash
# Installs what building, running and testing need on a fresh Debian machine.
# Does nothing when everything is there already.
set -euo pipefail
pkgs=(cmake make g++ git
      mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
      googletest sqlite3 python3 nsis fp-utils clang libclang-rt-dev
      wine wine32:i386 xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core)
command -v npm >/dev/null 2>&1 || pkgs+=(npm)
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
updated=0
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    [ $updated = 1 ] || $SUDO apt-get update -qq
    updated=1
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
install_missing "${pkgs[@]}"
# Where the tests run the x86_64 build (tools/wine-arch, which needs the
# assembler installed above), the 64-bit Wine is needed too.
if [ "$("$(dirname "$0")/wine-arch")" = x86_64 ]; then
    install_missing wine64
fi
