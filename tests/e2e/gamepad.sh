#!/bin/bash
# Player 2 on an Xbox 360 pad in the real program, two players in creative
# mode. The pad is SDL's virtual one, plugged into the game by the pad shim
# (QW_PAD_SHIM) and worked through a FIFO in the raw order Linux gives such
# a pad: the left stick walks, the right stick turns (sideways) and tilts
# (forward looks down, back looks up), X jumps, A digs, B places, LB and RB
# step player 2's block. Pulled out, the pad does nothing; plugged in again
# it plays again.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
: "${QW_PAD_SHIM:?QW_PAD_SHIM must name the pad shim}"
e2e_setup
play_screen

# Raw axes and buttons of the pad.
LEFT_X=0 LEFT_Y=1 LEFT_TRIGGER=2 RIGHT_X=3 RIGHT_Y=4 RIGHT_TRIGGER=5
BUTTON_A=0 BUTTON_B=1 BUTTON_X=2 BUTTON_LB=4 BUTTON_RB=5

PAD_FIFO="$E2E_TMP/pad"
mkfifo "$PAD_FIFO"
exec 7<>"$PAD_FIFO"   # kept open both ways, so neither side waits for the other
pad() { echo "$*" >&7; }
hold_axis() { pad axis "$1" "$2"; sleep "$3"; pad axis "$1" 0; sleep 0.2; }
tap_button() { pad button "$1" 1; sleep "${2:-0.2}"; pad button "$1" 0; sleep 0.2; }

# The upper view is player 2's: rows 0 to CY.
UPPER="0 20 $W $((CY - 90))"
crop_upper() { crop "$1" $UPPER; }
upper_changes_with() {
    local what=$1 tick before
    shift
    before=$(crop_upper "$what-before")
    "$@"
    for tick in 1 2 3 4 5 6 7 8; do
        [ "$(differing_pixels "$before" "$(crop_upper "$what-after")")" -gt 50 ] && return 0
        sleep 0.25
    done
    return 1
}
# Sky in none of the upper view's top row: looking at the ground.
upper_top_is_ground() {
    local x
    for x in $((W / 8)) $((3 * W / 8)) "$CX" $((5 * W / 8)) $((7 * W / 8)); do
        [ "$(e2e_pixel "$x" 5)" = "$SKY" ] && return 1
    done
    return 0
}
# The share of the upper view that shows sky, 0 to 1.
upper_sky_share() {
    import -window root -crop "${W}x$((CY - 70))+0+0" +repage png:- 2>/dev/null |
        convert png:- -alpha off -fill white -opaque "rgb($SKY)" -fill black +opaque white -format '%[fx:mean]' info:
}
# Looking up from straight down: much of the view is sky now (the other
# figure or a house may stand close by and fill part of it).
upper_looks_up() { awk -v share="$(upper_sky_share)" 'BEGIN { exit !(share > 0.25) }'; }

ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0" \
    start_app_through env LD_PRELOAD="$QW_PAD_SHIM" QW_PAD_FIFO="$PAD_FIFO" "$QW_BIN"
dialog=$(e2e_wait_dialog)
choose "$dialog" 2 creative
e2e_press_play_new "$dialog"
game=$(wait_game_window)
xdotool mousemove "$CX" "$CY"
expect_world_view 0 "$CY" "upper view"
expect_world_view "$CY" "$CY" "lower view"
expect_slot "$CY" 0 "player 2 at the start"

e2e_log "RB and LB step player 2's block, player 1's stays"
tap_button $BUTTON_RB
expect_slot "$CY" 1 "RB"
tap_button $BUTTON_RB
expect_slot "$CY" 2 "RB again"
tap_button $BUTTON_LB
expect_slot "$CY" 1 "LB"
[ "$(selected_slot "$H")" = 0 ] || e2e_fail "player 1's block changed"
e2e_screenshot pad-second-block >/dev/null

# Forward, back, left, right: a hill or a house may stand in the way of one.
stick_walks() {
    local move
    for move in "$LEFT_Y -32768" "$LEFT_Y 32767" "$LEFT_X -32768" "$LEFT_X 32767"; do
        # shellcheck disable=SC2086
        upper_changes_with walk hold_axis $move 0.8 && return 0
    done
    return 1
}

e2e_log "the left stick walks"
if ! stick_walks; then
    # A random world may wall player 2 in where it starts: a new round, once.
    e2e_log "walled in, a new round"
    open_menu walled-in
    menu_new_round
    wait_menu_gone
    sleep 0.5
    stick_walks || e2e_fail "walking with the left stick changed nothing"
fi

e2e_log "the right stick sideways turns"
upper_changes_with turn hold_axis $RIGHT_X 32767 0.5 || e2e_fail "the right stick did not turn player 2"

e2e_log "X jumps"
upper_changes_with jump tap_button $BUTTON_X 1.5 || e2e_fail "X did not jump"
sleep 1

e2e_log "the right stick forward looks down, at the ground"
hold_axis $RIGHT_Y -32768 1.5
upper_top_is_ground || e2e_fail "the right stick forward did not look down"
awk -v share="$(upper_sky_share)" 'BEGIN { exit !(share < 0.05) }' || e2e_fail "looking down, the sky is still seen"
e2e_screenshot pad-looking-down >/dev/null

e2e_log "the right stick back looks up, at the sky"
hold_axis $RIGHT_Y 32767 1.5
upper_looks_up || e2e_fail "the right stick back did not look up"
e2e_screenshot pad-looking-up >/dev/null

e2e_log "A digs out the block under player 2"
hold_axis $RIGHT_Y -32768 1.5
upper_changes_with dig tap_button $BUTTON_A || e2e_fail "A dug nothing"
sleep 1

e2e_log "B places a block, looking a little further ahead each try"
placed=""
for try in 1 2 3 4 5 6 7 8; do
    hold_axis $RIGHT_Y 32767 0.1
    sleep 0.3
    if upper_changes_with place tap_button $BUTTON_B; then placed=yes; break; fi
done
[ -n "$placed" ] || e2e_fail "B placed no block"

e2e_log "pulled out, the pad does nothing; plugged in again, it plays"
slot=$(selected_slot "$CY")
pad unplug
sleep 0.5
tap_button $BUTTON_RB
sleep 0.5
[ "$(selected_slot "$CY")" = "$slot" ] || e2e_fail "a pulled-out pad stepped the block"
pad plug
sleep 0.5
tap_button $BUTTON_RB
expect_slot "$CY" $(( (slot + 1) % 8 )) "RB after plugging in again"
e2e_screenshot pad-plugged-in-again >/dev/null

close_game "$game"
e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
