#!/usr/bin/env bash
# The whole Linux suite N times in a row (default 30) while a load generator
# keeps both cores busy, so that a test that passes only on a quiet machine, or
# that can hang, shows itself. Prints every run's outcome, then runs, failures
# and hangs; exits non-zero when any run failed or hung.
#
# Usage: scripts/soak.sh [N] [ctest arguments]
# It builds into build-soak/ (NERUBATO_SOAK_BUILD), so the usual build/ stays
# free for work meanwhile; each run's log is kept there as soak-N.log.
set -euo pipefail
source "$(dirname "$0")/setup.sh"
runs=${1:-30}
shift || true
nerubato_install
NERUBATO_BUILD=${NERUBATO_SOAK_BUILD:-$NERUBATO_ROOT/build-soak}
nerubato_build >/dev/null
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

# One busy loop a core, at the tests' own priority.
load=()
for _ in $(seq "$(nproc)"); do
    bash -c 'while :; do :; done' &
    load+=($!)
done
trap 'kill "${load[@]}" 2>/dev/null; wait 2>/dev/null' EXIT

failures=0
hangs=0
started=$(date +%s)
for run in $(seq "$runs"); do
    log=$NERUBATO_BUILD/soak-$run.log
    status=0
    (cd "$NERUBATO_BUILD" && ctest --output-on-failure -j2 --timeout 120 "$@") >"$log" 2>&1 ||
        status=$?
    timedOut=$(grep -c '\*\*\*Timeout' "$log" || true)
    failed=$(grep -cE '\*\*\*Failed|Exception|\*\*\*Not Run' "$log" || true)
    if [ "$status" -eq 0 ]; then
        outcome=passed
    else
        outcome="failed ($failed failed, $timedOut timed out)"
        [ "$timedOut" -gt 0 ] && hangs=$((hangs + 1))
        [ "$failed" -gt 0 ] && failures=$((failures + 1))
        [ "$timedOut" -eq 0 ] && [ "$failed" -eq 0 ] && failures=$((failures + 1))
    fi
    echo "run $run: $outcome, $(grep -o 'Total Test time (real) = *[0-9.]* sec' "$log" |
        grep -o '[0-9.]* sec')"
done
echo "soak: $runs runs with every core busy, $failures with a failure, $hangs with a hang," \
    "$(( $(date +%s) - started )) s"
[ "$failures" -eq 0 ] && [ "$hangs" -eq 0 ]
