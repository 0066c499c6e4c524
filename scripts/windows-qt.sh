#!/usr/bin/env bash
# Qt 6.4.2 for Windows x86-64, built once from Debian's own source package
# qt6-base with MinGW-w64 and Debian's Qt host tools, into a cache outside the
# repository. Prints the install prefix on its last line.
#
# It rebuilds only when the cache is missing or was made from another source
# version or other flags (the stamp file). NERUBATO_WINDOWS_QT names an already
# built Qt for Windows to use instead; NERUBATO_CACHE moves the cache.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

if [ -n "${NERUBATO_WINDOWS_QT:-}" ]; then
    [ -x "$NERUBATO_WINDOWS_QT/bin/qt-cmake" ] || {
        echo "NERUBATO_WINDOWS_QT=$NERUBATO_WINDOWS_QT has no bin/qt-cmake" >&2
        exit 1
    }
    echo "$NERUBATO_WINDOWS_QT"
    exit 0
fi

nerubato_install cmake ninja-build dpkg-dev qt6-base-dev qt6-base-dev-tools \
    g++-mingw-w64-x86-64-posix

version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
cache=$NERUBATO_WINDOWS_CACHE
prefix=$cache/qt-$version-mingw64
work=$cache/qt-build

# What the tool does not use is left out. Two traps of Debian's source: it has no
# bundled wintab.h (so no tablet events), and FEATURE_opengl=OFF alone leaves
# dynamicgl on, which the windows platform plugin then fails to compile.
flags=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DINPUT_opengl=no
    -DFEATURE_tabletevent=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
)
toolchain=$NERUBATO_ROOT/cmake/mingw64.cmake
compiler=$(x86_64-w64-mingw32-g++-posix --version | head -n1)
stamp="source $version; compiler $compiler; flags ${flags[*]}"

if [ -f "$prefix/.nerubato-stamp" ] && [ "$(cat "$prefix/.nerubato-stamp")" = "$stamp" ]; then
    echo "$prefix"
    exit 0
fi

started=$(date +%s)
echo "building Qt $version for Windows into $prefix (about half an hour on 2 cores)" >&2
rm -rf "$prefix"
# A build cut short (a session ending, a full disk) goes on where it stopped.
if [ ! -f "$work/.nerubato-stamp" ] || [ "$(cat "$work/.nerubato-stamp")" != "$stamp" ]; then
    rm -rf "$work"
    mkdir -p "$work"
    echo "$stamp" >"$work/.nerubato-stamp"
fi

# The source comes through apt, from the suite and mirror apt already uses.
list=/etc/apt/sources.list.d/nerubato-deb-src.sources
if ! apt-get source --print-uris "qt6-base=$version" >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    sed -n '/^Types:/,$p' /etc/apt/sources.list.d/debian.sources |
        sed 's/^Types:.*/Types: deb-src/' | $sudo tee "$list" >/dev/null
    $sudo apt-get update -qq
fi
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
[ -n "$src" ] || (cd "$work" && apt-get source -qq "qt6-base=$version" >/dev/null)
src=$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)
[ -n "$src" ] || { echo "apt-get source left no qt6-base tree in $work" >&2; exit 1; }

cmake -S "$src" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_INSTALL_PREFIX="$prefix" \
    "${flags[@]}" >"$work/configure.log" 2>&1 ||
    { tail -40 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j2 >"$work/build.log" 2>&1 ||
    { grep -m5 -A12 '^FAILED' "$work/build.log" >&2 || tail -40 "$work/build.log" >&2; exit 1; }
cmake --install "$work/build" >"$work/install.log" 2>&1
echo "$stamp" >"$prefix/.nerubato-stamp"
rm -rf "$work"
echo "Qt for Windows built in $(( $(date +%s) - started )) s" >&2
echo "$prefix"
