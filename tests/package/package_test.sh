#!/bin/sh
# Builds the Debian package from this build tree, unpacks it into a scratch root and runs
# what it installed from there, so that a file installed to the wrong place fails; then
# lints it. Usage: package_test.sh BUILD_DIR
set -eu

build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && cpack -G DEB -B "$scratch/out" >"$scratch/cpack.log" 2>&1) || {
    cat "$scratch/cpack.log" >&2
    fail "cpack"
}
deb=$(ls "$scratch"/out/kopienwacht_*_*.deb)
case $(basename "$deb") in
kopienwacht_"$(dpkg-deb -f "$deb" Version)"_"$(dpkg --print-architecture)".deb) ;;
*) fail "package name $(basename "$deb")" ;;
esac
[ -z "$(dpkg-deb -I "$deb" | grep -E ' (pre|post)(inst|rm) ')" ] || fail "maintainer scripts in the package"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "dependencies not computed"

root=$scratch/root
dpkg -x "$deb" "$root"

# The command line, as installed.
version=$("$root/usr/bin/kowacht" --version | head -n 1)
[ "$version" = "kowacht (Kopienwacht) $(dpkg-deb -f "$deb" Version)" ] || fail "kowacht --version said: $version"
mkdir -p "$scratch/tree/b"
echo eins >"$scratch/tree/a.txt"
echo eins >"$scratch/tree/b/a.txt"
echo zwei >"$scratch/tree/c.txt"
found=$("$root/usr/bin/kowacht" -r -q "$scratch/tree" 2>/dev/null)
expected=$(printf '%s\n%s' "$scratch/tree/a.txt" "$scratch/tree/b/a.txt")
[ "$found" = "$expected" ] || fail "kowacht found: $found"

# The desktop program finds the help pages that came with it, not those of the build tree.
help=$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/kopienwacht" --help | sed -n 's/^Hilfeseiten: //p')
[ -f "$help/index.html" ] || fail "no help pages at '$help'"
[ "$(realpath "$help")" = "$(realpath "$root/usr/share/kopienwacht/help")" ] || fail "help pages taken from $help"

# What a desktop and a software centre read.
for f in applications/de.ostwerk.Kopienwacht.desktop metainfo/de.ostwerk.Kopienwacht.metainfo.xml \
    icons/hicolor/scalable/apps/de.ostwerk.Kopienwacht.svg doc/kopienwacht/copyright \
    man/man1/kowacht.1.gz man/man1/kopienwacht.1.gz; do
    [ -s "$root/usr/share/$f" ] || fail "missing /usr/share/$f"
done
for size in 16 32 48 64 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/de.ostwerk.Kopienwacht.png
    [ -s "$png" ] || fail "missing $png"
    # width and height stand at bytes 16 to 23 of a PNG
    [ "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] || fail "$png is not ${size}px"
done
MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/kopienwacht.1.gz" 2>"$scratch/man.err" >/dev/null
[ ! -s "$scratch/man.err" ] || fail "man: $(cat "$scratch/man.err")"

# Lintian: no errors and no warnings (its notes on the root user are no finding).
if ! lintian --fail-on error,warning "$deb" >"$scratch/lintian.log" 2>&1; then
    grep -v 'running with root privileges' "$scratch/lintian.log" >&2
    fail "lintian"
fi
echo "package test passed: $(basename "$deb")"
