#!/bin/sh
# Installs the Debian packages that building, running and testing Kopienwacht need,
# but only those that are missing. Runs without a terminal (CI) as root or through sudo. The
# file-system tools make the volumes the trash and link tests run on (btrfs, xfs made with
# reflink, ext4, NTFS, exFAT, FAT, a FUSE view); trash-cli checks that what they trashed can
# be restored; MinGW-w64 checks that the core outside its POSIX layer compiles for Windows.
set -eu

packages="g++ cmake ninja-build make clang-format libgtest-dev qt6-base-dev libgl-dev \
fonts-dejavu-core fonts-liberation2 poppler-utils xdg-utils \
clang libclang-rt-14-dev libfuzzer-14-dev \
xvfb xauth openbox qt6-translations-l10n \
librsvg2-bin dpkg-dev lintian appstream desktop-file-utils man-db \
g++-mingw-w64-x86-64-posix btrfs-progs xfsprogs e2fsprogs ntfs-3g exfatprogs exfat-fuse dosfstools fusefat bindfs fuse3 trash-cli"

missing=""
for p in $packages; do
    if ! dpkg -s "$p" 2>/dev/null | grep -q '^Status: install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing missing packages:$missing"
if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo -n"
else
    echo "These packages are missing and neither root nor sudo is available:$missing" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -q </dev/null
# shellcheck disable=SC2086 # the package list is meant to split into words
$as_root apt-get install -y -q --no-install-recommends $missing </dev/null
