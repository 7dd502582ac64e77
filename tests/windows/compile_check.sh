#!/bin/sh
# Every file outside the POSIX layer (src/fs/posix) must compile for Windows: the rest of fs,
# the search, the results, the shell, kowacht and, where Qt's headers are given, the windows
# and the desktop program. A POSIX call or type that slips back into them fails here, and so
# does a system header included outside the layer. Syntax only, as the Windows layer below
# fs is not written yet; the windows are checked against this machine's Qt headers, which
# declare the same classes for Windows.
#
#   tests/windows/compile_check.sh SOURCE_DIR APP_ID [QT_INCLUDE_DIRS, joined by ':']
set -eu
src=$1/src
app_id=$2
qt_dirs=${3:-}
compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
    echo "$compiler is missing (g++-mingw-w64-x86-64-posix; scripts/install-deps.sh installs it)" >&2
    exit 1
fi
folders="$src/fs $src/search $src/results $src/shell $src/app/kowacht"
if [ -n "$qt_dirs" ]; then
    folders="$folders $src/ui $src/app/kopienwacht"
fi
files=$(find $folders -path "$src/fs/posix" -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sort)
# A header is compiled through its own .cpp; alone only where it has none.
units=$(for file in $files; do
    case $file in
    *.h) [ -e "${file%.h}.cpp" ] || echo "$file" ;;
    *) echo "$file" ;;
    esac
done)

# The system's own headers belong to the POSIX layer alone. getopt.h is the exception:
# MinGW-w64's runtime carries getopt_long too.
system_headers='#include <(sys/|linux/|netinet/|arpa/|unistd\.h|fcntl\.h|dirent\.h|pwd\.h|grp\.h|poll\.h|signal\.h|locale\.h|wctype\.h|termios\.h|dlfcn\.h|pthread\.h|spawn\.h|mntent\.h|windows\.h)'
if included=$(grep -nE "$system_headers" $files); then
    echo "system headers outside src/fs/posix:" >&2
    echo "$included" >&2
    exit 1
fi

# Qt's own folders only: not the Linux system's (Qt's targets name /usr/include for OpenGL)
# nor its Linux mkspec.
qt_flags=$(printf '%s' "$qt_dirs" | tr ':' '\n' | grep '/qt6' | grep -v '/mkspecs/' | sort -u | sed 's/^/-I/' | tr '\n' ' ')
failed=$(mktemp)
trap 'rm -f "$failed"' EXIT
# A header goes in through -include, as it would through an #include, not as a main file.
# shellcheck disable=SC2086 # the flags are meant to split
printf '%s\n' $units | xargs -P "$(nproc)" -I{} sh -c '
    case $4 in *.h) unit="-include $4 /dev/null" ;; *) unit=$4 ;; esac
    "$0" -std=c++20 -fsyntax-only -x c++ -I"$1" $2 "-DKW_APP_ID=\"$3\"" -DQT_NO_CAST_FROM_ASCII \
        -DQT_NO_CAST_TO_ASCII -DQT_NO_URL_CAST_FROM_STRING $unit 2>&1 || echo "$4" >>"$5"' \
    "$compiler" "$src" "$qt_flags" "$app_id" {} "$failed"
if [ -s "$failed" ]; then
    echo "these do not compile for Windows:" >&2
    cat "$failed" >&2
    exit 1
fi
echo "$(printf '%s\n' $units | wc -l) files compile for Windows"
