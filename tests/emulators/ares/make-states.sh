#!/usr/bin/env bash
# Makes the ares states kept beside this script: our ROM with 8 KiB, no and 32 KiB of battery
# RAM, booted in Debian's ares (126) under Xvfb and saved to slot 1 once the ROM has written
# every field. run.sh checks the editor on them where ares cannot run.
#   tests/emulators/ares/make-states.sh [WORK_DIR]     (default: a temporary folder)
# Needs cc65, python3, ares, xvfb and xdotool.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
emulators=$(dirname "$here")
work=$(realpath -m "${1:-$(mktemp -d)}")
mkdir -p "$work"
source "$emulators/ares.sh"
trap 'ares_stop; ares_x_stop' EXIT

ca65 --cpu 65816 -o "$work/vellum.o" "$emulators/rom/vellum.s"
ld65 -C "$emulators/rom/vellum.cfg" -o "$work/vellum.bin" "$work/vellum.o"
python3 "$emulators/rom/finish.py" "$work/vellum.bin" "$work"
ares_x_start "$work" || { echo "$ares_why" >&2; exit 1; }
for rom in vellum vellum-nosram vellum-32k; do
    mkdir -p "$work/$rom"
    cp "$work/$rom.sfc" "$work/$rom/"
    ares_start "$work/$rom/$rom.sfc" "$work/$rom" || { echo "$ares_why" >&2; exit 1; }
    for try in 1 2 3; do
        sleep 1
        ares_state save 1 || { echo "$ares_why" >&2; exit 1; }
        python3 "$emulators/check.py" ready "$work/$rom/$rom.bs1" && break
        [ "$try" -lt 3 ] || { echo "the ROM was not ready in 3 states of $rom" >&2; exit 1; }
    done
    ares_stop
    cp "$work/$rom/$rom.bs1" "$here/$rom.bs1"
    echo "$rom.bs1: $(stat -c %s "$here/$rom.bs1") bytes"
done
