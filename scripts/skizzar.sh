#!/usr/bin/env bash
# Sets up a Debian 12 machine for Skizzar, builds it, and starts the editor or runs every test.
#   bash scripts/skizzar.sh run    install what is missing, build, start the editor
#   bash scripts/skizzar.sh test   install what is missing, build, run every test; then the test
#                                  suite again built with AddressSanitizer and UndefinedBehavior-
#                                  Sanitizer (scripts/sanitize.sh) and a fuzz run of the DXF
#                                  reading (scripts/fuzz.sh) and a check that every source file is
#                                  laid out as .clang-format says; ends with a summary of all four
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
mode=${1:-}

build_packages=(cmake make g++ pkg-config qt6-base-dev qt6-base-private-dev qt6-translations-l10n libgl-dev
                libxcb1-dev libwayland-dev fonts-dejavu-core librsvg2-bin)
test_packages=(python3-ezdxf xvfb xauth xdotool x11-apps x11-utils clang-14 libclang-rt-14-dev clang-format-19
               ccache dpkg-dev file lintian desktop-file-utils appstream qt6-gtk-platformtheme weston qt6-wayland
               e2fsprogs mount)

install_missing() {
    local wanted=("$@") missing=() p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        command -v sudo >/dev/null || { echo "skizzar: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
        sudo=(sudo)
    fi
    echo "skizzar: installing ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    # With ccache, every build here (also those of scripts/sanitize.sh and scripts/fuzz.sh, which
    # take the launcher from the environment) compiles only what changed since any earlier build
    # of any clone: paths below the clone are hashed relative to it.
    if command -v ccache >/dev/null; then
        export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=true
    fi
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j"$(nproc)" "$@"
}

case "$mode" in
run)
    install_missing "${build_packages[@]}"
    configure_and_build --target skizzar
    if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
        echo "skizzar: no display found (DISPLAY and WAYLAND_DISPLAY are unset); the editor needs a graphical desktop. It is built at $build/app/skizzar." >&2
        exit 2
    fi
    exec "$build/app/skizzar"
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    configure_and_build
    logs=$(mktemp -d)
    trap 'rm -rf "$logs"' EXIT
    failed=()

    # Every C++ source outside the build folders, as .clang-format lays it out.
    check_layout() {
        (cd "$here" && find . \( -path './build*' -o -path ./.git \) -prune -o \( -name '*.cpp' -o -name '*.h' \) -print0 |
            xargs -0 clang-format-19 --dry-run --Werror)
    }

    # Each step runs to its end even when an earlier one failed; the summary tells them apart.
    step() {
        local name=$1 log=$2 start=$SECONDS
        shift 2
        echo
        echo "==== skizzar: $name ===="
        if "$@" 2>&1 | tee "$log"; then
            echo "$name: passed in $((SECONDS - start)) s" >"$log.result"
        else
            echo "$name: FAILED after $((SECONDS - start)) s" >"$log.result"
            failed+=("$name")
        fi
    }
    step "ctest (build)" "$logs/ctest" \
        env -C "$build" QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    step "ctest with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan)" "$logs/asan" \
        bash "$here/scripts/sanitize.sh"
    step "fuzz runs of the DXF reading and the recovery record (build-fuzz)" "$logs/fuzz" \
        bash "$here/scripts/fuzz.sh"
    step "layout of the sources (clang-format-19)" "$logs/format" \
        check_layout

    # ctest's own summary (from "N% tests passed" on) of the sanitizer build and then, last, of the
    # normal build.
    ctest_summary() { sed -n '/tests passed, /,$p' "$1"; }
    echo
    echo "==== skizzar: summary ===="
    cat "$logs/asan.result"
    ctest_summary "$logs/asan"
    cat "$logs/fuzz.result"
    grep -E '^(Done [0-9]+ runs|fuzz: (passed|FAILED))' "$logs/fuzz" || true
    cat "$logs/format.result"
    cat "$logs/ctest.result"
    ctest_summary "$logs/ctest"
    if ((${#failed[@]})); then
        echo "skizzar: FAILED: ${failed[*]}" >&2
        exit 1
    fi
    ;;
*)
    echo "usage: bash scripts/skizzar.sh run|test" >&2
    exit 2
    ;;
esac
