#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds. Run by run.sh and test.sh.
#   SITEPINS_BUILD_DIR   build folder below the checkout (default: build)
#   SITEPINS_CMAKE_ARGS  further options for the configure step
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config ccache
    clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-webengine-dev libqt6webenginecore6-bin
    libxml2-dev libxml2-utils
    libgtest-dev libgmock-dev libbenchmark-dev
    tango-icon-theme fonts-liberation2 fonts-dejavu-core
    xvfb xauth xdotool
    chromium firefox-esr
    fp-utils libchm-dev
)

missing_packages() {
    local pkg
    for pkg in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || echo "$pkg"
    done
}

install_missing_packages() {
    local missing
    missing=$(missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing missing packages:" $missing
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

build_project() {
    local root build
    root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
    build="$root/${SITEPINS_BUILD_DIR:-build}"
    # shellcheck disable=SC2086
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${SITEPINS_CMAKE_ARGS:-} >/dev/null
    cmake --build "$build" -j"$(nproc)"
}

install_missing_packages
build_project
