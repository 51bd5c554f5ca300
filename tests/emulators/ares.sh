# Drives Debian's ares, a GTK program with no command line for states, by its menus: a private
# Xvfb, settings that neither need a sound card nor pause an unfocused window, and the keys
# F10 Right Right Right (Tools) Down (Save State; Down Down for Load State) Right, Slot N.
# Sourced by run.sh and ares/make-states.sh. Every wait is bounded; a function that gives up
# leaves the reason in ares_why and returns 1.
#   ares_x_start DIR; ares_start ROM DIR; ares_state save|load N; ares_stop; ares_x_stop

ares_display='' ares_xvfb_pid='' ares_pid='' ares_window='' ares_rom='' ares_why=''
ares_fail() { ares_why=$1; return 1; }

ares_x_start() {  # DIR: where the display number is written
    local tries=100
    command -v ares >/dev/null && command -v Xvfb >/dev/null && command -v xdotool >/dev/null ||
        { ares_fail "ares, Xvfb or xdotool is not installed"; return; }
    rm -f "$1/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" 2>"$1/xvfb.log" &
    ares_xvfb_pid=$!
    until [ -s "$1/display" ] || [ $((tries -= 1)) -eq 0 ]; do sleep 0.1; done
    [ -s "$1/display" ] || { ares_x_stop; ares_fail "Xvfb gave no display"; return; }
    ares_display=:$(head -n1 "$1/display")
}

# PID: TERM, then KILL after 10 s, so that a program that ignores TERM cannot stall the run.
ares_end() {
    local tries=100
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || true
    while kill -0 "$1" 2>/dev/null && [ $((tries -= 1)) -gt 0 ]; do sleep 0.1; done
    kill -9 "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

ares_x_stop() { ares_end "$ares_xvfb_pid"; ares_xvfb_pid=; }

ares_xdotool() { DISPLAY=$ares_display xdotool "$@"; }

# ROM DIR: boots ROM with its own settings in DIR, waits up to 20 s for the game's window.
ares_start() {
    local name tries=200
    name=$(basename "${1%.*}")
    ares_rom=$1
    mkdir -p "$2/ares-data/ares"
    cat >"$2/ares-data/ares/settings.bml" <<EOF
Video
  Driver: XShm
  Shader: None
  Multiplier: 1
Audio
  Driver: None
Input
  Driver: None
  Defocus: Allow
General
  AutoSaveMemory: false
  NativeFileDialogs: false
EOF
    DISPLAY=$ares_display HOME=$2 XDG_DATA_HOME=$2/ares-data XDG_CONFIG_HOME=$2/ares-data \
        timeout -k 5 300 ares --system "Super Famicom" "$1" >"$2/ares.log" 2>&1 &
    ares_pid=$!
    # The window takes the game's name once the game runs; the display is ours alone.
    until ares_window=$(ares_xdotool search --name "^$name\$" 2>/dev/null); do
        if [ $((tries -= 1)) -eq 0 ] || ! kill -0 "$ares_pid" 2>/dev/null; then
            ares_stop
            ares_fail "ares showed no window for $name in 20 s (its log: $2/ares.log)"
            return
        fi
        sleep 0.1
    done
    ares_window=$(head -n1 <<<"$ares_window")
    ares_xdotool mousemove 0 0  # a pointer over a menu would pick its own item
}

# timeout passes TERM on to ares; its -k 5 KILLs ares before ares_end would KILL timeout alone.
ares_stop() { ares_end "$ares_pid"; ares_pid=; }

# save|load N: saving waits up to 10 s for the slot's file to be written anew, and picks the
# item again, twice at most, for a key that went astray. Loading leaves no trace to wait for:
# what the next save holds tells.
ares_state() {
    local file=${ares_rom%.*}.bs$2 keys=(Down) before tries attempt
    [ "$1" = load ] && keys=(Down Down)
    keys+=(Right)
    for ((n = 1; n < $2; n++)); do keys+=(Down); done
    for attempt in 1 2 3; do
        kill -0 "$ares_pid" 2>/dev/null || { ares_fail "ares is gone"; return; }
        before=$(stat -c %y.%s.%i "$file" 2>/dev/null || true)
        ares_xdotool key Escape Escape  # any menu left open
        ares_xdotool windowfocus --sync "$ares_window" &&
            ares_xdotool key --delay 100 F10 Right Right Right "${keys[@]}" Return || true
        if [ "$1" = load ]; then
            sleep 1
            return 0
        fi
        tries=100
        while [ $((tries -= 1)) -gt 0 ]; do
            sleep 0.1
            [ -s "$file" ] && [ "$(stat -c %y.%s.%i "$file")" != "$before" ] && break
        done
        if [ "$tries" -gt 0 ]; then
            sleep 0.3  # for the write to end
            return 0
        fi
        echo "ares wrote no $file in 10 s (try $attempt of 3)" >&2
    done
    ares_fail "ares wrote no $file in 3 tries of 10 s"
}
