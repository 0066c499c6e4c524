#!/usr/bin/env bash
# The Windows build: nerubato.exe and its tests cross-compiled with MinGW-w64
# against Qt for Windows (scripts/windows-qt.sh). dist/nerubato-windows-x64.zip
# is packed, and beside it the installer dist/nerubato-setup-x64.exe, which is
# installed, upgraded and uninstalled under Wine as a Japanese Windows
# (scripts/wine-installer-test.sh). The zip is unzipped into an empty folder (and into one whose path holds
# spaces and Japanese characters) and started there under Wine until its main
# window shows with the native style; then every test runs under Wine in a
# fresh prefix of its own, and CTest's summary closes the output.
#
# In each folder the package then test-runs a schedule through its own
# quorvex.exe (scripts/wine-test-run.sh), and in the plain one the runner also
# asks before ending Windows and counts down, both answered so that nothing ends.
#
# Usage: scripts/windows.sh [ctest arguments]
# Variables: NERUBATO_WINDOWS_BUILD (default build-windows/), NERUBATO_WINDOWS_QT.
set -euo pipefail
trap 'echo "scripts/windows.sh: line $LINENO failed: $BASH_COMMAND" >&2' ERR
source "$(dirname "$0")/setup.sh"
source "$NERUBATO_ROOT/scripts/wine.sh"
nerubato_windows_build
build=$NERUBATO_WINDOWS_BUILD
export NERUBATO_WINE NERUBATO_WINESERVER
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# The package as CMake's install rules lay it out (cmake/package.cmake), zipped
# and stripped by CPack.
mkdir -p "$NERUBATO_ROOT/dist"
zip=$NERUBATO_ROOT/dist/nerubato-windows-x64.zip
rm -f "$zip" "$build/nerubato-windows-x64.zip"
(cd "$build" && cpack -G ZIP >/dev/null)
mv "$build/nerubato-windows-x64.zip" "$zip"
echo "package: $zip ($(du -k "$zip" | cut -f1) KiB)"

# The installer (installer/nerubato.nsi), of the same folder by the same
# install rules, with the list of what its uninstall removes made from it.
stage=$(mktemp -d)
cmake --install "$build" --strip --prefix "$stage/nerubato" >/dev/null
for entry in "$stage/nerubato"/*; do
    if [ -d "$entry" ]; then
        printf 'RMDir /r "$INSTDIR\\%s"\n' "$(basename "$entry")"
    else
        printf 'Delete "$INSTDIR\\%s"\n' "$(basename "$entry")"
    fi
done >"$stage/files.nsh"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
setup=$NERUBATO_ROOT/dist/nerubato-setup-x64.exe
rm -f "$setup"
makensis -V2 -INPUTCHARSET UTF8 -DSTAGE="$stage/nerubato" -DFILES="$stage/files.nsh" \
    -DVERSION="$version" -DVERSION4="$(echo "$version.0.0.0" | cut -d. -f1-4)" \
    -DICON="$NERUBATO_ROOT/resources/nerubato.ico" -DOUTFILE="$setup" \
    "$NERUBATO_ROOT/installer/nerubato.nsi" >/dev/null
rm -rf "$stage"
echo "installer: $setup ($(du -k "$setup" | cut -f1) KiB)"
xvfb-run -a -s "-screen 0 1024x768x24" "$NERUBATO_ROOT/scripts/wine-installer-test.sh" "$setup" \
    "$(find "$build" -name readshortcut.exe | head -n1)"

# Unzipped into an empty folder and started there as a user would, on the
# windows platform, in a new prefix, with no WINEPATH: the main window must
# show, with the native style loaded (a style plugin that fails to load would
# leave Qt's plain fallback on screen without a word). Once from a plain
# folder, once from one whose path holds spaces and Japanese characters.
smoke_start() {
    local folder=$1 prefix=$2
    mkdir -p "$folder"
    (cd "$folder" && cmake -E tar xf "$zip")
    [ -f "$folder/nerubato/guide/index.html" ] && [ -f "$folder/nerubato/はじめにお読みください.txt" ] ||
        { echo "the unzipped package lacks the guide or the readme" >&2; return 1; }
    nerubato_new_prefix "$prefix"
    mkdir -p "$folder/work"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        cd "$1/work"
        WINEDEBUG=+loaddll "$2" "$1/nerubato/nerubato.exe" 2>"$1/loaded.log" & pid=$!
        for _ in $(seq 60); do
            if xwininfo -root -tree | grep -q "ネルバト　設定登録画面"; then found=1; break; fi
            sleep 1
        done
        kill "$pid" 2>/dev/null; "$3" -k 2>/dev/null; wait "$pid" 2>/dev/null
        [ -n "${found:-}" ]' _ "$folder" "$NERUBATO_WINE" "$NERUBATO_WINESERVER" ||
        { echo "the unzipped nerubato.exe showed no main window under Wine in $folder" >&2; return 1; }
    "$NERUBATO_WINESERVER" -w
    # Wine logs every library it loads: the style plugin must be among them.
    grep -q 'Loaded L".*\\\\styles\\\\qwindowsvistastyle.dll"' "$folder/loaded.log" ||
        { echo "the native style was not loaded in $folder:" >&2; grep -i 'style' "$folder/loaded.log" >&2; return 1; }
    echo "smoke start in $folder: \"ネルバト　設定登録画面\" shown, native style loaded"
    mkdir -p "$folder/run"
    xvfb-run -a -s "-screen 0 1024x768x24" "$NERUBATO_ROOT/scripts/wine-test-run.sh" \
        "$folder/nerubato" "$folder/run" "${3:-}"
}
smoke=$(mktemp -d)
smoke_start "$smoke/plain" "$smoke/prefix-plain" end
smoke_start "$smoke/ネルバト 作業 フォルダー/ユーザー 1" "$smoke/prefix-japanese"
rm -rf "$smoke"

# Every test, in a prefix of its own.
nerubato_new_prefix "$build/wineprefix"
nerubato_wine_path
# The wineserver and Wine's own services start first, away from CTest: started
# by the first test, they would hold its output open and CTest would wait on it.
status=0
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    "$2" -p && "$1" cmd /c exit >/dev/null 2>&1 </dev/null
    cd "$3" && ctest --output-on-failure -j2 "${@:4}"; status=$?
    "$2" -k 2>/dev/null
    exit $status' _ "$NERUBATO_WINE" "$NERUBATO_WINESERVER" "$build" "$@" || status=$?
exit "$status"
