#!/usr/bin/env bash
# Builds the picture tool and saves the windows' pictures into docs/.
# Usage: docs/screenshots.sh [NAME...]   (no name: every picture)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"
nerubato_install
if [ ! -f "$NERUBATO_BUILD/build.ninja" ]; then
    cmake -S "$NERUBATO_ROOT" -B "$NERUBATO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$NERUBATO_BUILD" -j2 --target nerubato_shots
QT_QPA_PLATFORM=offscreen "$NERUBATO_BUILD/tools/nerubato_shots" "$NERUBATO_ROOT/docs" "$@"
