#!/bin/bash
# Puts the SQLite amalgamation (pinned version, checked hash) into $1.
# Debian ships no mingw build of SQLite, so it comes as source from the npm
# registry, where the better-sqlite3 package carries the amalgamation.
set -euo pipefail
dest="$1"
pkg="better-sqlite3@12.11.1"
tgz_sha256="ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835"
c_sha256="60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422"
if [ -f "$dest/sqlite3.c" ] && echo "$c_sha256  $dest/sqlite3.c" | sha256sum -c --status; then
    exit 0
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm pack --silent "$pkg" >/dev/null)
echo "$tgz_sha256  $tmp/better-sqlite3-12.11.1.tgz" | sha256sum -c --status \
    || { echo "fetch-sqlite: checksum mismatch for $pkg" >&2; exit 1; }
tar xzf "$tmp/better-sqlite3-12.11.1.tgz" -C "$tmp" package/deps/sqlite3
mkdir -p "$dest"
cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/"
echo "$c_sha256  $dest/sqlite3.c" | sha256sum -c --status
echo "SQLite 3.53.2 amalgamation in $dest"
