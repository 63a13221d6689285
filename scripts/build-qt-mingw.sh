#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (qtbase 6.4.2: Core, Gui, Widgets, Test, the platform and image-format
# plugins) from Debian 12's own source package with Debian's mingw-w64 compiler, and installs it into
# the folder given. This is how the tarball in ../shared/toolchains/ was made; scripts/windows.sh
# --build-qt calls it where that tarball is absent. About 45 minutes on 2 cores.
#
# Usage: scripts/build-qt-mingw.sh INSTALL_FOLDER
set -euo pipefail
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=$(realpath -m "${1:?usage: scripts/build-qt-mingw.sh INSTALL_FOLDER}")
version=6.4.2+dfsg-10
work="$top/build/cache/qt-mingw-source"
"$top/scripts/setup.sh" --windows

# apt-get source needs deb-src entries: the system's Debian entries as deb-src, in a private apt
# configuration, so the system's own stays as it is.
apt="$work/apt"
mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/archives/partial"
: >"$apt/sources.list"
for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$list" >"$apt/sources.list.d/$(basename "$list")"
done
if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb \(.*debian.*\)$/deb-src \1/p' /etc/apt/sources.list >"$apt/sources.list"
fi
apt_options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
    -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives" -o "APT::Sandbox::User=root")
source_dir="$work/qt6-base-${version%-*}"
if [ ! -d "$source_dir" ]; then
    apt-get "${apt_options[@]}" update -qq
    (cd "$work" && apt-get "${apt_options[@]}" source -qq "qt6-base=$version")
    patch -d "$source_dir" -p1 <"$top/cmake/qt-mingw/direct2d-off.patch"
fi

# Qt's own toolchain file for its build: the project's, with Qt's install folder to search.
cat >"$work/toolchain.cmake" <<TOOLCHAIN
include($top/cmake/mingw-w64-x86_64.cmake)
list(APPEND CMAKE_FIND_ROOT_PATH "$prefix")
TOOLCHAIN
cmake -S "$source_dir" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$(gcc -print-multiarch)/cmake" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_dynamicgl=OFF -DFEATURE_direct2d=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
cmake --build "$work/build"
cmake --install "$work/build"
