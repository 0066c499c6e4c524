#!/usr/bin/env bash
# Builds the picture tool and saves the windows' pictures into docs/.
# Usage: docs/screenshots.sh [NAME...]            the Linux build (offscreen)
#        docs/screenshots.sh --windows [NAME...]  the Windows build under Wine on
#                                                 Xvfb, saved as docs/windows-NAME.png
# (no name: every picture; for Windows the main window, the editor's three
# pages, the two choosers, an edit field's context menu, the report, the
# runner's countdown, its question before ending Windows in a test run, its
# countdown before that end and its failure window, and "icon":
# nerubato.exe's main window with the title bar Wine draws for it, icon included)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"

if [ "${1:-}" = "--windows" ]; then
    shift
    source "$NERUBATO_ROOT/scripts/wine.sh"
    [ $# -gt 0 ] || set -- main-window editor-main editor-options editor-reserved slot-chooser chooser \
        edit-menu report-dialog runner-countdown runner-end-question runner-end-countdown runner-failure icon
    shots=()
    for name in "$@"; do [ "$name" = icon ] || shots+=("$name"); done
    # Wine's Marlett draws the title bars' buttons.
    nerubato_install fonts-wine
    nerubato_windows_build --target nerubato_shots nerubato screengrab
    out=$(mktemp -d)
    nerubato_new_prefix "$out/prefix"
    nerubato_wine_path
    export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
    # Inside a desktop of Wine's own, which draws the windows' frames: the
    # guide names windows by their titles, so their pictures show them. The
    # title bar's font is the Japanese one; Marlett, found only in the
    # prefix's own font folder, draws its buttons.
    "$NERUBATO_WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma \
        /t REG_SZ /d IPAPGothic /f >/dev/null 2>&1
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$NERUBATO_WINESERVER" -w
    if [ ${#shots[@]} -gt 0 ]; then
        xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
            "$1" explorer /desktop=shots,1280x1024 "$2" --frames "$3" "${@:6}" >/dev/null 2>&1 & pid=$!
            for _ in $(seq 180); do
                missing=0
                for name in "${@:6}"; do [ -f "$5/$name.png" ] || missing=1; done
                [ $missing = 0 ] && break
                sleep 1
            done
            sleep 2
            kill "$pid" 2>/dev/null; "$4" -k 2>/dev/null; wait "$pid" 2>/dev/null
            true' _ "$NERUBATO_WINE" "$NERUBATO_WINDOWS_BUILD/nerubato_shots.exe" \
            "$(nerubato_winpath "$out")" "$NERUBATO_WINESERVER" "$out" "${shots[@]}"
    fi
    if [[ " $* " == *" icon "* ]]; then
        # Wine draws a title bar itself only on a desktop of its own.
        mkdir -p "$out/work"
        xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
            cd "$1/work"
            "$2" explorer /desktop=nerubato,480x260 "$4/nerubato.exe" >/dev/null 2>&1 & pid=$!
            for _ in $(seq 60); do
                geometry=$(xwininfo -root -tree | grep "\"ネルバト　設定登録画面\"" |
                    grep -oE "[0-9]+x[0-9]+\+-?[0-9]+\+-?[0-9]+" | head -n1) || true
                [ -n "$geometry" ] && break
                sleep 1
            done
            sleep 2 # until it has drawn itself
            [ -n "$geometry" ] && "$2" "$4/screengrab.exe" "$(printf "Z:%s" "${1//\//\\}")\\icon.png" "$geometry"
            status=$?
            kill "$pid" 2>/dev/null; "$3" -k 2>/dev/null; wait "$pid" 2>/dev/null
            exit $status' _ "$out" "$NERUBATO_WINE" "$NERUBATO_WINESERVER" "$NERUBATO_WINDOWS_BUILD" ||
            { echo "no picture of nerubato.exe's main window under Wine" >&2; exit 1; }
    fi
    for name in "$@"; do
        cp "$out/$name.png" "$NERUBATO_ROOT/docs/windows-$name.png"
        echo "$NERUBATO_ROOT/docs/windows-$name.png"
    done
    rm -rf "$out"
    exit 0
fi

nerubato_install
nerubato_build --target nerubato_shots
QT_QPA_PLATFORM=offscreen "$NERUBATO_BUILD/tools/nerubato_shots" "$NERUBATO_ROOT/docs" "$@"
