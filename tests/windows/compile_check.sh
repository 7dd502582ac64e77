#!/bin/sh
# Every file of the core outside the POSIX layer (src/fs) and of kowacht must compile for
# Windows: a POSIX call or type that slips back into them fails here. Syntax only, as the
# Windows layer below fs is not written yet.
#
#   tests/windows/compile_check.sh SOURCE_DIR
set -eu
src=$1/src
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
    echo "$compiler is missing (g++-mingw-w64-x86-64-posix; scripts/install-deps.sh installs it)" >&2
    exit 1
fi
failed=$(mktemp)
trap 'rm -f "$failed"' EXIT
find "$src/search" "$src/results" "$src/shell" "$src/app/kowacht" -name '*.cpp' | sort |
    xargs -P "$(nproc)" -I{} sh -c '"$0" -std=c++20 -fsyntax-only -I"$1" "$2" 2>&1 || echo "$2" >>"$3"' \
        "$compiler" "$src" {} "$failed"
if [ -s "$failed" ]; then
    echo "these do not compile for Windows:" >&2
    cat "$failed" >&2
    exit 1
fi
echo "$(find "$src/search" "$src/results" "$src/shell" "$src/app/kowacht" -name '*.cpp' | wc -l) files compile for Windows"
