#!/usr/bin/env bash
# Qt 6.4.2 for 64-bit Windows (mingw-w64), for the Windows build in
# scripts/windows.sh. Prints the Qt folder on its last line.
#
# The folder is kept in ${XDG_CACHE_HOME:-~/.cache}/quarvel/qt-6.4.2-mingw64
# with a stamp file holding the checksum of what it came from; a folder whose
# stamp matches is used as it is. It comes from
#   1. the prepared copy ../shared/toolchains/qt-6.4.2-mingw64.tar.xz beside
#      the checkout, when its checksum matches the .sha256 beside it; else
#   2. Debian's source package qt6-base (the same 6.4.2 as the Linux Qt),
#      fetched with a private apt set-up that adds a deb-src entry for the
#      machine's Debian mirror, patched and cross-built (about 25 minutes on
#      two cores).
# Environment:
#   QUARVEL_QT_FROM_SOURCE=1       skips the prepared copy
#   QUARVEL_QT_STOP_AT_CONFIGURE=1 stops the source build before configuring
set -uo pipefail
cd "$(dirname "$0")/.."

version=6.4.2
toolchains=../shared/toolchains
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quarvel
qt=$cache/qt-$version-mingw64
stamp=$qt/.quarvel-stamp
mkdir -p "$cache" || exit 1

use_if_stamped() {   # use_if_stamped CHECKSUM
    if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$1" ]; then
        echo "$qt"
        exit 0
    fi
}

# 1. The prepared copy.
archive=$toolchains/qt-$version-mingw64.tar.xz
if [ "${QUARVEL_QT_FROM_SOURCE:-0}" != 1 ] && [ -f "$archive" ] && [ -f "$archive.sha256" ]; then
    expected=$(awk '{print $1; exit}' "$archive.sha256")
    actual=$(sha256sum "$archive" | awk '{print $1}')
    if [ "$expected" = "$actual" ]; then
        use_if_stamped "archive $actual"
        echo "Unpacking $archive" >&2
        rm -rf "$qt" "$qt.part"
        mkdir -p "$qt.part" && tar -xJf "$archive" -C "$qt.part" || exit 1
        mv "$qt.part/qt-$version-mingw64" "$qt" && rm -rf "$qt.part" || exit 1
        echo "archive $actual" > "$stamp"
        echo "$qt"
        exit 0
    fi
    echo "The checksum of $archive does not match; building Qt from source" >&2
fi

# 2. From Debian's source package.
# Qt 6.4.2's windows plug-in needs two #if's changed to build without OpenGL.
patch_file=$PWD/dist/windows/qt-$version-mingw-no-opengl.patch
source_key="source $version $(sha256sum "$patch_file" | awk '{print $1}')"
use_if_stamped "$source_key"

work=$cache/qt-source
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/src" || exit 1

# The first Debian mirror configured for apt, one-line or deb822 form.
mirror=$(
    { cat /etc/apt/sources.list 2>/dev/null; cat /etc/apt/sources.list.d/*.list 2>/dev/null; } \
        | awk '$1 == "deb" { for (i = 2; i <= NF; i++) if ($i ~ /^[a-z]+:\/\//) { print $i; exit } }'
)
if [ -z "$mirror" ]; then
    mirror=$(cat /etc/apt/sources.list.d/*.sources 2>/dev/null \
        | awk 'tolower($1) == "uris:" { for (i = 2; i <= NF; i++) if ($i !~ /security/) { print $i; exit } }')
fi
mirror=${mirror:-http://deb.debian.org/debian}
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
signed=
[ -f "$keyring" ] && signed="[signed-by=$keyring] "
echo "deb-src $signed$mirror bookworm main" > "$work/apt/sources.list"
apt_options=(-o "Dir::Etc::sourcelist=$work/apt/sources.list" -o "Dir::Etc::sourceparts=-"
             -o "Dir::State::Lists=$work/apt/lists" -o "Dir::Cache::Archives=$work/apt/archives"
             -o "APT::Get::List-Cleanup=0")
echo "Fetching qt6-base $version from $mirror" >&2
apt-get "${apt_options[@]}" update -qq >&2 || exit 1
# Bookworm's qt6-base is the 6.4.2 of the Linux build; the folder name says so.
(cd "$work/src" && apt-get "${apt_options[@]}" source -qq qt6-base >&2) || exit 1
# Debian's unpacked tree is named after the package (with the Debian
# patches applied), not after Qt's own tarball.
src=$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$version*" | head -1)
[ -n "$src" ] || { echo "No qt6-base-$version source folder in $work/src" >&2; exit 1; }
(cd "$src" && patch -p1 < "$patch_file" >&2) || exit 1

if [ "${QUARVEL_QT_STOP_AT_CONFIGURE:-0}" = 1 ]; then
    echo "Stopped before configuring Qt in $src" >&2
    exit 2
fi
rm -rf "$qt"
cmake -S "$src" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$qt" \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_opengl=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF >&2 || exit 1
nice -n 10 ninja -C "$work/build" >&2 && ninja -C "$work/build" install >&2 || exit 1
x86_64-w64-mingw32-strip --strip-unneeded "$qt"/bin/*.dll "$qt"/plugins/*/*.dll
echo "$source_key" > "$stamp"
rm -rf "$work"
echo "$qt"
