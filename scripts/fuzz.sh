#!/usr/bin/env bash
# Runs every libFuzzer target of fuzz/ for a while, each from its seed corpus
# plus what earlier runs on this machine found. Any finding fails the script and
# leaves the input in build-san/fuzz-findings/.
#
#   scripts/fuzz.sh [seconds per target]      (default 30)
#   NERUBATO_FUZZ_TARGETS="settings paths" scripts/fuzz.sh 1800
set -euo pipefail
source "$(dirname "$0")/setup.sh"
nerubato_install
nerubato_install $NERUBATO_SANITIZE_PACKAGES

seconds=${1:-${NERUBATO_FUZZ_SECONDS:-30}}
build=${NERUBATO_SAN_BUILD:-$NERUBATO_ROOT/build-san}
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$NERUBATO_ROOT" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNERUBATO_SANITIZE=ON -DNERUBATO_FUZZ=ON >/dev/null
fi

targets=${NERUBATO_FUZZ_TARGETS:-$(cd "$NERUBATO_ROOT/fuzz" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')}
cmake --build "$build" -j2 --target $(for t in $targets; do printf 'fuzz_%s ' "$t"; done)

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
findings="$build/fuzz-findings"
mkdir -p "$findings"
status=0
for name in $targets; do
    corpus="$build/fuzz-corpus/$name"
    mkdir -p "$corpus"
    [ -d "$NERUBATO_ROOT/fuzz/corpus/$name" ] && cp -n "$NERUBATO_ROOT/fuzz/corpus/$name/"* "$corpus/" 2>/dev/null || true
    dict=()
    [ -f "$NERUBATO_ROOT/fuzz/$name.dict" ] && dict=(-dict="$NERUBATO_ROOT/fuzz/$name.dict")
    log="$build/fuzz-$name.log"
    start=$(date +%s)
    if (cd "$findings" && "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix="$findings/$name-" "${dict[@]}" "$corpus" >"$log" 2>&1); then
        result="no finding"
    else
        result="FINDING (see $log and $findings)"
        tail -40 "$log"
        status=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    echo "fuzz_$name: ${runs:-?} executions in $(( $(date +%s) - start )) s, corpus $(ls "$corpus" | wc -l) inputs: $result"
done
exit $status
