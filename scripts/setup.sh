# Shared by ./run and ./test: install what is missing, then configure and build.
# Sourced, not executed.

NERUBATO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
NERUBATO_BUILD=${NERUBATO_BUILD:-$NERUBATO_ROOT/build}
NERUBATO_PACKAGES="cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n libgl-dev fonts-ipafont-gothic xvfb xauth"
# Only for scripts/sanitize.sh and scripts/fuzz.sh: clang with its sanitizer and
# libFuzzer runtimes, and llvm-symbolizer for readable reports.
NERUBATO_SANITIZE_PACKAGES="clang libclang-rt-14-dev llvm"

# nerubato_install [package...]: the given packages, or those of the build, that are missing.
nerubato_install() {
    local missing=()
    for pkg in ${*:-$NERUBATO_PACKAGES}; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# nerubato_build [cmake --build arguments]: configure once, then build (all, or
# the targets named). CI also builds bench/ and tools/ and stops on a warning.
nerubato_build() {
    if [ ! -f "$NERUBATO_BUILD/build.ninja" ]; then
        cmake -S "$NERUBATO_ROOT" -B "$NERUBATO_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DNERUBATO_WARNINGS_AS_ERRORS="${CI:+ON}" -DNERUBATO_BUILD_EXTRAS="${CI:+ON}" >/dev/null
    fi
    cmake --build "$NERUBATO_BUILD" -j2 "$@"
}

# Where scripts/windows-qt.sh keeps Qt for Windows, outside the repository so that
# a fresh clone (and CI) finds it.
NERUBATO_CACHE=${NERUBATO_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/nerubato}
NERUBATO_WINDOWS_CACHE=$NERUBATO_CACHE/windows
