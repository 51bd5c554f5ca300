#!/usr/bin/env bash
# Boots our own test ROM in real emulators, edits the states they save with statewright-cli,
# loads the edits back, and checks that every edited field arrived and every other byte of
# work RAM stayed as it was.
#   tests/emulators/run.sh [BUILD_DIR]     (default build/emulators)
# STATEWRIGHT_CLI: the editor (default build/bin/statewright-cli).
# STATEWRIGHT_EMU_PATCHER=python: patch the bytes with check.py instead, to test the harness.
# STATEWRIGHT_EMU_STRICT=1: a program that cannot be driven here fails its case; by default
# the case is SKIPPED (only ares, a window under Xvfb, may be).
# Needs cc65, g++, python3, the bsnes-mercury cores, retroarch, libretro-core-info, dbus,
# node, npm and 7z (p7zip-full) for snes9x, which comes from the npm registry, and ares, xvfb
# and xdotool.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
out=$(realpath -m "${1:-$repo/build/emulators}")
cli=${STATEWRIGHT_CLI:-$repo/build/bin/statewright-cli}
cores=/usr/lib/x86_64-linux-gnu/libretro
started=$SECONDS

mkdir -p "$out"
ca65 --cpu 65816 -o "$out/vellum.o" "$here/rom/vellum.s"
ld65 -C "$here/rom/vellum.cfg" -o "$out/vellum.bin" "$out/vellum.o"
python3 "$here/rom/finish.py" "$out/vellum.bin" "$out"
g++ -std=c++17 -O2 -Wall -Wextra -o "$out/frontend" "$here/frontend.cpp" -ldl

work=$out/work  # each case's files, kept until the next run for a look at what failed
rm -rf "$work"
mkdir -p "$work"
export XDG_DATA_HOME=$work/data  # the editor's backups, if any
frontend() { timeout 60 "$out/frontend" "$@"; }  # a core given a bad state may hang

edit() {
    if [ "${STATEWRIGHT_EMU_PATCHER:-}" = python ]; then
        python3 "$here/check.py" edit "$1"
    else
        python3 "$here/check.py" edit "$1" "$cli"
    fi
}

failures=()
skipped=()
# A fresh folder with the ROM as vellum.smc, beside the state vellum.state, as the editor
# looks for it.
case_dir() {
    local dir=$work/$1
    mkdir -p "$dir"
    cp "$out/$2.smc" "$dir/vellum.smc"
    echo "$dir"
}

# PROFILE ROM: boot, save; load and dump; edit; load the edit in a fresh core, dump, run, save.
libretro_case() {
    local core=$cores/bsnes_mercury_$1_libretro.so dir
    dir=$(case_dir "$1-$2" "$2")
    frontend "$core" "$dir/vellum.smc" run 150 save "$dir/saved.state" &&
        frontend "$core" "$dir/vellum.smc" load "$dir/saved.state" dumpwram "$dir/wram0" &&
        cp "$dir/saved.state" "$dir/vellum.state" && edit "$dir/vellum.state" &&
        frontend "$core" "$dir/vellum.smc" load "$dir/vellum.state" dumpwram "$dir/wram1" \
            run 30 save "$dir/resaved.state" &&
        python3 "$here/check.py" verify "$dir/saved.state" "$dir/vellum.state" \
            "$dir/resaved.state" --wram0 "$dir/wram0" --wram1 "$dir/wram1" ||
        failures+=("bsnes-mercury $1 with $2")
}

for profile in accuracy balanced performance; do
    for rom in vellum vellum-nosram vellum-32k; do
        libretro_case "$profile" "$rom"
    done
done

# RetroArch, headless: null drivers, commands over UDP, its own home, states beside the ROM.
retroarch_config() {
    cat <<EOF
video_driver = "null"
audio_driver = "null"
input_driver = "null"
joypad_driver = "null"
menu_driver = "null"
audio_enable = "false"
network_cmd_enable = "true"
network_cmd_port = "55355"
libretro_directory = "$cores"
libretro_info_path = "/usr/share/libretro/info/"
savestate_directory = "$1"
savefile_directory = "$1"
savestate_file_compression = "$2"
savestate_auto_save = "false"
savestate_auto_load = "false"
savestate_thumbnail_enable = "false"
sort_savestates_enable = "false"
sort_savestates_by_content_enable = "false"
config_save_on_exit = "false"
quit_press_twice = "false"
EOF
}
command_retroarch() { printf '%s' "$1" >/dev/udp/127.0.0.1/55355; }
# Waits up to 10 s for a file that RetroArch writes, then a little for the write to end.
wait_for() {
    local tries=100
    while [ ! -s "$1" ] && [ $((tries -= 1)) -gt 0 ]; do sleep 0.1; done
    sleep 0.5
    [ -s "$1" ] || { echo "RetroArch wrote no $1" >&2; return 1; }
}

# COMPRESSION: save slot 0, edit it while RetroArch runs, load it, save slot 1, quit.
retroarch_case() {
    local dir log pid tries=100
    dir=$(case_dir "retroarch-$1" vellum)
    log=$dir/retroarch.log
    retroarch_config "$dir" "$1" >"$dir/retroarch.cfg"
    HOME=$dir XDG_CONFIG_HOME=$dir timeout 60 dbus-run-session -- retroarch --verbose \
        --config "$dir/retroarch.cfg" -L "$cores/bsnes_mercury_accuracy_libretro.so" \
        "$dir/vellum.smc" >"$log" 2>&1 &
    pid=$!
    until grep -q NetCMD "$log" || [ $((tries -= 1)) -eq 0 ]; do sleep 0.1; done
    sleep 2  # the ROM's setup, with frames to spare
    command_retroarch SAVE_STATE && wait_for "$dir/vellum.state" &&
        cp "$dir/vellum.state" "$dir/saved.state" && edit "$dir/vellum.state" &&
        command_retroarch LOAD_STATE && sleep 1 && command_retroarch STATE_SLOT_PLUS &&
        command_retroarch SAVE_STATE && wait_for "$dir/vellum.state1" &&
        python3 "$here/check.py" verify "$dir/saved.state" "$dir/vellum.state" \
            "$dir/vellum.state1" || failures+=("RetroArch, compression $1")
    command_retroarch QUIT || true
    wait "$pid" || true
}

