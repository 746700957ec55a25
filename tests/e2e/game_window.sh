#!/bin/bash
# Launching games from the start dialog: the game window covers the screen,
# shows the world with its overlay, and closing it returns to the dialog, as often as
# the player likes.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
e2e_setup
mkdir -p "$DATA_DIR"
head -c 300 /dev/urandom >"$DATA_DIR/Klein.lev"   # a short world is read as far as it goes
e2e_start_app
dialog=$(e2e_wait_dialog)
play_screen
WHITE="255,255,255"
RED="255,0,0"

# Waits until the play overlay is on the screen: the white crosshair at the
# centre and the red frame of the selected material at the bottom. In search
# mode the weapon (the last of nine slots) is selected; in creative mode the
# first of eight. Both sit at fixed device pixels, so a wrong viewport or a
# picture that does not fill the window fails here.
wait_play_overlay() {
    local mode=${1:-search} x y waited=0
    if [ "$mode" = creative ]; then
        x=$(( (W - 480) / 2 - 6 ))
    else
        x=$(( (W - 540) / 2 + 474 ))
    fi
    y=$((H - 30))
    for point in "$((W / 2 + 5)) $((H / 2)) $WHITE" "$x $y $RED"; do
        # shellcheck disable=SC2086
        set -- $point
        while [ "$(e2e_pixel "$1" "$2")" != "$3" ]; do
            sleep 0.5
            waited=$((waited + 1))
            [ "$waited" -le $((E2E_TIMEOUT * 2)) ] || e2e_fail "no overlay at $1,$2: $(e2e_pixel "$1" "$2")"
        done
    done
}

e2e_log "Neue Welt spielen: full screen, the world with its overlay"
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_play_overlay
e2e_screenshot game-window >/dev/null
close_game "$game"

e2e_log "back in the dialog, which answers again"
e2e_press_rename "$dialog"
rename=$(e2e_wait_window "Welt umbenennen")
e2e_request_close "$rename"
e2e_wait_window_gone "Welt umbenennen"

e2e_log "the selected world plays by button and by double click, and again a new one"
e2e_press_play_selected "$dialog"
game=$(wait_game_window)
wait_play_overlay
close_game "$game"
e2e_double_click_first_world "$dialog"
game=$(wait_game_window)
wait_play_overlay
close_game "$game"
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_play_overlay
close_game "$game"

e2e_log "closing a creative game saves its new world"
e2e_dialog_click "$dialog" 40 88   # Kreativmodus
e2e_press_play_new "$dialog"
game=$(wait_game_window)
wait_play_overlay creative
close_game "$game"
[ -s "$DATA_DIR/Neue Welt.lev" ] || e2e_fail "the creative world was not saved on close"

e2e_press_exit "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
