#!/bin/bash
# The decisions of tools/install-deps.sh, without a network: stub apt-get,
# dpkg, sudo and the assembler and linker of the 32-bit probe come first on
# the PATH; each case checks what the script asked apt to install and what it
# told the user.
set -u
script="$(cd "$(dirname "$0")/../.." && pwd)/tools/install-deps.sh"
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
stub="$root/bin"
mkdir -p "$stub"

cat >"$stub/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$STUB/calls"
if [ "$1" = update ]; then
    [ "${STUB_UPDATE_FAIL:-0}" = 1 ] || exit 0
    echo "E: Failed to fetch http://mirror.example/dists/stable/binary-i386/Packages.xz  File has unexpected size"
    exit 100
fi
shift 4  # install -y -qq --no-install-recommends
for p in "$@"; do
    if [ "$p" = "${STUB_UNINSTALLABLE:-}" ]; then
        echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
        exit 100
    fi
done
printf '%s\n' "$@" >>"$STUB/installed"
EOF
cat >"$stub/dpkg" <<'EOF'
#!/bin/bash
case "$1" in
    -s) grep -qx "$2" "$STUB/installed" ;;
    --print-foreign-architectures) cat "$STUB/arches" ;;
    --add-architecture) echo "$2" >>"$STUB/arches" ;;
esac
EOF
printf '#!/bin/sh\nexec "$@"\n' >"$stub/sudo"
# The probe's program: a script that ends as a 32-bit program does where it
# runs (42) or as one that cannot be executed.
printf '#!/bin/sh\nwhile [ $# -gt 1 ]; do [ "$1" = -o ] && : >"$2"; shift; done\n' >"$stub/as"
printf '#!/bin/sh\nwhile [ $# -gt 1 ]; do [ "$1" = -o ] && printf "#!/bin/sh\\nexit $STUB_PROBE\\n" >"$2" && chmod +x "$2"; shift; done\n' >"$stub/ld"
chmod +x "$stub"/*

failures=0
# run_case NAME ENV...: runs the script on an empty machine with the stubs.
run_case() {
    name="$1"; shift
    export STUB="$root/$name"
    mkdir -p "$STUB"
    : >"$STUB/calls"; : >"$STUB/installed"; : >"$STUB/arches"
    env PATH="$stub:$PATH" PFADWERK_APT_RETRY_PAUSE=0 STUB_PROBE=42 "$@" "$script" >"$STUB/out" 2>&1
    status=$?
}
check() {  # check DESCRIPTION COMMAND...
    if ! "${@:2}"; then
        echo "FAIL [$name] $1"
        sed 's/^/    /' "$STUB/out" "$STUB/calls"
        failures=$((failures + 1))
    fi
}
installed() { grep -qx "$1" "$STUB/installed"; }
asked() { grep -q -- "$1" "$STUB/calls"; }
said() { grep -q -- "$1" "$STUB/out"; }

run_case runs32
check "succeeds" test $status = 0
check "installs the 32-bit Wine" installed wine32:i386
check "adds the i386 architecture" grep -qx i386 "$STUB/arches"
check "leaves the 64-bit Wine out" eval '! installed wine64'
check "installs the toolchain" installed g++-mingw-w64-i686-posix
check "needs no npm" eval '! asked npm'

run_case no32 STUB_PROBE=1
check "succeeds" test $status = 0
check "installs the 64-bit Wine" installed wine64
check "never asks for wine32" eval '! asked wine32'
check "adds no i386 architecture" test ! -s "$STUB/arches"

run_case forced64 PFADWERK_WINE64=1
check "never asks for wine32" eval '! asked wine32'
check "installs the 64-bit Wine" installed wine64

run_case brokenindex STUB_UPDATE_FAIL=1
check "succeeds although the index failed" test $status = 0
check "retries the update" test "$(grep -c 'apt-get update' "$STUB/calls")" -ge 3
check "names the index that failed" said "binary-i386/Packages.xz"
check "installs anyway" installed wine32:i386

run_case nowine32 STUB_UPDATE_FAIL=1 STUB_UNINSTALLABLE=wine32:i386
check "succeeds on the 64-bit path" test $status = 0
check "says which package and why" said "could not install .*wine32:i386: their dependencies cannot be resolved"
check "says the path it takes" said "taking the 64-bit path"
check "installs the 64-bit Wine instead" installed wine64

run_case nobase STUB_UNINSTALLABLE=nsis
check "fails when the toolchain cannot be installed" test $status != 0
check "says why" said "could not install .*nsis"
check "installs no Wine" eval '! asked "install.* wine"'

[ $failures = 0 ] && echo "install-deps: all decisions as expected"
exit $((failures > 0))
