#!/bin/bash
# The start dialog as a player first sees it: its caption and size, the
# information dialog, and what the world buttons say when there is no world.
source "$(dirname "$0")/lib.sh"
e2e_setup
e2e_start_app

dialog=$(e2e_wait_dialog)
read -r _ _ width height <<<"$(e2e_geometry "$dialog")"
[ "$width" -ge 420 ] && [ "$height" -gt "$DIALOG_CLIENT_HEIGHT" ] || e2e_fail "dialog is ${width}x${height}"
[ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ] || e2e_fail "the game window showed at start"
e2e_screenshot start-dialog >/dev/null

e2e_log "without any world the three world buttons say so, and nothing else happens"
for press in e2e_press_play_selected e2e_press_delete e2e_press_rename; do
    "$press" "$dialog"
    e2e_answer_box Fehler Return
    e2e_expect_box_text Fehler "Es ist keine Welt ausgewählt!"
    [ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ] || e2e_fail "$press opened the game window"
    [ "$(e2e_count_windows "Welt umbenennen")" -eq 0 ] || e2e_fail "$press opened the rename dialog"
done

e2e_log "the menu item Über opens the information dialog"
e2e_click "$dialog" 20 10
xdotool key Down Return
about=$(e2e_wait_window "Über Quaderwelt")
e2e_screenshot about-box >/dev/null
e2e_keys "$about" Return
e2e_wait_window_gone "Über Quaderwelt"

e2e_log "closing the dialog ends the program"
e2e_request_close "$dialog"
e2e_wait_app_exit
[ "$APP_STATUS" -eq 0 ] || e2e_fail "exit status $APP_STATUS"
