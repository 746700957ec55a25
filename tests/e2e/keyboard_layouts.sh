#!/bin/bash
# Player 1 chooses blocks with the top row of the keyboard whatever layout
# the desktop has: with the US and German layouts it prints digits, with the
# French one & é " ' ( - è _ ç. The material bar's red frame follows. The
# numeric pad's digits choose nothing, and W A S D still walk by their label
# (on AZERTY W sits where QWERTY has Z). The layout changes while the game
# runs, as a player switches it.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
e2e_setup
play_screen
use_layout() {
    setxkbmap -display "$DISPLAY" "$1" || e2e_fail "cannot set the keyboard layout $1"
    sleep 0.5
    xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
}

# Presses the keys $2... one after another: each must choose the slot $1.
top_row() {
    local layout=$1 key slot=0
    shift
    for key in "$@"; do
        press "$key"
        expect_slot "$H" "$slot" "$layout: key $key"
        slot=$((slot + 1))
    done
}

# The pad's keys must leave slot $1 chosen; checked after all of them.
numeric_pad_chooses_nothing() {
    local layout=$1 key
    for key in KP_1 KP_2 KP_3 KP_4 KP_5 KP_6 KP_7 KP_8 KP_9; do press "$key"; done
    sleep 0.5
    [ "$(selected_slot "$H")" = "$2" ] || e2e_fail "$layout: the numeric pad chose slot $(selected_slot "$H")"
}

e2e_start_app
dialog=$(e2e_wait_dialog)
choose "$dialog" 1 creative
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_crosshair "$CY"
expect_slot "$H" 0 "start"

e2e_log "US layout: 1 ... 8"
use_layout us
top_row us 1 2 3 4 5 6 7 8
numeric_pad_chooses_nothing us 7

e2e_log "German layout: 1 ... 8, and with Shift ! \" § ..."
use_layout de
top_row de 1 2 3 4 5 6 7 8
press 3
expect_slot "$H" 2 "de: key 3"
xdotool keydown Shift_L
press exclam
expect_slot "$H" 0 "de: Shift+1"
xdotool keyup Shift_L
press 6
expect_slot "$H" 5 "de: key 6"
numeric_pad_chooses_nothing de 5

e2e_log "French layout: & é \" ' ( - è _"
use_layout fr
top_row fr ampersand eacute quotedbl apostrophe parenleft minus egrave underscore
e2e_screenshot french-eighth-block >/dev/null
numeric_pad_chooses_nothing fr 7
press parenleft
expect_slot "$H" 4 "fr: key ("
e2e_screenshot french-fifth-block >/dev/null
e2e_log "French layout: W walks, by its label"
expect_walking "w" 0 $((CY + 20)) "$W" $((H - CY - 100)) "fr: W"

setxkbmap -display "$DISPLAY" us
close_game "$game"
e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
