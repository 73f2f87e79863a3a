#!/bin/bash
# Puts the SQLite amalgamation (pinned version, checked hash) into $1.
# Debian ships no mingw build of SQLite, so it comes as source: the
# better-sqlite3 package of the npm registry carries the amalgamation, and
# its tarball is fetched over HTTPS directly (curl, else Python), so that
# neither npm nor node is needed.
set -euo pipefail
dest="$1"
url="https://registry.npmjs.org/better-sqlite3/-/better-sqlite3-12.11.1.tgz"
tgz_sha256="ebf0ed75a7a59dbcb3b24bbd014ef49d9f15bc328e4adcbf516f2a8fadfa2835"
c_sha256="60d2f39a3726cd6b9021da6f4e868608d66fbb6528a9f513dc8ffcc640493422"
if [ -f "$dest/sqlite3.c" ] && echo "$c_sha256  $dest/sqlite3.c" | sha256sum -c --status; then
    exit 0
fi
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
tgz="$tmp/sqlite.tgz"
fetched=0
for attempt in 1 2 3; do
    if command -v curl >/dev/null 2>&1; then
        curl -fsSL --retry 2 -o "$tgz" "$url" && fetched=1
    else
        python3 - "$url" "$tgz" <<'PY' && fetched=1
import sys, urllib.request, shutil
with urllib.request.urlopen(sys.argv[1], timeout=60) as r, open(sys.argv[2], "wb") as f:
    shutil.copyfileobj(r, f)
PY
    fi
    [ $fetched = 1 ] && break
    sleep 3
done
[ $fetched = 1 ] || { echo "fetch-sqlite: could not download $url" >&2; exit 1; }
echo "$tgz_sha256  $tgz" | sha256sum -c --status \
    || { echo "fetch-sqlite: checksum mismatch for $url" >&2; exit 1; }
tar xzf "$tgz" -C "$tmp" package/deps/sqlite3
mkdir -p "$dest"
cp "$tmp/package/deps/sqlite3/sqlite3.c" "$tmp/package/deps/sqlite3/sqlite3.h" "$dest/"
echo "$c_sha256  $dest/sqlite3.c" | sha256sum -c --status
echo "SQLite 3.53.2 amalgamation in $dest"
