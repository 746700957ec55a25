#!/bin/bash
# F2 into a pictures folder that is read-only, then into one that is full:
# each time the standard error box, no partial picture, and the game plays on.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
prefix=$(as_plain_user) || { echo "skipped: cannot give up root's right to write anywhere"; exit 77; }
e2e_setup
play_screen
PICTURES="$HOME/Pictures"
mkdir -p "$PICTURES"
PASSED=0

# Starts a creative game for one player (no computer opponent) and leaves its
# window id in $game.
start_game() {
    dialog=$(e2e_wait_dialog)
    choose "$dialog" 1 creative
    e2e_press_play_new "$dialog"
    game=$(wait_game_window)
    wait_crosshair "$CY"
    expect_world_view 0 "$H" "before F2"
}

# F2, the standard error box, then frames as before: the player still turns.
screenshot_fails() {
    local name=$1
    press F2
    local box
    box=$(wait_box_shown Quaderwelt "$name")
    expect_cursor "$(corner_x)" "$(corner_y)" shown "the box over the game"
    answer_box "$box" Quaderwelt "$game"
    wait_crosshair "$CY"
    expect_cursor "$CX" "$CY" hidden "play after the box"
    expect_turning 0 0 "$W" $((H - 70)) "after the failed screenshot"
}

e2e_log "read-only pictures folder"
chmod 555 "$PICTURES"
# shellcheck disable=SC2086
start_app_through $prefix "$QW_BIN"
start_game
screenshot_fails read-only
[ -z "$(ls -A "$PICTURES")" ] || e2e_fail "a picture appeared: $(ls -A "$PICTURES")"
chmod 755 "$PICTURES"
e2e_log "the folder writable again: F2 saves a picture"
press F2
waited=0
until [ -s "$PICTURES/quaderwelt1.jpg" ]; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "no picture after the folder became writable"
done
e2e_expect_no_window Quaderwelt
e2e_stop_app
PASSED=$((PASSED + 1))

e2e_log "full pictures folder (a tiny file system of its own)"
rm -f "$PICTURES"/*
if unshare -m true 2>/dev/null; then
    # The program gets a mount namespace of its own with a 16 KiB file
    # system over the pictures folder; /proc/<pid>/root shows it from here.
    start_app_through unshare -m sh -c 'mount -t tmpfs -o size=16k tmpfs "$1" && exec "$2"' _ "$PICTURES" "$QW_BIN"
    start_game
    screenshot_fails full
    [ -z "$(ls -A "/proc/$APP_PID/root$PICTURES")" ] ||
        e2e_fail "a partial picture was left: $(ls -l "/proc/$APP_PID/root$PICTURES")"
    e2e_stop_app
    PASSED=$((PASSED + 1))
else
    echo "# no mount namespace here: the full folder is covered by the unit tests only"
fi
echo "screenshot failures: $PASSED passed, 0 failed"
