#!/usr/bin/env bash
# Builds the picture tool and saves the windows' pictures into docs/.
# Usage: docs/screenshots.sh [NAME...]            the Linux build (offscreen)
#        docs/screenshots.sh --windows [NAME...]  the Windows build under Wine on
#                                                 Xvfb, saved as docs/windows-NAME.png
# (no name: every picture; for Windows the main window, the editor's three
# pages and the two choosers)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"

if [ "${1:-}" = "--windows" ]; then
    shift
    source "$NERUBATO_ROOT/scripts/wine.sh"
    nerubato_windows_build --target nerubato_shots
    [ $# -gt 0 ] || set -- main-window editor-main editor-options editor-reserved slot-chooser chooser
    out=$(mktemp -d)
    nerubato_new_prefix "$out/prefix"
    nerubato_wine_path
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    QT_QPA_PLATFORM=windows xvfb-run -a -s "-screen 0 1024x768x24" \
        "$NERUBATO_WINE" "$NERUBATO_WINDOWS_BUILD/nerubato_shots.exe" \
        "$(nerubato_winpath "$out")" "$@" >/dev/null
    "$NERUBATO_WINESERVER" -k 2>/dev/null || true
    for name in "$@"; do
        cp "$out/$name.png" "$NERUBATO_ROOT/docs/windows-$name.png"
        echo "$NERUBATO_ROOT/docs/windows-$name.png"
    done
    rm -rf "$out"
    exit 0
fi

nerubato_install
if [ ! -f "$NERUBATO_BUILD/build.ninja" ]; then
    cmake -S "$NERUBATO_ROOT" -B "$NERUBATO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$NERUBATO_BUILD" -j2 --target nerubato_shots
QT_QPA_PLATFORM=offscreen "$NERUBATO_BUILD/tools/nerubato_shots" "$NERUBATO_ROOT/docs" "$@"
