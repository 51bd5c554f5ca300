#!/usr/bin/env bash
# Set up a Debian 12 or 13 machine, build, and run the editor or the tests.
#   ./dev.sh run    install packages, build, start the editor on the demo save state
#   ./dev.sh test   install packages, build, run every test (headless)
#   ./dev.sh build  install packages and build only
#   ./dev.sh check-install  install into a scratch folder (prefix /usr) and check the result
#   ./dev.sh package        build the Debian package statewright_<version>_<arch>.deb, whose
#                           version names the release it is built on (0.1.0-1~deb12)
#   ./dev.sh fuzz [SECONDS]  build the fuzz targets with clang and run each (default 60 s)
#   ./dev.sh test-emulators [DIR]  edit states that real emulators saved of our own test ROM
#                           and check what they load back (files in DIR, default build/emulators)
#   ./dev.sh test-windows   build the core, the command line and their tests for Windows with
#                           MinGW-w64 (in $WINDOWS_BUILD_DIR, default build-windows) and run
#                           the tests under Wine, headless, in a Wine prefix of that build's own
#   ./dev.sh package-windows  build statewright-cli-<version>-windows-x86_64.zip (the .exe, its
#                           README, the licence, the manual as text, event.txt) in build/ and
#                           check it under Wine
set -euo pipefail
cd "$(dirname "$0")"

BUILD_DIR=${BUILD_DIR:-build}
WINDOWS_BUILD_DIR=${WINDOWS_BUILD_DIR:-build-windows}

# What the build, the tests and the editor need (all from Debian's archive):
#   build-essential cmake ninja-build pkg-config   compilers and the build
#   qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins the window, sound output, headless tests
#   libsndfile1-dev                                 decodes the program's ADPCM sounds
#   zlib1g-dev                                      compressed states (RetroArch RZIP, gzip)
#   libcli11-dev nlohmann-json3-dev                 statewright-cli's arguments and JSON
#   libgtest-dev libgmock-dev libbenchmark-dev      tests and benchmarks
#   fonts-dejavu-core                               a font for offscreen rendering in tests
#   python3-jsonschema                              checks `show --json` against docs/ schema
PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins
          libsndfile1-dev zlib1g-dev libcli11-dev nlohmann-json3-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-dejavu-core python3-jsonschema)
# What the install checks and the Debian package need besides:
#   desktop-file-utils appstream libxml2-utils      validate the desktop entry, metainfo, MIME
#   shared-mime-info libglib2.0-bin groff-base      MIME database and lookup, man page warnings
#   dpkg-dev file                                   cpack's .deb and its dependencies (shlibdeps)
INSTALL_CHECK_PACKAGES=(desktop-file-utils appstream libxml2-utils shared-mime-info
                        libglib2.0-bin groff-base dpkg-dev file)

# The fuzz targets' build (./dev.sh fuzz only): clang with libFuzzer and the sanitizers; the
# configure step also looks for the command line's two header libraries.
FUZZ_PACKAGES=(build-essential cmake ninja-build clang libclang-rt-dev zlib1g-dev
               libcli11-dev nlohmann-json3-dev)
FUZZ_TARGETS=(state format rom descriptions config flag_number game_text)

# The Windows build and its tests (./dev.sh test-windows), all from Debian's archive:
#   g++-mingw-w64-x86-64-posix libz-mingw-w64-dev   the compilers (posix threads) and zlib
#   wine64                                          runs the tests (see windows_packages)
#   googletest libcli11-dev nlohmann-json3-dev      GoogleTest's sources, the header libraries
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest libcli11-dev
                  nlohmann-json3-dev cmake ninja-build)

