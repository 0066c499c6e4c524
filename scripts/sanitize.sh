#!/usr/bin/env bash
# The sanitizer step of CI: a second build with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (build-san/), every test under it, then every fuzz
# target for a short while (scripts/fuzz.sh, NERUBATO_FUZZ_SECONDS, default 30).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
nerubato_install
nerubato_install $NERUBATO_SANITIZE_PACKAGES

build=${NERUBATO_SAN_BUILD:-$NERUBATO_ROOT/build-san}
if [ ! -f "$build/build.ninja" ]; then
    CC=clang CXX=clang++ cmake -S "$NERUBATO_ROOT" -B "$build" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNERUBATO_SANITIZE=ON -DNERUBATO_FUZZ=ON \
        -DNERUBATO_WARNINGS_AS_ERRORS="${CI:+ON}" -DNERUBATO_BUILD_EXTRAS="${CI:+ON}" >/dev/null
fi
cmake --build "$build" -j2

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd "$build" && ctest --output-on-failure -j2)

NERUBATO_SAN_BUILD=$build "$NERUBATO_ROOT/scripts/fuzz.sh" "${NERUBATO_FUZZ_SECONDS:-30}"
