#!/bin/bash
# The real game on a virtual 1920 x 1080 display: how long from starting the
# program to the start dialog on the screen (three starts), then a new world
# played for a while by a script that walks, turns, jumps and shoots, with
# the game's own frame log (QUADERWELT_FRAME_LOG) counting the frames, the
# game's resident memory sampled during play, and its peak over the whole run.
#
#   bench/play-under-xvfb.sh [program] [seconds of play]
#
# Needs Xvfb and xdotool. Uses a private HOME in a temporary folder. The
# display must not reset between two starts (-noreset), or a start that
# falls into the reset finds no display.
set -euo pipefail

PROGRAM=${1:-build/quaderwelt}
PLAY_SECONDS=${2:-30}
SCREEN=1920x1080x24
DIALOG_TITLE="Korland Quaderwelt 1.0"
DIALOG_CLIENT_HEIGHT=539   # the dialog's client area; a menu bar sits above it

WORK=$(mktemp -d "${TMPDIR:-/tmp}/qw-play.XXXXXX")
XVFB_PID=""
GAME_PID=""
cleanup() {
    # Every step, whatever the one before returned.
    if [ -n "$GAME_PID" ]; then kill "$GAME_PID" 2>/dev/null || true; wait "$GAME_PID" 2>/dev/null || true; fi
    if [ -n "$XVFB_PID" ]; then kill "$XVFB_PID" 2>/dev/null || true; wait "$XVFB_PID" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() { echo "play-under-xvfb: $*" >&2; exit 1; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

mkfifo "$WORK/displayfd"
Xvfb -displayfd 3 -screen 0 "$SCREEN" -nolisten tcp -noreset 3>"$WORK/displayfd" >"$WORK/xvfb.log" 2>&1 &
XVFB_PID=$!
read -r -t 20 number <"$WORK/displayfd" || fail "Xvfb did not start"
export DISPLAY=":$number"

export HOME="$WORK/home" XDG_DATA_HOME="$WORK/home/.local/share" XDG_CONFIG_HOME="$WORK/home/.config"
export XDG_CACHE_HOME="$WORK/home/.cache" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS
export NO_AT_BRIDGE=1 SDL_AUDIODRIVER=dummy LANG=C.UTF-8 LC_ALL=C.UTF-8

visible_dialog() { xdotool search --onlyvisible --name "^${DIALOG_TITLE}\$" 2>/dev/null | head -n 1 || true; }

# Starts the game; STARTUP_MS: the milliseconds until its dialog is visible.
start_game() {
    local start dialog=""
    start=$(now_ms)
    QUADERWELT_FRAME_LOG=1 "$PROGRAM" >"$WORK/game.out" 2>"$WORK/game.log" &
    GAME_PID=$!
    while [ -z "$dialog" ]; do
        [ $(( $(now_ms) - start )) -lt 20000 ] || fail "no start dialog after 20 s"
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended: $(cat "$WORK/game.log")"
        dialog=$(visible_dialog)
    done
    STARTUP_MS=$(( $(now_ms) - start ))
}

stop_game() {
    kill "$GAME_PID" 2>/dev/null || true
    wait "$GAME_PID" 2>/dev/null || true
    GAME_PID=""
}

for run in 1 2 3; do
    start_game
    echo "start to visible start dialog, run $run: $STARTUP_MS ms"
    [ "$run" -eq 3 ] || stop_game
done

# "Neue Welt spielen" at client (300, 452) of the dialog.
dialog=$(visible_dialog)
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove --window "$dialog" 300 $((452 + HEIGHT - DIALOG_CLIENT_HEIGHT))
sleep 0.2
xdotool click 1
# The game window covers the screen once the round is set up.
deadline=$(( $(now_ms) + 20000 ))
until grep -q "frames/s" "$WORK/game.log"; do
    [ "$(now_ms)" -lt "$deadline" ] || fail "the game drew no frames: $(cat "$WORK/game.log")"
    sleep 0.2
done

lines_before=$(wc -l <"$WORK/game.log")
resident_now() { awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status"; }
: >"$WORK/resident.log"
xdotool keydown w
end=$(( $(now_ms) + PLAY_SECONDS * 1000 ))
step=0
while [ "$(now_ms)" -lt "$end" ]; do
    step=$((step + 1))
    # Turn with the mouse, shoot every half second, jump and strafe now and then.
    if [ $((step % 40)) -lt 20 ]; then xdotool mousemove_relative -- 12 0; else xdotool mousemove_relative -- -12 1; fi
    [ $((step % 10)) -eq 0 ] && xdotool click 1
    [ $((step % 40)) -eq 5 ] && xdotool key space
    [ $((step % 60)) -eq 30 ] && xdotool keydown a
    [ $((step % 60)) -eq 45 ] && xdotool keyup a
    resident_now >>"$WORK/resident.log"
    sleep 0.05
done
xdotool keyup w keyup a
peak=$(awk '/^VmHWM:/ {print $2}' "/proc/$GAME_PID/status")

tail -n +"$((lines_before + 1))" "$WORK/game.log" | grep "frames/s" >"$WORK/play.log" || true
echo "frame log during ${PLAY_SECONDS} s of play (one line a second):"
sed 's/^/  /' "$WORK/play.log"
awk '{ rate += $2; n++; split($0, parts, "drawing "); split(parts[2], ms, " "); busy += ms[1] }
     END { if (n) printf "average: %.1f frames/s, drawing %.1f ms a frame (%d seconds)\n", rate / n, busy / n, n }' \
    "$WORK/play.log"
sort -n "$WORK/resident.log" | awk '{ v[NR] = $1 } END {
    printf "resident memory while playing: median %d MB, highest %d MB (%d samples)\n", v[int((NR + 1) / 2)] / 1024, v[NR] / 1024, NR }'
echo "momentary peak of the whole run, shader building included: $((peak / 1024)) MB"