for compression in false true; do
    retroarch_case "$compression"
done

# snes9x as the npm package builds it for browsers, run by node; its .data is a 7-zip archive.
snes9x_version=4.2.3
snes9x() { timeout 120 node "$here/snes9x.cjs" "$out/snes9x" "$@"; }
snes9x_case() {
    local dir
    if [ ! -f "$out/snes9x/snes9x_libretro.wasm" ]; then
        (cd "$out" && npm pack --silent "@emulatorjs/core-snes9x@$snes9x_version" >/dev/null)
        tar -xzf "$out/emulatorjs-core-snes9x-$snes9x_version.tgz" -C "$out" \
            package/snes9x-wasm.data
        7z x -y -o"$out/snes9x" "$out/package/snes9x-wasm.data" >/dev/null
    fi
    dir=$(case_dir snes9x vellum)
    snes9x "$dir/vellum.smc" run 150 save "$dir/saved.state" &&
        cp "$dir/saved.state" "$dir/vellum.state" && edit "$dir/vellum.state" &&
        snes9x "$dir/vellum.smc" run 30 load "$dir/vellum.state" run 30 \
            save "$dir/resaved.state" &&
        python3 "$here/check.py" verify "$dir/saved.state" "$dir/vellum.state" \
            "$dir/resaved.state" || failures+=("snes9x $snes9x_version from npm")
}
snes9x_case

# ares v126: first the states it made of our ROMs, kept in ares/ (ares/make-states.sh), which
# need no ares; then ares itself, driven by its menus under Xvfb.
kept_ares_case() {
    local dir
    dir=$(case_dir "ares-kept-$1" "$1")
    cp "$here/ares/$1.bs1" "$dir/saved.bs1"
    cp "$dir/saved.bs1" "$dir/vellum.bs1"
    { [ "${STATEWRIGHT_EMU_PATCHER:-}" = python ] ||
        python3 "$here/check.py" show "$dir/vellum.bs1" "$cli"; } &&
        edit "$dir/vellum.bs1" &&
        python3 "$here/check.py" edited "$dir/saved.bs1" "$dir/vellum.bs1" ||
        failures+=("the kept ares v126 state of $1")
}

for rom in vellum vellum-nosram vellum-32k; do
    kept_ares_case "$rom"
done

source "$here/ares.sh"
trap 'ares_stop; ares_x_stop' EXIT
ares_skip() {
    ares_broken=1  # the next case would wait for the same in vain
    if [ "${STATEWRIGHT_EMU_STRICT:-}" = 1 ]; then
        failures+=("$1: $ares_why")
    else
        skipped+=("$1: $ares_why")
    fi
}

# ROM: boot (ares reads .sfc; the .smc beside is for the editor), save slot 1 once the ROM is
# ready, edit it, load slot 1, save slot 2. Until the edit nothing of ours has been tried, so a
# failure is this machine's and skips; after it, a failure is the editor's.
ares_case() {
    local dir try ready='' what="ares v126 with $1"
    ares_why=''
    dir=$(case_dir "ares-$1" "$1")
    cp "$out/$1.sfc" "$dir/vellum.sfc"
    ares_start "$dir/vellum.sfc" "$dir" || { ares_skip "$what"; return; }
    for try in 1 2 3; do
        sleep 1
        ares_state save 1 || break
        python3 "$here/check.py" ready "$dir/vellum.bs1" && { ready=1; break; }
        ares_why="the ROM was not ready in $try states"
    done
    [ -n "$ready" ] || { ares_skip "$what"; ares_stop; return; }
    cp "$dir/vellum.bs1" "$dir/saved.bs1"
    edit "$dir/vellum.bs1" || { failures+=("$what"); ares_stop; return; }
    # A load leaves no file behind: when slot 2 lacks the edit, the keys may have gone astray
    # once; the same file loaded again cannot hide a fault of it.
    for try in 1 2; do
        ares_state load 1 && ares_state save 2 &&
            python3 "$here/check.py" verify "$dir/saved.bs1" "$dir/vellum.bs1" \
                "$dir/vellum.bs2" && { ares_stop; return; }
    done
    failures+=("$what${ares_why:+: $ares_why}")
    ares_stop
}

ares_broken=''
if ares_x_start "$work"; then
    for rom in vellum vellum-nosram vellum-32k; do
        if [ -z "$ares_broken" ]; then ares_case "$rom"; else ares_skip "ares v126 with $rom"; fi
    done
    ares_x_stop
else
    ares_skip "ares v126"
fi

[ ${#skipped[@]} -eq 0 ] || printf 'SKIPPED: %s\n' "${skipped[@]}" >&2
if [ ${#failures[@]} -ne 0 ]; then
    printf 'FAILED: %s\n' "${failures[@]}" >&2
    echo "their files are in $work" >&2
    exit 1
fi
echo "emulator states: every case passed${skipped:+ but ${#skipped[@]} skipped} in $((SECONDS - started)) s"