install_packages() {
    local missing=()
    for p in "$@"; do
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

# STATEWRIGHT_CMAKE_ARGS: more arguments for the configure step, split at spaces; CI sets
# -DSTATEWRIGHT_WERROR=ON, so that a warning fails there, and never in a user's build.
build() {
    local extra=()
    read -ra extra <<<"${STATEWRIGHT_CMAKE_ARGS:-}"
    cmake -S . -B "$BUILD_DIR" -G Ninja "${extra[@]}"
    cmake --build "$BUILD_DIR" -j"$(nproc)"
}

# Builds the fuzz targets in build-fuzz/, makes their seeds, and runs each for $1 seconds on
# its corpus (build-fuzz/corpus/TARGET, kept between runs). Fails when any target finds a
# crash, a sanitizer report or a broken property, and says where the input was saved.
fuzz() {
    local seconds=$1 dir=$PWD/build-fuzz
    local started=$SECONDS
    cmake -S . -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DSTATEWRIGHT_GUI=OFF -DSTATEWRIGHT_TESTS=OFF -DSTATEWRIGHT_BENCHMARKS=OFF \
        -DSTATEWRIGHT_FUZZ=ON
    cmake --build "$dir" --target fuzz_all -j"$(nproc)"
    echo "fuzz targets built in $((SECONDS - started)) s"
    rm -rf "$dir/seeds"
    "$dir/bin/fuzz_seeds" "$dir/seeds"

    local failed=() target
    for target in "${FUZZ_TARGETS[@]}"; do
        local corpus=$dir/corpus/$target findings=$dir/findings/$target log=$dir/fuzz_$target.log
        mkdir -p "$corpus" "$findings"
        touch "$dir/findings/.run-start"
        echo "== fuzz_$target: ${seconds} s"
        if "$dir/bin/fuzz_$target" "$corpus" "$dir/seeds/$target" -max_total_time="$seconds" \
            -artifact_prefix="$findings/" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            >"$log" 2>&1; then
            grep -E '^#[0-9]+[[:space:]]+DONE' "$log" || tail -n 3 "$log"
        else
            failed+=("$target")
            grep -m 6 -E 'property broken|runtime error|ERROR:|SUMMARY:' "$log" || tail -n 20 "$log"
            echo "fuzz_$target: the whole report is in $log"
            find "$findings" -type f -newer "$dir/findings/.run-start" | while read -r input; do
                echo "fuzz_$target: the input is saved as $input"
                echo "  reproduce with: $dir/bin/fuzz_$target $input"
            done
        fi
    done
    if [ ${#failed[@]} -ne 0 ]; then
        echo "fuzzing found faults in: ${failed[*]}" >&2
        return 1
    fi
    echo "fuzzing: no finding in ${#FUZZ_TARGETS[@]} targets, ${seconds} s each"
}

# Boots our own test ROM in bsnes-mercury (three profiles), RetroArch and snes9x, edits the
# states they save with this build's statewright-cli, and checks what they load back.
test_emulators() {
    # cc65                                   assembles the test ROM
    # libretro-bsnes-mercury-*               the cores, run by tests/emulators/frontend.cpp
    # retroarch libretro-core-info dbus      RetroArch headless (the info files allow states)
    # nodejs p7zip-full (npm)                snes9x: a browser build from the npm registry
    # ares xvfb xdotool                      ares, a GTK window driven by keys on a private X
    local packages=(cc65 libretro-bsnes-mercury-accuracy libretro-bsnes-mercury-balanced
                    libretro-bsnes-mercury-performance retroarch libretro-core-info dbus python3
                    nodejs p7zip-full ares xvfb xdotool)
    command -v npm >/dev/null || packages+=(npm)  # some builds of nodejs bring their own
    install_packages "${PACKAGES[@]}" "${packages[@]}"
    build
    STATEWRIGHT_CLI="$BUILD_DIR/bin/statewright-cli" tests/emulators/run.sh "$1"
}

# The Windows packages with Wine: Debian 12's wine64 (its loader is /usr/lib/wine/wine64, which
# the toolchain file finds); where a release has no wine64 any more, its wine.
windows_packages() {
    local wine=wine64
    if ! dpkg-query -W -f='${Status}' wine64 2>/dev/null | grep -q "install ok installed" &&
        ! apt-cache show wine64 >/dev/null 2>&1; then
        wine=wine
    fi
    echo "${WINDOWS_PACKAGES[@]}" "$wine"
}

# Cross-builds the core, the command line and their tests for 64-bit Windows in
# $WINDOWS_BUILD_DIR and runs them under Wine (CTest prefixes each .exe with it).
test_windows() {
    local extra=()
    read -ra extra <<<"${STATEWRIGHT_CMAKE_ARGS:-}"
    local started=$SECONDS
    cmake -S . -B "$WINDOWS_BUILD_DIR" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DSTATEWRIGHT_GUI=OFF -DSTATEWRIGHT_BENCHMARKS=OFF -DSTATEWRIGHT_TESTS=ON "${extra[@]}"
    cmake --build "$WINDOWS_BUILD_DIR" -j"$(nproc)"
    echo "Windows build done in $((SECONDS - started)) s"
    (cd "$WINDOWS_BUILD_DIR" && ctest --output-on-failure -j"$(nproc)")
    echo "Windows tests done in $((SECONDS - started)) s"
}

case "${1:-}" in
    run)
        install_packages "${PACKAGES[@]}"
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
        install_packages "${PACKAGES[@]}"
        build
        cd "$BUILD_DIR"
        QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)"
        ;;
    build)
        install_packages "${PACKAGES[@]}"
        build
        ;;
    check-install)
        install_packages "${PACKAGES[@]}" "${INSTALL_CHECK_PACKAGES[@]}"
        build
        packaging/check-install.sh "$BUILD_DIR"
        ;;
    package)
        install_packages "${PACKAGES[@]}" "${INSTALL_CHECK_PACKAGES[@]}"
        build
        rm -f "$BUILD_DIR"/statewright_*.deb
        (cd "$BUILD_DIR" && cpack -G DEB)
        packaging/check-deb.sh "$BUILD_DIR"/statewright_*.deb
        ;;
    fuzz)
        seconds=${2:-60}
        if ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
            echo "usage: $0 fuzz [SECONDS]" >&2
            exit 1
        fi
        install_packages "${FUZZ_PACKAGES[@]}"
        fuzz "$seconds"
        ;;
    test-emulators)
        test_emulators "${2:-$BUILD_DIR/emulators}"
        ;;
    test-windows)
        read -ra windows <<<"$(windows_packages)"
        install_packages "${windows[@]}"
        test_windows
        ;;
    package-windows)
        read -ra windows <<<"$(windows_packages)"
        install_packages "${windows[@]}" groff-base python3
        packaging/windows/package.sh "${WINDOWS_BUILD_DIR}-release" "$BUILD_DIR"
        ;;
    *)
        usage="run|test|build|check-install|package|fuzz [SECONDS]|test-emulators [DIR]"
        usage+="|test-windows|package-windows"
        echo "usage: $0 $usage" >&2
        exit 1
        ;;
esac
