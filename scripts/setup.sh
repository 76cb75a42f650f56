#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then
# configures and builds: the targets named as arguments, or everything.
# Run by run.sh (the program only) and test.sh (everything).
#   SITEPINS_BUILD_DIR   build folder below the checkout (default: build)
#   SITEPINS_CMAKE_ARGS  further options for the configure step
set -euo pipefail

PACKAGES=(
    g++ cmake ninja-build pkg-config ccache
    clang libclang-rt-14-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    qt6-webengine-dev libqt6webenginecore6-bin
    libxml2-dev libxml2-utils
    # Browser integration: zip archives (XPI, CRX payload), CRX signing keys.
    libzip-dev libssl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    tango-icon-theme fonts-liberation2 fonts-dejavu-core
    xvfb xauth xdotool
    chromium firefox-esr
    fp-utils libchm-dev
    # Firefox profiles keep their bookmarks in places.sqlite.
    libsqlite3-dev
    # The icons (button icons, menu icons) are drawn from SVG artwork at build time.
    qt6-svg-dev
    # Installing: the menu entry's and AppStream validators, the package's
    # library dependencies (dpkg-shlibdeps).
    desktop-file-utils appstream dpkg-dev
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
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$build" -j"$(nproc)" "${targets[@]}"
}

install_missing_packages
build_project "$@"
