# Shared by scripts/windows.sh and docs/screenshots.sh: the Windows build and
# the Wine it runs under. Sourced after setup.sh, not executed.

NERUBATO_WINDOWS_PACKAGES="cmake ninja-build qt6-base-dev qt6-base-dev-tools \
g++-mingw-w64-x86-64-posix wine64 xvfb xauth x11-utils xdotool fonts-ipafont-gothic qt6-translations-l10n \
nsis locales"
NERUBATO_WINDOWS_BUILD=${NERUBATO_WINDOWS_BUILD:-$NERUBATO_ROOT/build-windows}
NERUBATO_WINE=/usr/lib/wine/wine64
NERUBATO_WINESERVER=/usr/lib/wine/wineserver64
# Where the MinGW runtime DLLs of Debian's posix GCC and winpthreads live: Wine
# finds them there for the tests, and the package takes them from there.
NERUBATO_RUNTIME_DIRS=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

# Qt for Windows (built once into the cache), then the project against it.
nerubato_windows_build() {
    nerubato_install $NERUBATO_WINDOWS_PACKAGES
    NERUBATO_WINDOWS_QT=$("$NERUBATO_ROOT/scripts/windows-qt.sh" | tail -n1)
    local build=$NERUBATO_WINDOWS_BUILD
    if [ ! -f "$build/build.ninja" ]; then
        cmake -S "$NERUBATO_ROOT" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$NERUBATO_ROOT/cmake/mingw64.cmake" \
            -DNERUBATO_WINDOWS_QT="$NERUBATO_WINDOWS_QT" -DCMAKE_PREFIX_PATH="$NERUBATO_WINDOWS_QT" \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            -DCMAKE_CROSSCOMPILING_EMULATOR="$NERUBATO_WINE" \
            -DNERUBATO_RUNTIME_DIRS="$(IFS=';'; echo "${NERUBATO_RUNTIME_DIRS[*]}")" \
            -DNERUBATO_WARNINGS_AS_ERRORS="${CI:+ON}" -DNERUBATO_BUILD_EXTRAS="${CI:+ON}" >/dev/null
    fi
    cmake --build "$build" -j2 "$@"
}

# A Wine prefix made for one run: nothing of an earlier run or of ~/.wine is
# seen. The design font is mapped as a Japanese Windows has it. Wine passes no
# QT_* variable of the Linux side on, so those Qt needs are the prefix's own:
# QtTest, seeing no console, would otherwise write its report to the debugger,
# and the offscreen platform on Windows reads its fonts from a directory.
nerubato_new_prefix() {
    export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$NERUBATO_WINE" wineboot --init >/dev/null 2>&1
    "$NERUBATO_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' \
        /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
    "$NERUBATO_WINE" reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /t REG_SZ /d 1 /f \
        >/dev/null 2>&1
    # Only the proportional Gothic, the nearest to the design font, so that
    # the offscreen platform falls back on nothing else.
    mkdir -p "$WINEPREFIX/drive_c/fonts"
    cp /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf "$WINEPREFIX/drive_c/fonts/"
    "$NERUBATO_WINE" reg add 'HKCU\Environment' /v QT_QPA_FONTDIR /t REG_SZ /d 'C:\fonts' /f \
        >/dev/null 2>&1
    "$NERUBATO_WINESERVER" -w
}

nerubato_winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Programs of the build find the Qt DLLs and the MinGW runtime through WINEPATH.
nerubato_wine_path() {
    local dir
    WINEPATH=$(nerubato_winpath "$NERUBATO_WINDOWS_QT/bin")
    for dir in "${NERUBATO_RUNTIME_DIRS[@]}"; do WINEPATH+=";$(nerubato_winpath "$dir")"; done
    export WINEPATH
}

# A registration on standard output: the untouched editor's 49 lines with
# "N=text" replaced, CP932, CR LF.
nerubato_registration() {
    local lines=(false 01/01 false false false false false false false true 00:00 23:59 00:00
        10 30 '' '' '' '' '' '' '' '' '' '' '' '' '' '' '' false false false false syuryo3 23:59
        false false false true 0 0 0 0 false true false kidojiymd 970101)
    local change
    for change in "$@"; do lines[${change%%=*} - 1]=${change#*=}; done
    printf '%s\r\n' "${lines[@]}" | iconv -f UTF-8 -t CP932
}
