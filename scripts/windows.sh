#!/usr/bin/env bash
# The Windows build: nerubato.exe and its tests cross-compiled with MinGW-w64
# against Qt for Windows (scripts/windows-qt.sh), every test run under Wine in a
# fresh prefix of its own. Before the tests, dist/nerubato-windows-x64.zip is packed,
# unzipped into an empty folder and started there under Wine until its main
# window shows; CTest's summary closes the output.
#
# Usage: scripts/windows.sh [ctest arguments]
# Variables: NERUBATO_WINDOWS_BUILD (default build-windows/), NERUBATO_WINDOWS_QT.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
nerubato_install cmake ninja-build qt6-base-dev qt6-base-dev-tools g++-mingw-w64-x86-64-posix \
    wine64 xvfb xauth x11-utils fonts-ipafont-gothic

qt=$("$NERUBATO_ROOT/scripts/windows-qt.sh" | tail -n1)
build=${NERUBATO_WINDOWS_BUILD:-$NERUBATO_ROOT/build-windows}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
runtime_dirs=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
runtime_dlls=(libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$NERUBATO_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$NERUBATO_ROOT/cmake/mingw64.cmake" \
        -DNERUBATO_WINDOWS_QT="$qt" -DCMAKE_PREFIX_PATH="$qt" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DCMAKE_CROSSCOMPILING_EMULATOR="$wine" \
        -DNERUBATO_WARNINGS_AS_ERRORS="${CI:+ON}" >/dev/null
fi
cmake --build "$build" -j2

# A Wine prefix made for one run: nothing of an earlier run or of the user's
# own ~/.wine is seen. The design font is mapped as a Japanese Windows has it.
new_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$wine" wineboot --init >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /t REG_SZ \
        /d IPAPGothic /f >/dev/null 2>&1
    "$wineserver" -w
}

winpath() { printf 'Z:%s' "${1//\//\\}"; }

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# The package, laid out as a Windows user unzips and runs it.
stage=$build/package/nerubato
rm -rf "$build/package"
mkdir -p "$stage/platforms" "$stage/styles"
cp "$build/nerubato.exe" "$stage/"
for lib in Qt6Core Qt6Gui Qt6Widgets; do cp "$qt/bin/$lib.dll" "$stage/"; done
cp "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
for dll in "${runtime_dlls[@]}"; do
    for dir in "${runtime_dirs[@]}"; do
        if [ -f "$dir/$dll" ]; then cp "$dir/$dll" "$stage/"; break; fi
    done
    [ -f "$stage/$dll" ] || { echo "no $dll in ${runtime_dirs[*]}" >&2; exit 1; }
done
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
mkdir -p "$NERUBATO_ROOT/dist"
zip=$NERUBATO_ROOT/dist/nerubato-windows-x64.zip
rm -f "$zip"
(cd "$build/package" && cmake -E tar cf "$zip" --format=zip nerubato)
echo "package: $zip ($(du -k "$zip" | cut -f1) KiB)"

# Unzipped into an empty folder and started there as a user would, on the
# windows platform, in another new prefix: the main window must show.
smoke=$(mktemp -d)
(cd "$smoke" && cmake -E tar xf "$zip")
new_prefix "$smoke/prefix"
mkdir -p "$smoke/work"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cd "$1/work"
    "$2" "$1/nerubato/nerubato.exe" & pid=$!
    for _ in $(seq 60); do
        if xwininfo -root -tree | grep -q "ネルバト　設定登録画面"; then found=1; break; fi
        sleep 1
    done
    kill "$pid" 2>/dev/null; "$3" -k 2>/dev/null; wait "$pid" 2>/dev/null
    [ -n "${found:-}" ]' _ "$smoke" "$wine" "$wineserver" ||
    { echo "the unzipped nerubato.exe showed no main window under Wine" >&2; exit 1; }
rm -rf "$smoke"
echo "smoke start: the unzipped nerubato.exe showed \"ネルバト　設定登録画面\" under Wine"

# The tests: the Qt DLLs and the MinGW runtime found through WINEPATH, the
# platform plugins beside Qt's DLLs.
new_prefix "$build/wineprefix"
WINEPATH="$(winpath "$qt/bin")"
for dir in "${runtime_dirs[@]}"; do WINEPATH+=";$(winpath "$dir")"; done
export WINEPATH
status=0
(cd "$build" && xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure -j2 "$@") ||
    status=$?
"$wineserver" -k 2>/dev/null || true
unset WINEPATH
exit "$status"

