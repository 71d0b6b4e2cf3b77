#!/usr/bin/env bash
# Installs what is missing, builds, and then starts the game or runs the tests.
#   ./build.sh run    build and start the game
#   ./build.sh test   build with sanitizers and run every test
set -euo pipefail
cd "$(dirname "$0")"

# qt6-wayland lets the game run natively on a Wayland desktop, not through XWayland.
# Qt Charts needs Qt OpenGL's development files, which its package does not pull in.
build_packages=(cmake g++ ninja-build qt6-base-dev qt6-multimedia-dev qt6-charts-dev libqt6opengl6-dev qt6-wayland
                fonts-liberation2 fonts-dejavu-core)
test_packages=(pulseaudio pulseaudio-utils sox xvfb xdotool x11-utils imagemagick
               at-spi2-core python3-pyatspi dbus appstream desktop-file-utils dpkg-dev file
               weston groff-base)

install_missing() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing ${#missing[@]} packages and what they need: ${missing[*]}"
    echo "On a fresh system that is a few hundred packages; it may take a few minutes."
    # sudo clears the environment, so the setting goes on its command line:
    # a question from a package would otherwise wait unseen for an answer.
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
    [ "$(id -u)" -eq 0 ] || apt=(sudo "${apt[@]}")
    "${apt[@]}" update -qq
    # apt's own lines (what it fetches, unpacks and sets up) show that it is
    # working; -q only drops the redrawn progress bars that garble a log.
    "${apt[@]}" install -y -q --no-install-recommends "${missing[@]}"
}

build() { # build DIR [cmake options...]
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    # The test build has sanitizers and no optimisation: playing wants one
    # of its own.
    if [ ! -e build/release/build.ninja ]; then
        echo "Building the game to play in build/release, apart from any test build;" \
             "the first time takes a few minutes."
    fi
    build build/release -DCMAKE_BUILD_TYPE=Release -DQUINTOR_BUILD_TESTS=OFF
    exec build/release/src/quintor
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    build build/test -DCMAKE_BUILD_TYPE=Debug -DQUINTOR_SANITIZE=ON -DQUINTOR_WERROR=ON
    exec ctest --test-dir build/test --output-on-failure -j 2
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
