#!/usr/bin/env bash
# Sets up a Debian 12 machine for Skizzar, builds it, and starts the editor or runs every test.
#   bash scripts/skizzar.sh run    install what is missing, build, start the editor
#   bash scripts/skizzar.sh test   install what is missing, build, run every test
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$here/build"
mode=${1:-}

build_packages=(cmake make g++ qt6-base-dev qt6-translations-l10n libgl-dev fonts-dejavu-core)
test_packages=(python3-ezdxf xvfb xauth xdotool x11-apps x11-utils imagemagick clang libclang-rt-14-dev)

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
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" -j"$(nproc)"
}

case "$mode" in
run)
    install_missing "${build_packages[@]}"
    configure_and_build
    if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
        echo "skizzar: no display found (DISPLAY and WAYLAND_DISPLAY are unset); the editor needs a graphical desktop. It is built at $build/app/skizzar." >&2
        exit 2
    fi
    exec "$build/app/skizzar"
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    configure_and_build
    cd "$build"
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
    ;;
*)
    echo "usage: bash scripts/skizzar.sh run|test" >&2
    exit 2
    ;;
esac
