#!/bin/bash
# A wrong code is refused: the guest is told "Der Code ist falsch." and the
# host goes on waiting with the same code. The right code then joins, the
# address remembered from the first try. The host closes its game window;
# the guest is told and both are back at their start dialogs.
source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/play.sh"
source "$(dirname "$0")/net.sh"
PASSED=0

e2e_log "host: a search game, waiting"
e2e_side host
play_screen
e2e_start_app
dialog=$(e2e_wait_dialog)
port=$(net_free_port)
waiting=$(net_open_host "$dialog" "$port")
code=$(net_read_code "$waiting")
wrong=$((code == 999999 ? 100000 : code + 1))
e2e_log "the code is $code, on port $port; the guest tries $wrong"

e2e_side guest
e2e_start_app
dialog=$(e2e_wait_dialog)
net_join "$dialog" "127.0.0.1:$port" "$wrong"
box=$(net_expect_box Fehler "Der Code ist falsch." guest-wrong-code)
! "$QW_TEXT" "$box" "$UI_FONT" "Der Gastgeber ist nicht erreichbar." 2>/dev/null ||
    e2e_fail "the box's text reads as another message too"
e2e_keys "$box" Return
e2e_wait_window_gone Fehler
[ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ] || e2e_fail "a game window opened for a wrong code"
PASSED=$((PASSED + 1))

e2e_log "the host still waits, with the same code"
e2e_side host
[ "$(e2e_count_windows "$HOST_TITLE")" -eq 1 ] || e2e_fail "the host's waiting dialog went away"
[ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ] || e2e_fail "a game window opened on the host"
[ "$(net_read_code "$waiting")" = "$code" ] || e2e_fail "the code changed after a wrong one"
net_listening "$port" || e2e_fail "the host stopped listening"
e2e_screenshot host-still-waiting >/dev/null
PASSED=$((PASSED + 1))

e2e_log "the right code joins; the address is remembered"
e2e_side guest
net_join "$dialog" "127.0.0.1:$port" "$code" remembered
wait_game_window >/dev/null
wait_crosshair "$CY"
e2e_screenshot guest-joined >/dev/null
e2e_side host
host_game=$(net_host_game_started host-joined)
PASSED=$((PASSED + 1))

# The menu acts for both. One player opens it and closes it again with
# "Weiter spielen" while the other has moved the mouse: the other's view must
# not turn by where its pointer was left.
VIEW_H=$((H - 70))
menu_from_other_side() {
    local clicker=$1 other=$2 allowed=$((W * VIEW_H / 6)) differing game
    e2e_side "$other"
    # As a window manager would, the game window gets the keyboard: the
    # game turns only with the focus, and no window manager runs here.
    game=$(wait_game_window)
    xdotool windowfocus --sync "$game" 2>/dev/null || xdotool windowfocus "$game"
    xdotool mousemove "$CX" "$CY"
    wait_still "$other-before-menu" 0 0 "$W" "$VIEW_H"
    e2e_side "$clicker"
    xdotool mousemove "$CX" "$CY"
    open_menu "$clicker-menu"
    e2e_side "$other"
    wait_pixel $((CX - 250)) $((CY + 60)) "$GREY" "the menu on the $other"
    xdotool mousemove $((CX + 200)) $((CY + 150))
    e2e_side "$clicker"
    click_menu_right   # "Weiter spielen"
    wait_menu_gone
    e2e_side "$other"
    wait_menu_gone
    wait_still "$other-after-menu" 0 0 "$W" "$VIEW_H"
    # compare tells of a difference by its exit status too.
    differing=$(differing_pixels "$E2E_ARTIFACTS/$other-before-menu.png" "$E2E_ARTIFACTS/$other-after-menu.png" || true)
    [ "$differing" -lt "$allowed" ] || e2e_fail "the $other's view turned when the $clicker closed the menu ($differing pixels changed)"
}
e2e_log "the guest opens and closes the menu; the host's view stays"
menu_from_other_side guest host
e2e_log "the host opens and closes the menu; the guest's view stays"
menu_from_other_side host guest
PASSED=$((PASSED + 1))

e2e_log "the host closes its game window: the guest is told, both are back at their dialogs"
e2e_side host
e2e_request_close "$host_game"
waited=0
until [ "$(e2e_count_windows "$DIALOG_TITLE")" -eq 1 ]; do
    sleep 0.2
    waited=$((waited + 1))
    [ "$waited" -le $((E2E_TIMEOUT * 5)) ] || e2e_fail "the host's game window did not close"
done
e2e_expect_no_window Quaderwelt
e2e_side guest
box=$(net_expect_box Quaderwelt "Dein Mitspieler hat das Spiel beendet." guest-told)
net_answer_box_to_dialog "$box" Quaderwelt
net_exit_from_dialog
e2e_side host
net_exit_from_dialog
PASSED=$((PASSED + 1))

echo "network, wrong code: $PASSED passed, 0 failed"
