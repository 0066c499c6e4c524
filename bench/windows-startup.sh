#!/usr/bin/env bash
# The start-up benchmark of the Windows build under Wine: startup_nerubato.exe
# and the bare startup_bare.exe, built the same way, started alternately in one
# Wine prefix on Xvfb (the windows platform), each measuring itself from the
# creation of its process to its first idle moment. Wine's absolute times say
# little; the ratio does.
#
# Usage: bench/windows-startup.sh [runs]   (default 15)
set -euo pipefail
source "$(dirname "$0")/../scripts/setup.sh"
source "$NERUBATO_ROOT/scripts/wine.sh"
runs=${1:-15}
nerubato_windows_build --target startup_nerubato startup_bare >/dev/null
nerubato_new_prefix "$NERUBATO_WINDOWS_BUILD/bench-prefix"
nerubato_wine_path
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    wine=$1 build=$2 runs=$3
    "$4" -p
    "$wine" "$build/startup_nerubato.exe" >/dev/null; "$wine" "$build/startup_bare.exe" >/dev/null
    for i in $(seq "$runs"); do
        echo "nerubato $("$wine" "$build/startup_nerubato.exe" | tr -d "\r")"
        echo "bare $("$wine" "$build/startup_bare.exe" | tr -d "\r")"
    done
    "$4" -k' _ "$NERUBATO_WINE" "$NERUBATO_WINDOWS_BUILD" "$runs" "$NERUBATO_WINESERVER" |
python3 -c '
import sys, statistics
rows = {"nerubato": [], "bare": []}
for line in sys.stdin:
    f = line.split()
    if len(f) == 9 and f[1] == "idle":
        rows[f[0]].append((float(f[2]), float(f[4]), float(f[6]), float(f[8])))
med = {k: [statistics.median(x[i] for x in v) for i in range(4)] for k, v in rows.items()}
n, b = med["nerubato"], med["bare"]
runs = len(rows["nerubato"])
print(f"Windows build under Wine, start-up to the first idle moment ({runs} runs each, alternating)")
print(f"  nerubato.exe median {n[0]:7.1f} ms   cpu {n[1]:7.1f} ms   peak working set {n[2]:6.0f} KiB")
print(f"  bare Qt      median {b[0]:7.1f} ms   cpu {b[1]:7.1f} ms   peak working set {b[2]:6.0f} KiB")
print(f"  ratio        time {n[0]/b[0]:.2f}   cpu {n[1]/b[1]:.2f}   memory {n[2]/b[2]:.2f}")
print(f"  from main() to idle: {n[3]:.1f} ms vs {b[3]:.1f} ms, ratio {n[3]/b[3]:.2f}")
'
