#!/usr/bin/env bash
# The README's commands on a bare Debian root, as a new user meets them: a root made with
# `debootstrap --variant=minbase` from Debian's archive, entered with chroot. Each run starts
# from a fresh copy of a pristine root, kept as a tarball per release and day in $CACHE.
#   .ci/debian-root.sh test RELEASE OUT_DIR  copy the checkout's tracked files into a bare root,
#                                            run ./dev.sh test, a Release build and
#                                            ./dev.sh package there, and
#                                            put the .deb into OUT_DIR
#   .ci/debian-root.sh install RELEASE DEB   install DEB with apt on another bare root and run
#                                            both programs there
# RELEASE is a Debian code name (bookworm, trixie). Runs as root; STATEWRIGHT_CMAKE_ARGS is
# passed on to dev.sh inside the root.
set -euo pipefail
cd "$(dirname "$0")/.."

CACHE=${CACHE:-/var/cache/statewright-ci}
MIRROR=http://deb.debian.org/debian
WORK=${WORK:-/var/tmp/statewright-ci}

usage() {
    echo "usage: $0 test RELEASE OUT_DIR | install RELEASE DEB" >&2
    exit 1
}
[ $# -eq 3 ] || usage
command=$1 release=$2 arg=$3
[[ "$release" =~ ^[a-z]+$ ]] || usage
[ "$(id -u)" -eq 0 ] || { echo "$0: chroot needs root" >&2; exit 1; }

started=$SECONDS
step() { echo "== debian-root $release: $* ($(minutes) min so far)"; }
minutes() { awk -v s=$((SECONDS - started)) 'BEGIN { printf "%.1f", s / 60 }'; }

# The pristine root of today; older ones of this release are removed.
pristine_tarball() {
    local tarball=$CACHE/$release-minbase-$(date -u +%Y%m%d).tar
    if [ ! -f "$tarball" ]; then
        if ! command -v debootstrap >/dev/null; then
            apt-get update >&2
            DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends debootstrap >&2
        fi
        mkdir -p "$CACHE"
        local fresh
        fresh=$(mktemp -d "$CACHE/.debootstrap.XXXXXX")
        debootstrap --variant=minbase "$release" "$fresh" "$MIRROR" >&2 ||
            { rm -rf "$fresh"; return 1; }
        tar -C "$fresh" -cf "$tarball.part" .
        rm -rf "$fresh"
        find "$CACHE" -maxdepth 1 -name "$release-minbase-*.tar" -delete
        mv "$tarball.part" "$tarball"
    fi
    echo "$tarball"
}

root=
mounted=()
cleanup() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
        umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}" || true
    done
    mounted=()
    # Only once nothing is mounted any more, so that rm never reaches the host's /dev or /sys.
    if [ -n "$root" ] && ! grep -q " $root/" /proc/mounts; then rm -rf "$root"; fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# A fresh copy of the pristine root, with the kernel's file systems, the host's name servers
# and a policy that starts no services while packages install.
new_root() {
    local tarball
    tarball=$(pristine_tarball)
    mkdir -p "$WORK"
    root=$(mktemp -d "$WORK/$release.XXXXXX")
    tar -C "$root" -xf "$tarball"
    # A root's own mode (the tarball's "." has debootstrap's mktemp mode, 0700): other users,
    # the tests' nobody among them, must reach /usr.
    chmod 755 "$root"
    cp /etc/resolv.conf "$root/etc/resolv.conf"
    printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
    chmod 755 "$root/usr/sbin/policy-rc.d"
    mount -t proc proc "$root/proc" && mounted+=("$root/proc")
    mount -t sysfs sysfs "$root/sys" && mounted+=("$root/sys")
    mount --bind /dev "$root/dev" && mounted+=("$root/dev")
    mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts" &&
        mounted+=("$root/dev/pts")
}

# Runs a shell command inside the root as root, with a clean environment and no stdin.
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 CI=true DEBIAN_FRONTEND=noninteractive \
        STATEWRIGHT_CMAKE_ARGS="${STATEWRIGHT_CMAKE_ARGS:-}" /bin/bash -euo pipefail -c "$1" \
        </dev/null
}

case "$command" in
    test)
        out=$arg
        mkdir -p "$out"
        step "making the root"
        new_root
        step "root ready; copying the checkout"
        mkdir "$root/src"
        git ls-files -z | tar --null -T - -cf - | tar -C "$root/src" -xf -
        grep -E '^(PRETTY_NAME|VERSION_ID)=' "$root/etc/os-release"
        step "./dev.sh test"
        in_root 'cd /src && ./dev.sh test'
        step "Release build"
        in_root 'cd /src && cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
                 $STATEWRIGHT_CMAKE_ARGS && cmake --build build-release -j"$(nproc)"'
        step "./dev.sh package"
        in_root 'cd /src && ./dev.sh package'
        rm -f "$out"/statewright_*~deb*.deb
        cp "$root"/src/build/statewright_*.deb "$out/"
        ls -l "$out"/statewright_*.deb
        ;;
    install)
        deb=$arg
        [ -f "$deb" ] || { echo "$0: no such package: $deb" >&2; exit 1; }
        step "making the root"
        new_root
        step "root ready; apt install $(basename "$deb")"
        cp "$deb" "$root/tmp/"
        in_root "apt-get update -q && apt-get install -y -q /tmp/$(basename "$deb")"
        # The editor, offscreen, must still be running on the demo state when timeout ends it.
        step "running the programs"
        in_root 'statewright-cli --version && statewright-cli demo /tmp/d &&
                 statewright-cli show /tmp/d/vellumgate.zs1 | head -n 12 &&
                 statewright --data-files && cd /tmp &&
                 { QT_QPA_PLATFORM=offscreen timeout 5 statewright /tmp/d/vellumgate.zs1 ||
                   [ $? -eq 124 ]; } && echo "the editor ran 5 s on the demo state"'
        ;;
    *) usage ;;
esac
step "done"
