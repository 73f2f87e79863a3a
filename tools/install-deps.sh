#!/bin/bash
# Installs what building, running and testing need on a fresh Debian machine.
# Does nothing when everything is there already.
set -euo pipefail
pkgs=(cmake make g++ git
      mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
      googletest sqlite3
      wine wine32:i386 xvfb xauth x11-utils xdotool imagemagick fonts-dejavu-core)
command -v npm >/dev/null 2>&1 || pkgs+=(npm)
missing=()
for p in "${pkgs[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
    dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
