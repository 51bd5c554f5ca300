#!/usr/bin/env bash
# Set up a Debian 12 machine, build, and run the editor or the tests.
#   ./dev.sh run    install packages, build, start the editor on the demo save state
#   ./dev.sh test   install packages, build, run every test (headless)
#   ./dev.sh build  install packages and build only
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}

# What the build, the tests and the editor need (all from Debian's archive):
#   build-essential cmake ninja-build pkg-config   compilers and the build
#   qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins the window, sound output, headless tests
#   libsndfile1-dev                                 decodes the program's ADPCM sounds
#   libcli11-dev nlohmann-json3-dev                 statewright-cli's arguments and JSON
#   libgtest-dev libgmock-dev libbenchmark-dev      tests and benchmarks
#   fonts-dejavu-core                               a font for offscreen rendering in tests
#   python3-jsonschema                              checks `show --json` against docs/ schema
PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
          libsndfile1-dev libcli11-dev nlohmann-json3-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core python3-jsonschema)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends \
        "${missing[@]}"
}

build() {
    cmake -S . -B "$BUILD_DIR" -G Ninja
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

case "${1:-}" in
    run)
        install_packages
        build
        demo_dir="$BUILD_DIR/demo"
        "$BUILD_DIR/bin/statewright-cli" demo "$demo_dir"
        cd "$BUILD_DIR/bin"
        if [ -x ./statewright ]; then
            exec ./statewright "../demo/vellumgate.zs1"
        fi
        exec ./statewright-cli show "../demo/vellumgate.zs1"
        ;;
    test)
        install_packages
        build
        cd "$BUILD_DIR"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
        ;;
    build)
        install_packages
        build
        ;;
    *)
        echo "usage: $0 run|test|build" >&2
        exit 1
        ;;
esac
